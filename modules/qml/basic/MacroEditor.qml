import QtQuick
import "macroedit.js" as MacroEdit

// Macro editor dialog: the macro list, the recorded event list and the options.
// Every change is saved at once and re-sent to each button that uses the macro.
Rectangle {
    id: macroEditor

    property var macroEditorLang: ["Macro Manager", "Macro", "Sequence", "Options", "Start Record",
                                   "Stop Record", "Rec Time", "Loops Timer", "New", "Delete", "OK",
                                   "Cancel", "Delete", "Insert Left Button", "Insert Middle Button",
                                   "Insert Right Button", "Insert Delay", "Insert Keys",
                                   "Cancel the record ?", "",
                                   "Cannot create a macro: its file could not be written (disk full or folder read-only)",
                                   "Name refused: 1 to 64 visible characters, none of / \\ : * ? \" < > |, no \"..\", not \"loaderzenith\", and not the name of another file"]
    property bool isInputting: false
    property bool isInsertting: false
    property int macroRecordCount: 0
    property alias macroListModel: macroListModel
    property alias eventModel: eventModel
    property alias recTimeChecked: recTimeCheck.checked
    property alias loopsChecked: loopsCheck.checked
    property alias loopText: loopField.text
    // Why the last name or event was refused; empty when nothing was.
    property string message: ""
    property var menuTexts: ["", "", "", "", "", ""]
    property string insertKeyName: ""

    readonly property int recordLimit: 124
    readonly property int insertLimit: 126

    signal deleteMacroSignal(string macroName)
    signal listViewFocus()

    width: 640
    height: 440
    visible: false
    color: "#1e1e1e"
    border.color: "#4e3434"

    function lang(i) { return macroEditorLang[i] ?? "" }
    function zh() { return mainIten.language === 1 }

    function currentName() {
        var i = macroList.currentIndex
        return i >= 0 && i < macroListModel.count ? macroListModel.get(i).macroName : ""
    }

    function macroNames(except) {
        var names = []
        for (var i = 0; i < macroListModel.count; ++i) {
            if (i !== except)
                names.push(macroListModel.get(i).macroName)
        }
        return names
    }

    function entriesOf(events) {
        var list = []
        for (var i = 0; i < events.length; ++i)
            list.push(MacroEdit.entryText(events[i].type, events[i].info))
        return list
    }

    function currentEvents() {
        var list = []
        for (var i = 0; i < eventModel.count; ++i)
            list.push({ type: eventModel.get(i).type, info: eventModel.get(i).info })
        return list
    }

    function loopCount() {
        return MacroEdit.loopCount(loopField.text)
    }

    function estimate() {
        return macroCodec.estimate(entriesOf(currentEvents()))
    }

    // Whether the events with `extra` put in at `at` (in place of `replaced` events) still fit
    // the mouse's block; says why not.
    function fitsWith(extra, at, replaced) {
        var events = currentEvents()
        events.splice.apply(events, [at, replaced || 0].concat(extra))
        var entries = entriesOf(events)
        if (macroCodec.fits(entries))
            return true
        var bytes = macroCodec.encodedLength(entries)
        message = zh() ? "宏已满：编码后 " + bytes + " 字节，超过鼠标的 " + macroCodec.payloadSize + " 字节"
                       : "Macro full: " + bytes + " bytes would exceed the " + macroCodec.payloadSize
                         + " the mouse takes"
        return false
    }

    function init() {
        var names = pageRules.withoutSentinel(ui_View.getNameList(0))
        if (names.length > MacroEdit.maxMacros) {
            console.log("Macro list holds " + names.length + " names; the editor takes the first "
                        + MacroEdit.maxMacros + " and ignores the rest")
            names = names.slice(0, MacroEdit.maxMacros)
        }
        var entries = []
        for (var i = 0; i < names.length; ++i) {
            entries.push({ macroName: names[i], no: Number(ui_View.loadMacroIndex(names[i])),
                           macroType: Number(ui_View.loadMacroType(names[i])) })
        }
        macroListModel.clear()
        var list = MacroEdit.ordered(entries)
        for (var j = 0; j < list.length; ++j)
            macroListModel.append(list[j])
        menuTexts = [lang(12), lang(13), lang(14), lang(15), lang(16), lang(17)]
        macroList.currentIndex = macroListModel.count > 0 ? 0 : -1
        loadEvents()
    }

    function storeNameList() {
        ui_View.updataNameList(0, macroNames(-1))
    }

    // Shows the selected macro's stored events and loop count.
    function loadEvents() {
        eventModel.clear()
        eventList.currentIndex = -1
        var name = currentName()
        if (name === "")
            return
        var list = ui_View.loadMacroIni(name)
        for (var i = 0; i + 1 < list.length; ++i)
            eventModel.append(MacroEdit.parseEntry(list[i]))
        if (list.length > 0) {
            loopField.text = String(list[list.length - 1])
            loopsCheck.checked = loopField.text !== "1"
        }
    }

    function selectMacro(index) {
        if (isInputting || index === macroList.currentIndex)
            return
        macroList.currentIndex = index
        message = ""
        loadEvents()
    }

    // Nothing is saved while recording: Stop Record saves the recording once.
    function autoSave() {
        var name = currentName()
        if (name === "" || isInputting)
            return
        var entries = entriesOf(currentEvents())
        var loops = loopCount()
        ui_View.saveMacroIni(name, entries, macroCodec.encode(entries, loops), loops)
        var uses = ui_View.isMacroUse(name)
        for (var i = 1; i < uses.length; ++i)
            sendMacro(Number(uses[i]), name)
    }

    // Sends the stored macro with its own loop count (the shown macro's count stays as it is);
    // false when the mouse did not get it.
    function sendMacro(index, macroName) {
        var list = ui_View.loadMacroIni(macroName)
        var entries = []
        for (var i = 0; i + 1 < list.length; ++i)
            entries.push(String(list[i]))
        var loops = list.length > 0 ? MacroEdit.loopCount(list[list.length - 1]) : loopCount()
        return ui_View.sendMacroData(macroCodec.encode(entries, loops), index) === true
    }

    function macroEditorFocus() {
        eventMenu.visible = false
        macroEditor.forceActiveFocus()
    }

    // ---- recording ----

    function toggleRecord() {
        if (isInputting) {
            stopRecord()
            return
        }
        eventMenu.visible = false
        insertKeyDialog.visible = false
        isInsertting = false
        // Set before the focus moves: a delay field committing as it loses focus must not save.
        isInputting = macroList.currentIndex >= 0
        // Recorded keys must not also land in a text field of the page.
        macroEditor.forceActiveFocus()
        eventModel.clear()
        message = ""
        macroRecordCount = 0
        recordTimer.restart()
    }

    function stopRecord() {
        recordTimer.stop()
        isInputting = false
        autoSave()
    }

    function detectKeyboard(isDown, usbCode) {
        if (!isInputting)
            return
        if (estimate() >= recordLimit) {
            message = zh() ? "宏已满，不再录制" : "Macro full: further keys are not recorded"
            return
        }
        var code = Number(usbCode)
        var button = code >= 0xF0
        var name = button ? _KeyCodeString.mousecodeTostr(code) : _KeyCodeString.keycodeTostr(code)
        if (name === undefined || name === "")
            return
        var added = []
        if (eventModel.count > 0 && recTimeCheck.checked)
            added.push({ type: 0, info: String(macroRecordCount * 10) })
        added.push({ type: button ? (isDown ? 3 : 4) : (isDown ? 1 : 2), info: name })
        if (!fitsWith(added, eventModel.count))
            return
        macroRecordCount = 0
        for (var i = 0; i < added.length; ++i)
            eventModel.append(added[i])
        eventList.positionViewAtEnd()
    }

    function detectInput(isDown, usbCode) {
        if (isInsertting && Number(usbCode) < 0xF0)
            insertKeyName = _KeyCodeString.keycodeTostr(Number(usbCode))
    }

    // Closing while recording asks first; otherwise the dialog and the mask close.
    function closeEditor() {
        if (isInputting) {
            cancelQuestion.visible = true
            return
        }
        eventMenu.visible = false
        visible = false
        mainMask.visible = false
    }

    function dropRecording() {
        cancelQuestion.visible = false
        recordTimer.stop()
        isInputting = false
        visible = false
        mainMask.visible = false
        loadEvents()
    }

    // ---- event list commands ----

    function openEventMenu(index, x, y) {
        if (isInputting)
            return
        eventList.currentIndex = index
        var p = mapFromItem(eventList, x, y)
        eventMenu.x = Math.min(p.x, width - eventMenu.width)
        eventMenu.y = Math.min(p.y, height - eventMenu.height)
        eventMenu.visible = true
    }

    function eventCommand(cmd) {
        eventMenu.visible = false
        var sel = eventList.currentIndex
        if (cmd === 0) {
            if (sel >= 0 && sel < eventModel.count) {
                eventModel.remove(sel)
                autoSave()
            }
            return
        }
        if (macroList.currentIndex < 0 || estimate() >= insertLimit)
            return
        if (cmd >= 1 && cmd <= 3) {
            var name = ["MS-L", "MS-M", "MS-R"][cmd - 1]
            var at = (sel < 0 || sel >= eventModel.count - 1) ? eventModel.count : sel + 1
            var pair = [{ type: 3, info: name }, { type: 4, info: name }]
            if (!fitsWith(pair, at))
                return
            eventModel.insert(at, pair[0])
            eventModel.insert(at + 1, pair[1])
            autoSave()
        } else if (cmd === 4) {
            var before = Math.max(0, Math.min(sel, eventModel.count))
            if (!fitsWith([{ type: 0, info: "50" }], before))
                return
            eventModel.insert(before, { type: 0, info: "50" })
            eventList.currentIndex = before
            autoSave()
        } else if (cmd === 5) {
            insertKeyName = ""
            insertKeyDialog.visible = true
            isInsertting = true
        }
    }

    function insertKeys() {
        if (insertKeyName !== "") {
            var before = Math.max(0, Math.min(eventList.currentIndex, eventModel.count))
            var pair = [{ type: 1, info: insertKeyName }, { type: 2, info: insertKeyName }]
            if (fitsWith(pair, before)) {
                eventModel.insert(before, pair[0])
                eventModel.insert(before + 1, pair[1])
            }
        }
        insertKeyDialog.visible = false
        isInsertting = false
        autoSave()
    }

    function setDelay(index, text) {
        var n = parseInt(text)
        if (!isNaN(n) && String(text).trim() !== "" && index >= 0 && index < eventModel.count) {
            if (fitsWith([{ type: 0, info: String(n) }], index, 1))
                eventModel.setProperty(index, "info", String(n))
        }
        autoSave()
    }

    // ---- macro list commands ----

    function newMacro() {
        if (isInputting)
            return
        var count = macroListModel.count
        var name = MacroEdit.freeName(macroNames(-1))
        if (count >= MacroEdit.maxMacros || name === "")
            return
        // A macro whose file could not be made is not listed: recordings into it would be lost.
        if (!ui_View.createMacroIni(name, count)) {
            message = lang(20)
            return
        }
        macroListModel.append({ macroName: name, no: count, macroType: -1 })
        macroList.currentIndex = count
        message = ""
        loadEvents()
        storeNameList()
    }

    // Applies a typed name unless another macro has it; the store decides which names it takes,
    // and a name it refused is neither listed nor stored.
    function renameMacro(index, newName) {
        if (index < 0 || index >= macroListModel.count)
            return
        var oldName = macroListModel.get(index).macroName
        if (newName === oldName || macroNames(index).indexOf(newName) >= 0)
            return
        if (ui_View.modifyMacroName(oldName, newName) !== true) {
            message = lang(21)
            return
        }
        message = ""
        macroListModel.setProperty(index, "macroName", newName)
        storeNameList()
        keyMatrixMain.refreashUI()
    }

    function deleteMacro() {
        var pos = macroList.currentIndex
        if (isInputting || pos < 0)
            return
        var name = currentName()
        deleteMacroSignal(name)
        ui_View.deleteMacroIni(name)
        eventModel.clear()
        macroListModel.remove(pos)
        macroList.currentIndex = Math.min(pos, macroListModel.count - 1)
        for (var i = pos; i < macroListModel.count; ++i)
            macroListModel.setProperty(i, "no", macroListModel.get(i).no - 1)
        loadEvents()
        for (var j = 0; j < macroListModel.count; ++j)
            ui_View.setMacroIndex(macroListModel.get(j).macroName, macroListModel.get(j).no)
        ui_View.changeMacroFileIndex(pos + 1)
        storeNameList()
    }

    ListModel { id: macroListModel }
    ListModel { id: eventModel }

    Timer {
        id: recordTimer
        interval: 10
        repeat: true
        onTriggered: ++macroEditor.macroRecordCount
    }

    // Swallows clicks; the title bar drags the dialog inside the page.
    MouseArea {
        anchors.fill: parent
        onPressed: macroEditor.macroEditorFocus()
    }

    component EditorButton: Rectangle {
        id: button
        property alias text: label.text
        property bool enabledLook: true
        signal clicked()
        width: 88
        height: 25
        border.color: "#4e3434"
        color: area.containsMouse ? "#761212" : "#4f1717"
        opacity: enabledLook ? 1 : 0.5
        Text {
            id: label
            anchors.centerIn: parent
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            color: mainIten.fontColor
        }
        MouseArea {
            id: area
            anchors.fill: parent
            hoverEnabled: true
            onClicked: button.clicked()
        }
    }

    component CheckLine: Row {
        id: check
        property bool checked: false
        property alias text: label.text
        spacing: 6
        Rectangle {
            width: 14
            height: 14
            color: "#101010"
            border.color: "#8f2020"
            Rectangle {
                anchors.centerIn: parent
                width: 8
                height: 8
                color: "#fa6726"
                visible: check.checked
            }
            MouseArea {
                anchors.fill: parent
                anchors.margins: -4
                onClicked: check.checked = !check.checked
            }
        }
        Text {
            id: label
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            color: mainIten.fontColor
        }
    }

    component Heading: Text {
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
        font.bold: true
        color: "#fa6726"
    }

    Rectangle {
        id: titleBar
        width: parent.width
        height: 30
        color: "#2a1616"
        Text {
            x: 12
            anchors.verticalCenter: parent.verticalCenter
            text: macroEditor.lang(0)
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            font.bold: true
            color: mainIten.fontColor
        }
        MouseArea {
            property point pressPoint
            objectName: "macroEditorTitle"
            anchors.fill: parent
            onPressed: (mouse) => {
                pressPoint = Qt.point(mouse.x, mouse.y)
                macroEditor.macroEditorFocus()
            }
            onPositionChanged: (mouse) => {
                var page = macroEditor.parent
                macroEditor.x = Math.max(0, Math.min(page.width - macroEditor.width,
                                                     macroEditor.x + mouse.x - pressPoint.x))
                macroEditor.y = Math.max(0, Math.min(page.height - macroEditor.height,
                                                     macroEditor.y + mouse.y - pressPoint.y))
            }
        }
        Text {
            objectName: "macroEditorClose"
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
                onClicked: macroEditor.closeEditor()
            }
        }
    }

    // ---- macro list ----
    Heading { x: 16; y: 40; text: macroEditor.lang(1) }
    Rectangle {
        x: 16
        y: 62
        width: 180
        height: 290
        color: "#101010"
        border.color: "#3a2a2a"
        ListView {
            id: macroList
            objectName: "macroList"
            anchors.fill: parent
            anchors.margins: 2
            clip: true
            currentIndex: -1
            model: macroListModel
            delegate: Rectangle {
                id: macroRow
                required property int index
                required property string macroName
                objectName: "macroRow" + index
                width: macroList.width
                height: 22
                color: ListView.isCurrentItem ? "#8f2020" : (rowArea.containsMouse ? "#40c01818" : "transparent")
                Text {
                    x: 6
                    anchors.verticalCenter: parent.verticalCenter
                    visible: !nameEdit.visible
                    text: macroRow.macroName
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontNormalSize
                    color: mainIten.fontColor
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    // Taking the focus ends any rename in progress; a double-click then starts one.
                    onPressed: if (!nameEdit.visible) macroEditor.forceActiveFocus()
                    onClicked: {
                        macroEditor.listViewFocus()
                        macroEditor.selectMacro(macroRow.index)
                    }
                    onDoubleClicked: {
                        if (macroEditor.isInputting)
                            return
                        nameEdit.text = macroRow.macroName
                        nameEdit.visible = true
                        nameEdit.selectAll()
                        nameEdit.forceActiveFocus()
                    }
                }
                TextInput {
                    id: nameEdit
                    objectName: "macroNameEdit" + macroRow.index
                    x: 6
                    width: parent.width - 12
                    anchors.verticalCenter: parent.verticalCenter
                    visible: false
                    maximumLength: 64
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontNormalSize
                    color: "#fa6726"
                    selectionColor: "#8f2020"
                    function commit() {
                        if (!visible)
                            return
                        visible = false
                        macroEditor.renameMacro(macroRow.index, text)
                    }
                    onAccepted: commit()
                    onActiveFocusChanged: if (!activeFocus) commit()
                }
            }
        }
    }
    Row {
        x: 16
        y: 360
        spacing: 4
        EditorButton {
            objectName: "macroNew"
            text: macroEditor.lang(8)
            onClicked: macroEditor.newMacro()
        }
        EditorButton {
            objectName: "macroDelete"
            text: macroEditor.lang(9)
            onClicked: macroEditor.deleteMacro()
        }
    }

    // ---- event list ----
    Heading { x: 212; y: 40; text: macroEditor.lang(2) }
    Rectangle {
        x: 212
        y: 62
        width: 230
        height: 323
        color: "#101010"
        border.color: "#3a2a2a"
        ListView {
            id: eventList
            objectName: "eventList"
            anchors.fill: parent
            anchors.margins: 2
            clip: true
            currentIndex: -1
            model: eventModel
            boundsBehavior: Flickable.StopAtBounds
            delegate: Rectangle {
                id: eventRow
                required property int index
                required property int type
                required property string info
                objectName: "eventRow" + index
                width: eventList.width - 8
                height: 20
                color: ListView.isCurrentItem ? "#8f2020" : "transparent"
                Text {
                    objectName: "eventText" + eventRow.index
                    x: eventRow.type === 0 ? 26 : 6
                    anchors.verticalCenter: parent.verticalCenter
                    visible: !delayEdit.visible
                    text: eventRow.type === 0 ? eventRow.info + " ms"
                          : (eventRow.type === 1 || eventRow.type === 3 ? "↓  " : "↑  ") + eventRow.info
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontNormalSize
                    color: eventRow.type === 0 ? "#b0b0b0" : mainIten.fontColor
                }
                MouseArea {
                    anchors.fill: parent
                    acceptedButtons: Qt.LeftButton | Qt.RightButton
                    onClicked: (mouse) => {
                        if (macroEditor.isInputting)
                            return
                        if (mouse.button === Qt.RightButton)
                            macroEditor.openEventMenu(eventRow.index, eventRow.x + mouse.x,
                                                      eventRow.y - eventList.contentY + mouse.y)
                        else {
                            eventMenu.visible = false
                            eventList.currentIndex = eventRow.index
                        }
                    }
                    onDoubleClicked: (mouse) => {
                        if (macroEditor.isInputting || eventRow.type !== 0 || mouse.button !== Qt.LeftButton)
                            return
                        delayEdit.text = eventRow.info
                        delayEdit.visible = true
                        delayEdit.selectAll()
                        delayEdit.forceActiveFocus()
                    }
                }
                TextInput {
                    id: delayEdit
                    objectName: "delayEdit" + eventRow.index
                    x: 26
                    width: 80
                    anchors.verticalCenter: parent.verticalCenter
                    visible: false
                    validator: IntValidator { bottom: 0; top: 100000 }
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontNormalSize
                    color: "#fa6726"
                    function commit() {
                        if (!visible)
                            return
                        visible = false
                        macroEditor.setDelay(eventRow.index, text)
                    }
                    onAccepted: commit()
                    onEditingFinished: commit()
                    onActiveFocusChanged: if (!activeFocus) commit()
                }
            }
            // Right-click below the last event still opens the menu (for inserting into an empty list).
            MouseArea {
                z: -1
                width: eventList.width
                height: Math.max(0, eventList.height - eventList.contentHeight)
                y: eventList.contentHeight - eventList.contentY
                acceptedButtons: Qt.RightButton
                onClicked: (mouse) => macroEditor.openEventMenu(eventModel.count - 1, mouse.x, y + mouse.y)
            }
        }
        // A thin thumb when the list is longer than its box.
        Rectangle {
            anchors.right: parent.right
            anchors.rightMargin: 2
            y: 2 + eventList.visibleArea.yPosition * (parent.height - 4)
            width: 5
            radius: 2
            height: Math.min(1, eventList.visibleArea.heightRatio) * (parent.height - 4)
            color: "#767676"
            visible: eventList.visibleArea.heightRatio < 1
        }
    }

    // ---- options ----
    Heading { x: 458; y: 40; text: macroEditor.lang(3) }
    Column {
        x: 458
        y: 66
        spacing: 14
        EditorButton {
            objectName: "macroRecord"
            width: 166
            text: macroEditor.isInputting ? macroEditor.lang(5) : macroEditor.lang(4)
            border.color: macroEditor.isInputting ? "#ff3030" : "#4e3434"
            onClicked: macroEditor.toggleRecord()
        }
        CheckLine {
            id: recTimeCheck
            objectName: "recTimeCheck"
            text: macroEditor.lang(6)
        }
        CheckLine {
            id: loopsCheck
            objectName: "loopsCheck"
            text: macroEditor.lang(7)
            onCheckedChanged: {
                if (!checked && loopField.text !== "1") {
                    loopField.text = "1"
                    macroEditor.autoSave()
                }
            }
        }
        Rectangle {
            width: 80
            height: 24
            color: loopsCheck.checked ? "#101010" : "#2a2a2a"
            border.color: "#8f2020"
            TextInput {
                id: loopField
                objectName: "loopField"
                anchors.fill: parent
                anchors.margins: 4
                text: "1"
                enabled: loopsCheck.checked && !macroEditor.isInputting
                validator: IntValidator { bottom: 0; top: 65535 }
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontNormalSize
                color: enabled ? mainIten.fontColor : "#909090"
                onActiveFocusChanged: {
                    if (activeFocus)
                        return
                    if (text === "")
                        text = "1"
                    macroEditor.autoSave()
                }
                onAccepted: macroEditor.forceActiveFocus()
            }
        }
        Text {
            objectName: "recordState"
            visible: macroEditor.isInputting
            text: "● REC  " + eventModel.count
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            color: "#ff3030"
        }
    }

    Text {
        objectName: "macroMessage"
        x: 458
        y: 250
        width: 166
        wrapMode: Text.Wrap
        text: macroEditor.message
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontMinSize + 1
        color: "#ff7070"
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 16
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 14
        spacing: 12
        EditorButton {
            objectName: "macroEditorOk"
            text: macroEditor.lang(10)
            onClicked: macroEditor.closeEditor()
        }
        EditorButton {
            objectName: "macroEditorCancel"
            text: macroEditor.lang(11)
            onClicked: macroEditor.closeEditor()
        }
    }

    // ---- event context menu ----
    Rectangle {
        id: eventMenu
        objectName: "eventMenu"
        width: 160
        height: menuColumn.height + 2
        visible: false
        z: 5
        color: "#6f2929"
        border.color: "#8f2020"
        Column {
            id: menuColumn
            y: 1
            Repeater {
                model: 6
                Rectangle {
                    required property int index
                    objectName: "eventMenu" + index
                    width: eventMenu.width
                    height: 21
                    color: menuArea.containsMouse ? "#8f2020" : "transparent"
                    Text {
                        x: 8
                        anchors.verticalCenter: parent.verticalCenter
                        text: macroEditor.menuTexts[parent.index] ?? ""
                        font.family: mainIten.fontFamily
                        font.pixelSize: mainIten.fontMinSize + 1
                        color: mainIten.fontColor
                    }
                    MouseArea {
                        id: menuArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: macroEditor.eventCommand(parent.index)
                    }
                }
            }
        }
    }

    // ---- insert-key dialog ----
    Rectangle {
        id: insertKeyDialog
        objectName: "insertKeyDialog"
        anchors.centerIn: parent
        width: 300
        height: 140
        visible: false
        z: 6
        color: "#1e1e1e"
        border.color: "#8f2020"
        MouseArea { anchors.fill: parent }
        Text {
            x: 12
            y: 8
            text: macroEditor.lang(17)
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            font.bold: true
            color: mainIten.fontColor
        }
        Rectangle {
            x: 20
            y: 44
            width: parent.width - 40
            height: 26
            color: "#101010"
            border.color: "#8f2020"
            Text {
                objectName: "insertKeyName"
                anchors.centerIn: parent
                text: macroEditor.insertKeyName
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontNormalSize
                font.bold: true
                color: "#fa6726"
            }
        }
        Row {
            anchors.right: parent.right
            anchors.rightMargin: 20
            y: 96
            spacing: 12
            EditorButton {
                objectName: "insertKeyOk"
                text: macroEditor.lang(10)
                onClicked: macroEditor.insertKeys()
            }
            EditorButton {
                objectName: "insertKeyCancel"
                text: macroEditor.lang(11)
                onClicked: {
                    insertKeyDialog.visible = false
                    macroEditor.isInsertting = false
                }
            }
        }
    }

    // ---- cancel-record question ----
    Rectangle {
        id: cancelQuestion
        objectName: "cancelQuestion"
        anchors.centerIn: parent
        width: 300
        height: 120
        visible: false
        z: 6
        color: "#1e1e1e"
        border.color: "#8f2020"
        MouseArea { anchors.fill: parent }
        Text {
            x: 12
            y: 8
            text: macroEditor.lang(11)
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            font.bold: true
            color: mainIten.fontColor
        }
        Text {
            x: 20
            y: 44
            text: macroEditor.lang(18)
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            color: mainIten.fontColor
        }
        Row {
            anchors.right: parent.right
            anchors.rightMargin: 20
            y: 80
            spacing: 12
            EditorButton {
                objectName: "cancelRecordOk"
                text: macroEditor.lang(10)
                onClicked: macroEditor.dropRecording()
            }
            EditorButton {
                objectName: "cancelRecordCancel"
                text: macroEditor.lang(11)
                onClicked: cancelQuestion.visible = false
            }
        }
    }
}
