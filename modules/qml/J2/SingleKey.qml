import QtQuick
import "../common"

// Dialog that takes one keyboard key for the selected button from the global keyboard hook.
// What it shows is made the first time it opens.
Rectangle {
    id: singleKey

    property string keyName: ""
    // Collaborators and texts, set by the page.
    property Item keyMatrix
    property Item mouseView
    property QtObject keyNames
    property var texts: []

    signal closeSure()

    width: 300
    height: 150
    visible: false
    color: Theme.dialogColor
    border.color: Theme.dialogBorder

    // Each opening starts without a key.
    onVisibleChanged: if (visible) keyName = ""

    function text(index) {
        return texts[index] ?? ""
    }

    // Press and release alike: the dialog shows the last key the hook saw.
    function detectKeyboard(isDown, usbCode) {
        keyName = keyNames.keycodeTostr(usbCode)
    }

    function accept() {
        if (keyName !== "" && keyMatrix.modifyData(mouseView.selectKey, 1, 0, keyNames.strTokeycode(keyName), 0))
            keyMatrix.refreashUI()
        closeSure()
    }

    MouseArea {
        anchors.fill: parent
    }

    FirstUseLoader {
        shown: singleKey.visible
        sourceComponent: Item {
            DialogTitleBar {
                text: singleKey.text(7)
                closeName: "singleKeyClose"
                onCloseClicked: singleKey.closeSure()
            }

            Text {
                x: 20
                y: 42
                text: singleKey.text(8)
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontNormalSize
                color: Theme.fontColor
            }

            Rectangle {
                x: 20
                y: 66
                width: parent.width - 40
                height: 26
                color: Theme.fieldColor
                border.color: Theme.menuBorder
                Text {
                    objectName: "singleKeyName"
                    anchors.centerIn: parent
                    text: singleKey.keyName
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontNormalSize
                    font.bold: true
                    color: Theme.accent
                }
            }

            Row {
                anchors.right: parent.right
                anchors.rightMargin: 20
                y: 108
                spacing: 12
                DialogButton {
                    objectName: "singleKeyOk"
                    text: singleKey.text(5)
                    onClicked: singleKey.accept()
                }
                DialogButton {
                    objectName: "singleKeyCancel"
                    text: singleKey.text(6)
                    onClicked: singleKey.closeSure()
                }
            }
        }
    }
}
