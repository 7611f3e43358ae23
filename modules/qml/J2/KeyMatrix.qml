import QtQuick
import "../common"

// Button-assignment panel: one row per mouse button.
Frame {
    id: keyMatrix

    property var keyMatrixLang: ["Macro: ", "Deactivated", "Keyboard Key-", "Button Assignment",
                                 "Button ", "Fire Key", "", "", "", ""]
    property int keyCount: 9

    signal clickKeyMatrix(int index)
    signal enterBtn(int index)
    signal leaveBtn(int index)

    title: keyMatrixLang[3] ?? ""
    bodyHeight: 141

    // Where the function menu opens for row `index`.
    function getx(index) {
        return 249
    }
    function gety(index) {
        return index >= 0 && index < 8 ? 131 + 21 * index : 299
    }

    // Reading, editing and sending the key matrix come with the key pages.
    function init(isSendData) {}
    function modifyData(index, tmp0, tmp1, tmp2, tmp3) {}
    function refreashUI() {}
    function deleteMacroProc(macroName) {}

    Column {
        x: 6
        y: 4
        spacing: 1
        Repeater {
            model: keyMatrix.keyCount
            Rectangle {
                required property int index
                width: 230
                height: 14.5
                color: rowArea.containsMouse ? "#40c01818" : "transparent"
                Text {
                    x: 4
                    anchors.verticalCenter: parent.verticalCenter
                    text: (keyMatrix.keyMatrixLang[4] ?? "") + (parent.index + 1)
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontMinSize
                    color: "#b0b0b0"
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onEntered: keyMatrix.enterBtn(parent.index)
                    onExited: keyMatrix.leaveBtn(parent.index)
                    onClicked: {
                        keyMatrix.clickFrame()
                        keyMatrix.clickKeyMatrix(parent.index)
                    }
                }
            }
        }
    }
}
