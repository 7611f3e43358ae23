import QtQuick

// Recoil editor dialog.
Rectangle {
    id: gunControl

    property var gunControlLang: ["Gun Manager", "Name", "Auxiliary Setting", "Trigger Key",
                                  "Interval Times(MS)", "Deviation", "Run Times", "Unlimited",
                                  "New", "Delete", "OK", "Cancel", "", "", ""]

    width: 560
    height: 380
    visible: false
    color: "#1e1e1e"
    border.color: "#4e3434"

    function init() {}
    function gunControlFocus() {}

    MouseArea {
        anchors.fill: parent
    }
}
