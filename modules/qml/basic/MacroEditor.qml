import QtQuick
import "../common"
import "macroedit.js" as MacroEdit

// Macro editor dialog: the macro list, the recorded event list and the options.
// Every change is saved at once and re-sent to each button that uses the macro.
// This holds the lists and the recording; what it shows is made the first time it opens.
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
    property bool recTimeChecked: false
    property bool loopsChecked: false
    property string loopText: "1"
    // The selected macro and event, -1 for none.
    property int currentIndex: -1
    property int eventIndex: -1
    property bool eventMenuOpen: false
    property point eventMenuAt
    property bool insertKeyOpen: false
    property bool cancelQuestionOpen: false
    // Key names, set by the page.
    property QtObject keyNames
    // Why the last name or event was refused; empty when nothing was.
    property string message: ""
    property var menuTexts: ["", "", "", "", "", ""]
    property string insertKeyName: ""

    readonly property int recordLimit: 124
    readonly property int insertLimit: 126

    signal deleteMacroSignal(string macroName)
    signal listViewFocus()
    signal macroRenamed()
    signal closeUI()
    // A recorded event was added at the end of the list.
    signal eventAppended()
    // A row was made current; its list shows it at once, with the list's pending changes.
    signal macroRowSelected(int index)
    signal eventRowSelected(int index)

    width: 640
    height: 440
    visible: false
    color: Theme.dialogColor
    border.color: Theme.dialogBorder

    function selectMacroRow(index) {
        currentIndex = index
        macroRowSelected(index)
    }

    function selectEventRow(index) {
        eventIndex = index
        eventRowSelected(index)
    }

    function lang(i) { return macroEditorLang[i] ?? "" }
    function zh() { return mainIten.language === 1 }

    function currentName() {
        var i = currentIndex
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
        return MacroEdit.loopCount(loopText)
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
        selectMacroRow(macroListModel.count > 0 ? 0 : -1)
        loadEvents()
    }

    function storeNameList() {
        ui_View.updataNameList(0, macroNames(-1))
    }

    // Shows the selected macro's stored events and loop count.
    function loadEvents() {
        eventModel.clear()
        selectEventRow(-1)
        var name = currentName()
        if (name === "")
            return
        var list = ui_View.loadMacroIni(name)
        for (var i = 0; i + 1 < list.length; ++i)
            eventModel.append(MacroEdit.parseEntry(list[i]))
        if (list.length > 0) {
            loopText = String(list[list.length - 1])
            loopsChecked = loopText !== "1"
        }
    }

    function selectMacro(index) {
        if (isInputting || index === currentIndex)
            return
        selectMacroRow(index)
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
        eventMenuOpen = false
        macroEditor.forceActiveFocus()
    }

    // ---- recording ----

    function toggleRecord() {
        if (isInputting) {
            stopRecord()
            return
        }
        eventMenuOpen = false
        insertKeyOpen = false
        isInsertting = false
        // Set before the focus moves: a delay field committing as it loses focus must not save.
        isInputting = currentIndex >= 0
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
        var name = button ? keyNames.mousecodeTostr(code) : keyNames.keycodeTostr(code)
        if (name === undefined || name === "")
            return
        var added = []
        if (eventModel.count > 0 && recTimeChecked)
            added.push({ type: 0, info: String(macroRecordCount * 10) })
        added.push({ type: button ? (isDown ? 3 : 4) : (isDown ? 1 : 2), info: name })
        if (!fitsWith(added, eventModel.count))
            return
        macroRecordCount = 0
        for (var i = 0; i < added.length; ++i)
            eventModel.append(added[i])
        eventAppended()
    }

    function detectInput(isDown, usbCode) {
        if (isInsertting && Number(usbCode) < 0xF0)
            insertKeyName = keyNames.keycodeTostr(Number(usbCode))
    }

    // Closing while recording asks first; otherwise the dialog and the mask close.
    function closeEditor() {
        if (isInputting) {
            cancelQuestionOpen = true
            return
        }
        eventMenuOpen = false
        closeUI()
    }

    function dropRecording() {
        cancelQuestionOpen = false
        recordTimer.stop()
        isInputting = false
        closeUI()
        loadEvents()
    }

    // ---- event list commands ----

    function openEventMenu(index, x, y) {
        if (isInputting)
            return
        selectEventRow(index)
        eventMenuAt = Qt.point(Math.min(x, width - 160), Math.min(y, height - 6 * 21 - 2))
        eventMenuOpen = true
    }

    function eventCommand(cmd) {
        eventMenuOpen = false
        var sel = eventIndex
        if (cmd === 0) {
            if (sel >= 0 && sel < eventModel.count) {
                eventModel.remove(sel)
                autoSave()
            }
            return
        }
        if (currentIndex < 0 || estimate() >= insertLimit)
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
            selectEventRow(before)
            autoSave()
        } else if (cmd === 5) {
            insertKeyName = ""
            insertKeyOpen = true
            isInsertting = true
        }
    }

    function insertKeys() {
        if (insertKeyName !== "") {
            var before = Math.max(0, Math.min(eventIndex, eventModel.count))
            var pair = [{ type: 1, info: insertKeyName }, { type: 2, info: insertKeyName }]
            if (fitsWith(pair, before)) {
                eventModel.insert(before, pair[0])
                eventModel.insert(before + 1, pair[1])
            }
        }
        insertKeyOpen = false
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
        selectMacroRow(count)
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
        macroRenamed()
    }

    function deleteMacro() {
        var pos = currentIndex
        if (isInputting || pos < 0)
            return
        var name = currentName()
        deleteMacroSignal(name)
        ui_View.deleteMacroIni(name)
        eventModel.clear()
        macroListModel.remove(pos)
        selectMacroRow(Math.min(pos, macroListModel.count - 1))
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

    onLoopsCheckedChanged: {
        if (!loopsChecked && loopText !== "1") {
            loopText = "1"
            autoSave()
        }
    }

    // Swallows clicks; the title bar drags the dialog inside the page.
    MouseArea {
        anchors.fill: parent
        onPressed: macroEditor.macroEditorFocus()
    }

    FirstUseLoader {
        shown: macroEditor.visible
        sourceComponent: MacroEditorView {
            editor: macroEditor
        }
    }
}
