import QtQuick
import "../common"

// What the macro editor shows: its lists, options, buttons, the event menu and its two questions.
Item {
    id: view

    property Item editor

    component CheckLine: Row {
        id: check
        property bool checked: false
        property alias text: label.text
        signal toggled()
        spacing: 6
        Rectangle {
            width: 14
            height: 14
            color: Theme.fieldColor
            border.color: Theme.menuBorder
            Rectangle {
                anchors.centerIn: parent
                width: 8
                height: 8
                color: Theme.accent
                visible: check.checked
            }
            MouseArea {
                anchors.fill: parent
                anchors.margins: -4
                onClicked: check.toggled()
            }
        }
        Text {
            id: label
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontNormalSize
            color: Theme.fontColor
        }
    }

    component Heading: Text {
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormalSize
        font.bold: true
        color: Theme.accent
    }

    DialogTitleBar {
        text: view.editor.lang(0)
        dragged: view.editor
        dragName: "macroEditorTitle"
        closeName: "macroEditorClose"
        onPressed: view.editor.macroEditorFocus()
        onCloseClicked: view.editor.closeEditor()
    }

    Heading { x: 16; y: 40; text: view.editor.lang(1) }
    MacroList {
        x: 16
        y: 62
        editor: view.editor
    }
    Row {
        x: 16
        y: 360
        spacing: 4
        DialogButton {
            objectName: "macroNew"
            text: view.editor.lang(8)
            onClicked: view.editor.newMacro()
        }
        DialogButton {
            objectName: "macroDelete"
            text: view.editor.lang(9)
            onClicked: view.editor.deleteMacro()
        }
    }

    Heading { x: 212; y: 40; text: view.editor.lang(2) }
    MacroEventList {
        x: 212
        y: 62
        editor: view.editor
    }

    Heading { x: 458; y: 40; text: view.editor.lang(3) }
    Column {
        x: 458
        y: 66
        spacing: 14
        DialogButton {
            objectName: "macroRecord"
            width: 166
            text: view.editor.isInputting ? view.editor.lang(5) : view.editor.lang(4)
            border.color: view.editor.isInputting ? "#ff3030" : Theme.dialogBorder
            onClicked: view.editor.toggleRecord()
        }
        CheckLine {
            objectName: "recTimeCheck"
            text: view.editor.lang(6)
            checked: view.editor.recTimeChecked
            onToggled: view.editor.recTimeChecked = !view.editor.recTimeChecked
        }
        CheckLine {
            objectName: "loopsCheck"
            text: view.editor.lang(7)
            checked: view.editor.loopsChecked
            onToggled: view.editor.loopsChecked = !view.editor.loopsChecked
        }
        Rectangle {
            width: 80
            height: 24
            color: view.editor.loopsChecked ? Theme.fieldColor : "#2a2a2a"
            border.color: Theme.menuBorder
            TextInput {
                objectName: "loopField"
                anchors.fill: parent
                anchors.margins: 4
                text: view.editor.loopText
                enabled: view.editor.loopsChecked && !view.editor.isInputting
                validator: IntValidator { bottom: 0; top: 65535 }
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontNormalSize
                color: enabled ? Theme.fontColor : "#909090"
                onTextChanged: view.editor.loopText = text
                onActiveFocusChanged: {
                    if (activeFocus)
                        return
                    if (text === "")
                        view.editor.loopText = "1"
                    view.editor.autoSave()
                }
                onAccepted: view.editor.forceActiveFocus()
            }
        }
        Text {
            objectName: "recordState"
            visible: view.editor.isInputting
            text: "● REC  " + view.editor.eventModel.count
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontNormalSize
            color: "#ff3030"
        }
    }

    Text {
        objectName: "macroMessage"
        x: 458
        y: 250
        width: 166
        wrapMode: Text.Wrap
        text: view.editor.message
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontMinSize + 1
        color: "#ff7070"
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 16
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 14
        spacing: 12
        DialogButton {
            objectName: "macroEditorOk"
            text: view.editor.lang(10)
            onClicked: view.editor.closeEditor()
        }
        DialogButton {
            objectName: "macroEditorCancel"
            text: view.editor.lang(11)
            onClicked: view.editor.closeEditor()
        }
    }

    TextMenu {
        objectName: "eventMenu"
        x: view.editor.eventMenuAt.x
        y: view.editor.eventMenuAt.y
        width: 160
        z: 5
        visible: view.editor.eventMenuOpen
        rows: view.editor.menuTexts
        rowName: "eventMenu"
        textX: 8
        onPicked: (index) => view.editor.eventCommand(index)
    }

    MacroQuestion {
        objectName: "insertKeyDialog"
        height: 140
        visible: view.editor.insertKeyOpen
        title: view.editor.lang(17)
        buttonsY: 96
        okName: "insertKeyOk"
        okText: view.editor.lang(10)
        cancelName: "insertKeyCancel"
        cancelText: view.editor.lang(11)
        onAccepted: view.editor.insertKeys()
        onRejected: {
            view.editor.insertKeyOpen = false
            view.editor.isInsertting = false
        }
        Rectangle {
            x: 20
            y: 44
            width: parent.width - 40
            height: 26
            color: Theme.fieldColor
            border.color: Theme.menuBorder
            Text {
                objectName: "insertKeyName"
                anchors.centerIn: parent
                text: view.editor.insertKeyName
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontNormalSize
                font.bold: true
                color: Theme.accent
            }
        }
    }

    MacroQuestion {
        objectName: "cancelQuestion"
        height: 120
        visible: view.editor.cancelQuestionOpen
        title: view.editor.lang(11)
        okName: "cancelRecordOk"
        okText: view.editor.lang(10)
        cancelName: "cancelRecordCancel"
        cancelText: view.editor.lang(11)
        onAccepted: view.editor.dropRecording()
        onRejected: view.editor.cancelQuestionOpen = false
        Text {
            x: 20
            y: 44
            text: view.editor.lang(18)
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontNormalSize
            color: Theme.fontColor
        }
    }
}
