import QtQuick
import "../common"

// Picks the macro and its play mode for the selected button; what it shows is made the
// first time it opens.
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
    property bool dropDownOpen: false
    // Collaborators, set by the page.
    property Item keyMatrix
    property Item mouseView
    property Item macroEditor

    signal closeSure()

    width: 340
    height: 260
    visible: false
    color: Theme.dialogColor
    border.color: Theme.dialogBorder

    function lang(i) { return macroKeyLang[i] ?? "" }

    function showUI() {
        macroName = ""
        nullMacro = false
        tooLong = false
        dropDownOpen = false
        visible = true
    }

    function macroKeyFocus() {
        dropDownOpen = false
    }

    function choose(name) {
        dropDownOpen = false
        macroName = name
        nullMacro = ui_View.loadMacroIni(name).length < 2
        tooLong = false
    }

    function accept() {
        if (nullMacro)
            return
        var button = mouseView.selectKey
        if (macroName !== "" && button >= 0) {
            // The button points at its slot only once the slot holds the macro.
            if (!macroEditor.sendMacro(button, macroName)) {
                tooLong = true
                return
            }
            ui_View.setMacroKey(button, macroName)
            if (keyMatrix.modifyData(button, 0x0A, 0, mode + 1, button))
                keyMatrix.refreashUI()
        }
        closeSure()
    }

    MouseArea {
        anchors.fill: parent
        onPressed: macroKey.dropDownOpen = false
    }

    FirstUseLoader {
        shown: macroKey.visible
        sourceComponent: Item {
            DialogTitleBar {
                text: macroKey.lang(0)
                closeName: "macroKeyClose"
                onCloseClicked: macroKey.closeSure()
            }

            Text {
                x: 20
                y: 44
                text: macroKey.lang(1)
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontNormalSize
                color: Theme.fontColor
            }

            Rectangle {
                id: nameField
                objectName: "macroKeyName"
                x: 120
                y: 40
                width: 200
                height: 22
                color: Theme.fieldColor
                border.color: Theme.menuBorder
                Text {
                    x: 6
                    anchors.verticalCenter: parent.verticalCenter
                    text: macroKey.macroName
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontNormalSize
                    color: Theme.accent
                }
                Text {
                    anchors.right: parent.right
                    anchors.rightMargin: 6
                    anchors.verticalCenter: parent.verticalCenter
                    text: "▼"
                    font.pixelSize: Theme.fontMinSize
                    color: Theme.fontColor
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: macroKey.dropDownOpen = !macroKey.dropDownOpen
                }
            }

            Text {
                objectName: "nullMacroWarning"
                x: 120
                y: 66
                visible: macroKey.nullMacro
                text: macroKey.lang(9)
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontNormalSize
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
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontMinSize
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
                            color: Theme.fieldColor
                            border.color: Theme.menuBorder
                            Rectangle {
                                anchors.centerIn: parent
                                width: 8
                                height: 8
                                radius: 4
                                color: Theme.accent
                                visible: macroKey.mode === modelData.mode
                            }
                        }
                        Text {
                            text: macroKey.lang(modelData.text)
                            font.family: Theme.fontFamily
                            font.pixelSize: Theme.fontMinSize + 1
                            color: Theme.fontColor
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
                DialogButton {
                    objectName: "macroKeyOk"
                    text: macroKey.lang(5)
                    enabledLook: !macroKey.nullMacro
                    onClicked: macroKey.accept()
                }
                DialogButton {
                    objectName: "macroKeyCancel"
                    text: macroKey.lang(6)
                    onClicked: macroKey.closeSure()
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
                visible: macroKey.dropDownOpen
                z: 3
                color: "#2a1616"
                border.color: Theme.menuBorder
                ListView {
                    id: dropList
                    anchors.fill: parent
                    anchors.margins: 1
                    clip: true
                    boundsBehavior: Flickable.StopAtBounds
                    model: macroKey.macroEditor.macroListModel
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
                            font.family: Theme.fontFamily
                            font.pixelSize: Theme.fontMinSize + 1
                            color: Theme.fontColor
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
    }
}
