import QtQuick

// Profile manager.
Rectangle {
    id: profile

    property int profileNo: -1

    signal changeProfile(int tmpProfileNo)
    signal closeUI()
    signal listViewFocus()
    signal doubleClick()

    width: 242
    height: 260
    visible: false
    color: "#1e1e1e"
    border.color: "#4e3434"

    function init() {}
    function profileEditorFocus() {}

    MouseArea {
        anchors.fill: parent
    }
}
