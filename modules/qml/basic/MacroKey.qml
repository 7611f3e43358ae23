import QtQuick

// Picks the macro and its play mode for the selected button.
Rectangle {
    id: macroKey

    property var macroKeyLang: ["Macro Key", "Select Macro", "Macro runs once after \npressing button",
                                "Macro loops until any \nbutton is pressed",
                                "Macro loops until button \nis released", "OK", "Cancel", "Key",
                                "Please assign a Key", "Null Macro",
                                "Macro too long for the mouse (over 192 bytes); the button keeps its function"]
    property string macroName: ""
    property bool nullMacro: false
    // The mouse could not take the chosen macro, so the button was left as it was.
    property bool tooLong: false
    // 0 runs once, 1 loops until the button is released, 2 loops until any button is pressed.
    property int mode: 0

    signal closeSure()

    width: 340
    height: 260
    visible: false
    color: "#1e1e1e"
    border.color: "#4e3434"

    function lang(i) { return macroKeyLang[i] ?? "" }

    function showUI() {
        macroName = ""
        nullMacro = false
        tooLong = false
        dropDown.visible = false
        visible = true
    }

    function macroKeyFocus() {
        dropDown.visible = false
    }

    function choose(name) {
        dropDown.visible = false
        macroName = name
        nullMacro = ui_View.loadMacroIni(name).length < 2
        tooLong = false
    }

    function accept() {
        if (nullMacro)
            return
        var button = mouseMain.selectKey
        if (macroName !== "" && button >= 0) {
            // The button points at its slot only once the slot holds the macro.
            if (!macroEditorMain.sendMacro(button, macroName)) {
                tooLong = true
                return
            }
            ui_View.setMacroKey(button, macroName)
            if (keyMatrixMain.modifyData(button, 0x0A, 0, mode + 1, button))
                keyMatrixMain.refreashUI()
        }
        closeSure()
    }

    MouseArea {
        anchors.fill: parent
        onPressed: dropDown.visible = false
    }

    Rectangle {
        width: parent.width
        height: 30
        color: "#2a1616"
        Text {
            x: 12
            anchors.verticalCenter: parent.verticalCenter
            text: macroKey.lang(0)
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            font.bold: true
            color: mainIten.fontColor
        }
        Text {
            objectName: "macroKeyClose"
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
                onClicked: macroKey.closeSure()
            }
        }
    }

    Text {
        x: 20
        y: 44
        text: macroKey.lang(1)
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
        color: mainIten.fontColor
    }

    Rectangle {
        id: nameField
        objectName: "macroKeyName"
        x: 120
        y: 40
        width: 200
        height: 22
        color: "#101010"
        border.color: "#8f2020"
        Text {
            x: 6
            anchors.verticalCenter: parent.verticalCenter
            text: macroKey.macroName
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            color: "#fa6726"
        }
        Text {
            anchors.right: parent.right
            anchors.rightMargin: 6
            anchors.verticalCenter: parent.verticalCenter
            text: "▼"
            font.pixelSize: mainIten.fontMinSize
            color: mainIten.fontColor
        }
        MouseArea {
            anchors.fill: parent
            onClicked: dropDown.visible = !dropDown.visible
        }
    }

    Text {
        objectName: "nullMacroWarning"
        x: 120
        y: 66
        visible: macroKey.nullMacro
        text: macroKey.lang(9)
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
        color: "#ff3030"
    }

    Text {
        objectName: "macroTooLong"
        x: 20
        width: parent.width - 40
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 44
        wrapMode: Text.Wrap
        visible: macroKey.tooLong
        text: macroKey.lang(10)
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize
        color: "#ff3030"
    }

    Column {
        x: 20
        y: 88
        spacing: 6
        Repeater {
            // Shown in the order once, until released, until any button: texts 2, 4, 3.
            model: [{ mode: 0, text: 2 }, { mode: 1, text: 4 }, { mode: 2, text: 3 }]
            Row {
                required property var modelData
                objectName: "macroMode" + modelData.mode
                spacing: 8
                Rectangle {
                    width: 14
                    height: 14
                    radius: 7
                    anchors.verticalCenter: parent.verticalCenter
                    color: "#101010"
                    border.color: "#8f2020"
                    Rectangle {
                        anchors.centerIn: parent
                        width: 8
                        height: 8
                        radius: 4
                        color: "#fa6726"
                        visible: macroKey.mode === modelData.mode
                    }
                }
                Text {
                    text: macroKey.lang(modelData.text)
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontMinSize + 1
                    color: mainIten.fontColor
                    MouseArea {
                        anchors.fill: parent
                        anchors.leftMargin: -22
                        onClicked: macroKey.mode = modelData.mode
                    }
                }
            }
        }
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 20
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 14
        spacing: 12
        Repeater {
            model: [5, 6]
            Rectangle {
                required property int modelData
                objectName: modelData === 5 ? "macroKeyOk" : "macroKeyCancel"
                width: 88
                height: 25
                border.color: "#4e3434"
                color: buttonArea.containsMouse ? "#761212" : "#4f1717"
                opacity: modelData === 5 && macroKey.nullMacro ? 0.5 : 1
                Text {
                    anchors.centerIn: parent
                    text: macroKey.lang(parent.modelData)
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontNormalSize
                    color: mainIten.fontColor
                }
                MouseArea {
                    id: buttonArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: parent.modelData === 5 ? macroKey.accept() : macroKey.closeSure()
                }
            }
        }
    }

    // The editor's macros, 18-pixel rows, with a scroll bar past 128 pixels.
    Rectangle {
        id: dropDown
        objectName: "macroDropDown"
        x: nameField.x
        y: nameField.y + nameField.height
        width: nameField.width
        height: Math.min(128, dropList.contentHeight) + 2
        visible: false
        z: 3
        color: "#2a1616"
        border.color: "#8f2020"
        ListView {
            id: dropList
            anchors.fill: parent
            anchors.margins: 1
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            model: macroEditorMain.macroListModel
            delegate: Rectangle {
                required property int index
                required property string macroName
                objectName: "macroChoice" + index
                width: dropList.width - (dropBar.visible ? 8 : 0)
                height: 18
                color: choiceArea.containsMouse ? "#8f2020" : "transparent"
                Text {
                    x: 6
                    anchors.verticalCenter: parent.verticalCenter
                    text: parent.macroName
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontMinSize + 1
                    color: mainIten.fontColor
                }
                MouseArea {
                    id: choiceArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: macroKey.choose(parent.macroName)
                }
            }
        }
        Rectangle {
            id: dropBar
            objectName: "macroDropBar"
            anchors.right: parent.right
            anchors.rightMargin: 1
            y: 1 + dropList.visibleArea.yPosition * (parent.height - 2)
            width: 6
            radius: 3
            height: Math.min(1, dropList.visibleArea.heightRatio) * (parent.height - 2)
            color: "#767676"
            visible: dropList.contentHeight > 128
        }
    }
}
