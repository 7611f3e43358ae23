import QtQuick

// Macro editor dialog.
Rectangle {
    id: macroEditor

    property var macroEditorLang: ["Macro Manager", "Macro", "Sequence", "Options", "Start Record",
                                   "Stop Record", "Rec Time", "Loops Timer", "New", "Delete", "OK",
                                   "Cancel", "Delete", "Insert Left Button", "Insert Middle Button",
                                   "Insert Right Button", "Insert Delay", "Insert Keys",
                                   "Cancel the record ?", ""]
    property bool isInputting: false
    property bool isInsertting: false

    signal deleteMacroSignal(string macroName)
    signal listViewFocus()

    width: 600
    height: 420
    visible: false
    color: "#1e1e1e"
    border.color: "#4e3434"

    function init() {}
    function sendMacro(index, macroName) {}
    function macroEditorFocus() {}
    function detectKeyboard(isDown, usbCode) {}
    function detectInput(isDown, usbCode) {}

    MouseArea {
        anchors.fill: parent
    }
}
