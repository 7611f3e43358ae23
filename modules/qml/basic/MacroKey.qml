import QtQuick

// Picks the macro and its play mode for the selected button.
Rectangle {
    id: macroKey

    property var macroKeyLang: ["Macro Key", "Select Macro", "Macro runs once after \npressing button",
                                "Macro loops until any \nbutton is pressed",
                                "Macro loops until button \nis released", "OK", "Cancel", "Key",
                                "Please assign a Key", "Null Macro"]

    signal closeSure()

    width: 320
    height: 240
    visible: false
    color: "#1e1e1e"
    border.color: "#4e3434"

    function showUI() {
        visible = true
    }
    function macroKeyFocus() {}

    MouseArea {
        anchors.fill: parent
    }
}
