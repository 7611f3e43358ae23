import QtQuick
import "../common"
import "gunfields.js" as GunFields

// The recoil editor's fields of the selected entry; a field's edit goes to the entry when it is left.
Rectangle {
    id: fieldBox

    property Item dialog

    component Caption: Text {
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormalSize
        color: Theme.fontColor
    }

    // Ticked and disabled: these parts of an entry are always in use.
    component FixedCheck: Row {
        property alias text: label.text
        spacing: 6
        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: 12
            height: 12
            color: "#2a2a2a"
            border.color: "#707070"
            Rectangle {
                anchors.centerIn: parent
                width: 6
                height: 6
                color: "#a05050"
            }
        }
        Caption {
            id: label
            color: "#b0b0b0"
        }
    }

    component Option: Item {
        id: option
        property alias text: label.text
        property bool checked: false
        signal chosen()
        width: optionRow.width
        height: optionRow.height
        Row {
            id: optionRow
            spacing: 6
            Rectangle {
                anchors.verticalCenter: parent.verticalCenter
                width: 12
                height: 12
                radius: 6
                color: Theme.fieldColor
                border.color: Theme.menuBorder
                Rectangle {
                    anchors.centerIn: parent
                    width: 6
                    height: 6
                    radius: 3
                    color: Theme.accent
                    visible: option.checked
                }
            }
            Caption { id: label }
        }
        MouseArea {
            anchors.fill: parent
            onClicked: option.chosen()
        }
    }

    component NumberField: Rectangle {
        id: box
        // The value shown, set again when an edit ends (the dialog may have cleaned it).
        property string value
        property alias text: input.text
        property alias validator: input.validator
        property bool editable: true
        signal edited(string text)
        onValueChanged: input.text = value
        Component.onCompleted: input.text = value
        width: 60
        height: 22
        color: editable ? Theme.fieldColor : "#2a2a2a"
        border.color: input.activeFocus ? Theme.accent : "#646464"
        TextInput {
            id: input
            anchors.fill: parent
            anchors.leftMargin: 6
            anchors.rightMargin: 6
            verticalAlignment: TextInput.AlignVCenter
            readOnly: !box.editable
            activeFocusOnPress: box.editable
            selectByMouse: true
            clip: true
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontNormalSize
            color: box.editable ? Theme.fontColor : "#b0b0b0"
            onActiveFocusChanged: {
                if (activeFocus)
                    return
                box.edited(text)
                text = box.value
            }
            Keys.onReturnPressed: box.forceActiveFocus()
            Keys.onEnterPressed: box.forceActiveFocus()
        }
    }

    width: 300
    height: 232
    color: "transparent"
    border.color: Theme.dialogBorder
    enabled: fieldBox.dialog.hasEntry
    opacity: enabled ? 1 : 0.5

    readonly property int labelX: 14
    readonly property int fieldX: 160

    FixedCheck {
        x: fieldBox.labelX
        y: 20
        text: fieldBox.dialog.checkTexts[0]
    }
    NumberField {
        objectName: "gunKeyField"
        value: fieldBox.dialog.fields.gunKey
        x: fieldBox.fieldX
        y: 16
        width: 120
        editable: false
    }

    FixedCheck {
        x: fieldBox.labelX
        y: 60
        text: fieldBox.dialog.checkTexts[1]
    }
    NumberField {
        value: fieldBox.dialog.fields.gunPeriod
        objectName: "gunPeriodField"
        x: fieldBox.fieldX
        y: 56
        validator: RegularExpressionValidator { regularExpression: /[0-9]{0,3}/ }
        onEdited: (text) => fieldBox.dialog.commitField("gunPeriod", text, GunFields.cleanPeriod)
    }

    FixedCheck {
        x: fieldBox.labelX
        y: 100
        text: fieldBox.dialog.checkTexts[2]
    }
    Row {
        x: fieldBox.labelX + 18
        y: 126
        spacing: 8
        Caption { anchors.verticalCenter: parent.verticalCenter; text: "X" }
        NumberField {
            value: fieldBox.dialog.fields.gunX
            objectName: "gunXField"
            validator: RegularExpressionValidator { regularExpression: /-?[0-9]{0,3}/ }
            onEdited: (text) => fieldBox.dialog.commitField("gunX", text, GunFields.cleanDeviation)
        }
        Item { width: 20; height: 1 }
        Caption { anchors.verticalCenter: parent.verticalCenter; text: "Y" }
        NumberField {
            value: fieldBox.dialog.fields.gunY
            objectName: "gunYField"
            validator: RegularExpressionValidator { regularExpression: /-?[0-9]{0,3}/ }
            onEdited: (text) => fieldBox.dialog.commitField("gunY", text, GunFields.cleanDeviation)
        }
    }

    Option {
        objectName: "gunRunTimesOption"
        x: fieldBox.labelX
        y: 170
        text: fieldBox.dialog.checkTexts[3]
        checked: fieldBox.dialog.hasEntry && fieldBox.dialog.limitedRuns
        onChosen: fieldBox.dialog.setUnlimited(false)
    }
    NumberField {
        value: fieldBox.dialog.fields.gunTimes
        objectName: "gunTimesField"
        x: fieldBox.fieldX
        y: 166
        editable: fieldBox.dialog.limitedRuns
        validator: RegularExpressionValidator { regularExpression: /[0-9]{0,3}/ }
        onEdited: (text) => {
            fieldBox.dialog.commitField("gunTimes", text, GunFields.cleanTimes)
            fieldBox.dialog.limitedRuns = fieldBox.dialog.fields.gunTimes !== "0"
        }
    }
    Option {
        objectName: "gunUnlimitedOption"
        x: fieldBox.labelX
        y: 200
        text: fieldBox.dialog.checkTexts[4]
        checked: fieldBox.dialog.hasEntry && !fieldBox.dialog.limitedRuns
        onChosen: fieldBox.dialog.setUnlimited(true)
    }
}
