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

    // Cancel closes the dialog and the mask.
    Rectangle {
        objectName: "macroEditorCancel"
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 16
        width: 88
        height: 25
        border.color: "#4e3434"
        color: cancelArea.containsMouse ? "#761212" : "#4f1717"
        Text {
            anchors.centerIn: parent
            text: macroEditor.macroEditorLang[11] ?? ""
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            color: mainIten.fontColor
        }
        MouseArea {
            id: cancelArea
            anchors.fill: parent
            hoverEnabled: true
            onClicked: {
                macroEditor.visible = false
                mainMask.visible = false
            }
        }
    }
}
