import QtQuick
import "gunfields.js" as GunFields

// Recoil editor dialog: the named entries on the left, the fields of the selected one on the right.
// Field edits go into the list when a field is left; the file gets them on New, rename and OK.
Rectangle {
    id: gunControl

    property var gunControlLang: ["Gun Manager", "Name", "Auxiliary Setting", "Trigger Key",
                                  "Interval Times(MS)", "Deviation", "Run Times", "Unlimited",
                                  "New", "Delete", "OK", "Cancel", "", "", ""]
    property string selectGunName: ""
    property int currentIndex: -1
    readonly property bool hasEntry: currentIndex >= 0 && currentIndex < gunModel.count
    property var checkTexts: ["", "", "", "", ""]
    // "Run Times" chosen: the run count can be typed.
    property bool limitedRuns: false

    signal closeUI()

    width: 520
    height: 350
    visible: false
    color: "#1e1e1e"
    border.color: "#4e3434"

    function lang(index) {
        return gunControlLang[index] ?? ""
    }

    function names() {
        var list = []
        for (var i = 0; i < gunModel.count; ++i)
            list.push(gunModel.get(i).gunName)
        return list
    }

    function storeNames() {
        ui_View.updataNameList(1, names())
    }

    function record(index) {
        var e = gunModel.get(index)
        return [e.gunName, e.gunKey, parseInt(e.gunPeriod, 10), parseInt(e.gunX, 10),
                parseInt(e.gunY, 10), parseInt(e.gunTimes, 10)]
    }

    function init() {
        checkTexts = [lang(3), lang(4), lang(5), lang(6), lang(7)]
        gunModel.clear()
        var list = pageRules.withoutSentinel(ui_View.getNameList(1))
        var fields = ["gunKey", "gunPeriod", "gunX", "gunY", "gunTimes"]
        for (var i = 0; i < list.length; ++i) {
            var name = String(list[i])
            var entry = { gunName: name, gunKey: "L-Click", gunPeriod: "10", gunX: "0", gunY: "0", gunTimes: "0" }
            var stored = ui_View.getGunData(name)
            for (var f = 0; f < fields.length && f < stored.length; ++f)
                entry[fields[f]] = String(stored[f])
            gunModel.append(entry)
        }
        var selected = ui_View.getselectGun(0)
        if (selected !== undefined && selected !== null && String(selected) !== "")
            selectGunName = String(selected)
        var at = names().indexOf(selectGunName)
        select(at >= 0 ? at : (gunModel.count > 0 ? 0 : -1))
    }

    // Ends any field edit or rename, so that the list holds what the fields show.
    function gunControlFocus() {
        gunControl.forceActiveFocus()
    }

    function select(index) {
        gunControlFocus()
        currentIndex = index
        loadFields()
    }

    function loadFields() {
        if (!hasEntry) {
            for (const field of [keyField, periodField, xField, yField, timesField])
                field.text = ""
            limitedRuns = false
            return
        }
        var e = gunModel.get(currentIndex)
        keyField.text = e.gunKey
        periodField.text = e.gunPeriod
        xField.text = e.gunX
        yField.text = e.gunY
        timesField.text = e.gunTimes
        limitedRuns = e.gunTimes !== "0"
    }

    function commitField(field, role, clean) {
        if (!hasEntry)
            return
        field.text = clean(field.text)
        gunModel.setProperty(currentIndex, role, field.text)
    }

    // Choosing "Run Times" always starts again from one run, even when it was chosen already.
    function setUnlimited(unlimited) {
        if (!hasEntry)
            return
        gunControlFocus()
        timesField.text = unlimited ? "0" : "1"
        limitedRuns = !unlimited
        gunModel.setProperty(currentIndex, "gunTimes", timesField.text)
    }

    function newEntry() {
        gunControlFocus()
        var name = GunFields.firstFreeName(names())
        if (name === "")
            return
        var entry = Object.assign({ gunName: name }, GunFields.newEntry)
        gunModel.append(entry)
        // The file starts with no deviation; the page's Y reaches it with OK.
        ui_View.saveGundata([name, entry.gunKey, 10, 0, 0, 0])
        storeNames()
        select(gunModel.count - 1)
        gunList.positionViewAtEnd()
    }

    function rename(index, newName) {
        var oldName = gunModel.get(index).gunName
        if (newName === oldName || !pageRules.isSafeRecoilName(newName) || !GunFields.nameFree(newName, names(), index))
            return
        gunModel.setProperty(index, "gunName", newName)
        ui_View.modifyGundata(1, record(index).concat([oldName]))
        storeNames()
    }

    function deleteEntry() {
        gunControlFocus()
        if (!hasEntry)
            return
        ui_View.modifyGundata(0, [gunModel.get(currentIndex).gunName])
        gunModel.remove(currentIndex)
        storeNames()
        select(Math.min(currentIndex, gunModel.count - 1))
    }

    function accept() {
        gunControlFocus()
        for (var i = 0; i < gunModel.count; ++i)
            ui_View.saveGundata(record(i))
        closeUI()
    }

    function cancel() {
        gunControlFocus()
        closeUI()
    }

    ListModel { id: gunModel }

    // A press on an empty part of the dialog leaves the field being edited.
    MouseArea {
        anchors.fill: parent
        onPressed: gunControl.gunControlFocus()
    }

    component Caption: Text {
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
        color: mainIten.fontColor
    }

    component DialogButton: Rectangle {
        id: button
        property alias text: label.text
        signal clicked()
        width: 88
        height: 25
        border.color: "#4e3434"
        color: area.containsMouse ? "#761212" : "#4f1717"
        opacity: enabled ? 1 : 0.5
        Caption {
            id: label
            anchors.centerIn: parent
        }
        MouseArea {
            id: area
            anchors.fill: parent
            hoverEnabled: true
            onClicked: button.clicked()
        }
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
                color: "#101010"
                border.color: "#8f2020"
                Rectangle {
                    anchors.centerIn: parent
                    width: 6
                    height: 6
                    radius: 3
                    color: "#fa6726"
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
        property alias text: input.text
        property alias input: input
        property alias validator: input.validator
        property bool editable: true
        signal editDone()
        width: 60
        height: 22
        color: editable ? "#101010" : "#2a2a2a"
        border.color: input.activeFocus ? "#fa6726" : "#646464"
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
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            color: box.editable ? mainIten.fontColor : "#b0b0b0"
            onActiveFocusChanged: if (!activeFocus) box.editDone()
            Keys.onReturnPressed: box.forceActiveFocus()
            Keys.onEnterPressed: box.forceActiveFocus()
        }
    }

    // Title bar; dragging it moves the dialog, kept inside the page.
    Rectangle {
        objectName: "gunTitleBar"
        width: parent.width
        height: 30
        color: "#2a1616"
        Caption {
            objectName: "gunTitle"
            x: 12
            anchors.verticalCenter: parent.verticalCenter
            text: gunControl.lang(0)
            font.bold: true
        }
        MouseArea {
            property point pressPoint
            anchors.fill: parent
            onPressed: (mouse) => {
                gunControl.gunControlFocus()
                pressPoint = Qt.point(mouse.x, mouse.y)
            }
            onPositionChanged: (mouse) => {
                var page = gunControl.parent
                gunControl.x = Math.max(0, Math.min(page.width - gunControl.width,
                                                    gunControl.x + mouse.x - pressPoint.x))
                gunControl.y = Math.max(0, Math.min(page.height - gunControl.height,
                                                    gunControl.y + mouse.y - pressPoint.y))
            }
        }
    }

    // The entries.
    Caption {
        x: 16
        y: 42
        text: gunControl.lang(1)
    }
    Rectangle {
        x: 16
        y: 62
        width: 170
        height: 232
        color: "#101010"
        border.color: "#4e3434"

        ListView {
            id: gunList
            objectName: "gunList"
            anchors.fill: parent
            anchors.margins: 1
            clip: true
            model: gunModel
            boundsBehavior: Flickable.StopAtBounds

            delegate: Rectangle {
                id: entry
                required property int index
                required property string gunName
                property bool editing: false
                objectName: "gunEntry" + index
                width: gunList.width
                height: 22
                color: index === gunControl.currentIndex ? "#8f2020"
                                                         : entryArea.containsMouse ? "#3a1a1a" : "transparent"

                function finishRename(apply) {
                    if (!editing)
                        return
                    editing = false
                    if (apply)
                        gunControl.rename(index, nameInput.text)
                }

                Caption {
                    objectName: "gunEntryText" + entry.index
                    x: 8
                    width: parent.width - 16
                    anchors.verticalCenter: parent.verticalCenter
                    elide: Text.ElideRight
                    text: entry.gunName
                    visible: !entry.editing
                }
                MouseArea {
                    id: entryArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: gunControl.select(entry.index)
                    onDoubleClicked: {
                        gunControl.select(entry.index)
                        nameInput.text = entry.gunName
                        entry.editing = true
                        nameInput.forceActiveFocus()
                        nameInput.selectAll()
                    }
                }
                Rectangle {
                    anchors.fill: parent
                    anchors.margins: 1
                    visible: entry.editing
                    color: "#101010"
                    border.color: "#fa6726"
                    TextInput {
                        id: nameInput
                        objectName: "gunRename" + entry.index
                        anchors.fill: parent
                        anchors.leftMargin: 7
                        anchors.rightMargin: 4
                        verticalAlignment: TextInput.AlignVCenter
                        clip: true
                        maximumLength: 64
                        selectByMouse: true
                        font.family: mainIten.fontFamily
                        font.pixelSize: mainIten.fontNormalSize
                        color: mainIten.fontColor
                        onActiveFocusChanged: if (!activeFocus) entry.finishRename(true)
                        Keys.onReturnPressed: gunControl.gunControlFocus()
                        Keys.onEnterPressed: gunControl.gunControlFocus()
                        Keys.onEscapePressed: {
                            entry.finishRename(false)
                            gunControl.gunControlFocus()
                        }
                    }
                }
            }
        }
    }

    Row {
        x: 16
        y: 306
        spacing: 10
        DialogButton {
            objectName: "gunNew"
            width: 80
            text: gunControl.lang(8)
            onClicked: gunControl.newEntry()
        }
        DialogButton {
            objectName: "gunDelete"
            width: 80
            text: gunControl.lang(9)
            enabled: gunControl.hasEntry
            onClicked: gunControl.deleteEntry()
        }
    }

    // The fields of the selected entry.
    Caption {
        x: 204
        y: 42
        text: gunControl.lang(2)
    }
    Rectangle {
        id: fieldBox
        x: 204
        y: 62
        width: 300
        height: 232
        color: "transparent"
        border.color: "#4e3434"
        enabled: gunControl.hasEntry
        opacity: enabled ? 1 : 0.5

        readonly property int labelX: 14
        readonly property int fieldX: 160

        FixedCheck {
            x: fieldBox.labelX
            y: 20
            text: gunControl.checkTexts[0]
        }
        NumberField {
            id: keyField
            objectName: "gunKeyField"
            x: fieldBox.fieldX
            y: 16
            width: 120
            editable: false
        }

        FixedCheck {
            x: fieldBox.labelX
            y: 60
            text: gunControl.checkTexts[1]
        }
        NumberField {
            id: periodField
            objectName: "gunPeriodField"
            x: fieldBox.fieldX
            y: 56
            validator: RegularExpressionValidator { regularExpression: /[0-9]{0,3}/ }
            onEditDone: gunControl.commitField(periodField, "gunPeriod", GunFields.cleanPeriod)
        }

        FixedCheck {
            x: fieldBox.labelX
            y: 100
            text: gunControl.checkTexts[2]
        }
        Row {
            x: fieldBox.labelX + 18
            y: 126
            spacing: 8
            Caption { anchors.verticalCenter: parent.verticalCenter; text: "X" }
            NumberField {
                id: xField
                objectName: "gunXField"
                validator: RegularExpressionValidator { regularExpression: /-?[0-9]{0,3}/ }
                onEditDone: gunControl.commitField(xField, "gunX", GunFields.cleanDeviation)
            }
            Item { width: 20; height: 1 }
            Caption { anchors.verticalCenter: parent.verticalCenter; text: "Y" }
            NumberField {
                id: yField
                objectName: "gunYField"
                validator: RegularExpressionValidator { regularExpression: /-?[0-9]{0,3}/ }
                onEditDone: gunControl.commitField(yField, "gunY", GunFields.cleanDeviation)
            }
        }

        Option {
            objectName: "gunRunTimesOption"
            x: fieldBox.labelX
            y: 170
            text: gunControl.checkTexts[3]
            checked: gunControl.hasEntry && gunControl.limitedRuns
            onChosen: gunControl.setUnlimited(false)
        }
        NumberField {
            id: timesField
            objectName: "gunTimesField"
            x: fieldBox.fieldX
            y: 166
            editable: gunControl.limitedRuns
            validator: RegularExpressionValidator { regularExpression: /[0-9]{0,3}/ }
            onEditDone: {
                gunControl.commitField(timesField, "gunTimes", GunFields.cleanTimes)
                gunControl.limitedRuns = timesField.text !== "0"
            }
        }
        Option {
            objectName: "gunUnlimitedOption"
            x: fieldBox.labelX
            y: 200
            text: gunControl.checkTexts[4]
            checked: gunControl.hasEntry && !gunControl.limitedRuns
            onChosen: gunControl.setUnlimited(true)
        }
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 16
        y: 306
        spacing: 12
        DialogButton {
            objectName: "gunOk"
            text: gunControl.lang(10)
            onClicked: gunControl.accept()
        }
        DialogButton {
            objectName: "gunCancel"
            text: gunControl.lang(11)
            onClicked: gunControl.cancel()
        }
    }
}
