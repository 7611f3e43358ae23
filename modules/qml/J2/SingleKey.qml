import QtQuick

// Dialog that takes one keyboard key for the selected button from the global keyboard hook.
Rectangle {
    id: singleKey

    property string keyName: ""

    signal closeSure()

    width: 300
    height: 150
    visible: false
    color: "#1e1e1e"
    border.color: "#4e3434"

    // Each opening starts without a key.
    onVisibleChanged: if (visible) keyName = ""

    function text(index) {
        return macroKeyMain.macroKeyLang[index] ?? ""
    }

    // Press and release alike: the dialog shows the last key the hook saw.
    function detectKeyboard(isDown, usbCode) {
        keyName = _KeyCodeString.keycodeTostr(usbCode)
    }

    function accept() {
        if (keyName !== "" && keyMatrixMain.modifyData(mouseMain.selectKey, 1, 0, _KeyCodeString.strTokeycode(keyName), 0))
            keyMatrixMain.refreashUI()
        closeSure()
    }

    MouseArea {
        anchors.fill: parent
    }

    Rectangle {
        width: parent.width
        height: 30
        color: "#2a1616"
        Text {
            x: 12
            anchors.verticalCenter: parent.verticalCenter
            text: singleKey.text(7)
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            font.bold: true
            color: mainIten.fontColor
        }
        Text {
            id: closeGlyph
            objectName: "singleKeyClose"
            anchors.right: parent.right
            anchors.rightMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            text: "✕"
            font.pixelSize: mainIten.fontNormalSize
            color: closeArea.containsMouse ? "#ff3030" : mainIten.fontColor
            MouseArea {
                id: closeArea
                anchors.fill: parent
                anchors.margins: -6
                hoverEnabled: true
                onClicked: singleKey.closeSure()
            }
        }
    }

    Text {
        x: 20
        y: 42
        text: singleKey.text(8)
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
        color: mainIten.fontColor
    }

    Rectangle {
        x: 20
        y: 66
        width: parent.width - 40
        height: 26
        color: "#101010"
        border.color: "#8f2020"
        Text {
            objectName: "singleKeyName"
            anchors.centerIn: parent
            text: singleKey.keyName
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            font.bold: true
            color: "#fa6726"
        }
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 20
        y: 108
        spacing: 12
        Repeater {
            model: [5, 6]
            Rectangle {
                required property int modelData
                objectName: modelData === 5 ? "singleKeyOk" : "singleKeyCancel"
                width: 88
                height: 25
                border.color: "#4e3434"
                color: buttonArea.containsMouse ? "#761212" : "#4f1717"
                Text {
                    anchors.centerIn: parent
                    text: singleKey.text(parent.modelData)
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontNormalSize
                    color: mainIten.fontColor
                }
                MouseArea {
                    id: buttonArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: parent.modelData === 5 ? singleKey.accept() : singleKey.closeSure()
                }
            }
        }
    }
}
