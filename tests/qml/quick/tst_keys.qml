import QtQuick
import QtTest

TestCase {
    id: testCase
    name: "KeyPages"
    width: 1000
    height: 640
    when: windowShown
    visible: true

    Native { id: ui_View }
    Native { id: ui_Ctl }
    Native { id: hid }

    // Any warning while a page is made or driven (a QML error above all) fails the test.
    function init() { failOnWarning(/.?/) }

    // A started page whose profile holds `stored` (button -> four texts) and `macros` (button -> name).
    function startedPage(stored, macros, language) {
        ui_View.reset()
        var component = Qt.createComponent("qrc:/modules/qml/main.qml")
        compare(component.status, Component.Ready, component.errorString())
        var page = createTemporaryObject(component, testCase)
        ui_View.keydefine = stored
        ui_View.macroKeys = macros ?? []
        page.initUI(1)
        page.language = language ?? 0
        findChild(page, "keyMatrixMain").init(false)
        page.setProtectUI(0)
        ui_View.calls = []
        return page
    }

    function test_keyMatrix_data() {
        var e = (a, b, c, d) => [a, b, c, d].map(String)
        var left = e(2, 0, 240, 0)
        return [
            { tag: "labels by the five rules", stored: [e(10, 0, 1, 0), e(0, 0, 0, 0), e(1, 0, 58, 0), e(12, 240, 0, 0), e(4, 0, 233, 0), e(10, 0, 1, 3)], macros: ["m1"],
              labels: ["Macro: m1", "Deactivated", "Button AssignmentF1", "Fire Key", "Volume Up", "Macro: 0"] },
            { tag: "Chinese function names; unknown entry and missing row are empty", language: 1, stored: [e(4, 0, 233, 0), e(8, 0, 1, 1), e(1, 0, 0x80, 0), e(3, 0, 0, 0)],
              labels: ["音量+", "枪键开关", "Button Assignment", "", "", ""] },
            { tag: "type 9 edits one lower and is sent one higher", stored: [e(9, 1, 5, 2), left], act: k => { compare(k.checkLeftKey(), 1); k.refreashUI() },
              row0: [9, 1, 4, 2], sends: [[9, 1, 5, 2, 2, 0, 240, 0]] },
            { tag: "the only left button keeps its function", stored: [left, e(2, 0, 241, 0)], act: k => verify(!k.modifyData(0, 2, 0, 241, 0)),
              row0: [2, 0, 240, 0], sends: [] },
            { tag: "one of two left buttons can change", stored: [left, left], act: k => { verify(k.modifyData(0, 2, 0, 241, 0)); k.refreashUI() },
              labels: ["Right Button", "Left Button"], sends: [[2, 0, 241, 0, 2, 0, 240, 0]] },
            { tag: "a deleted macro resets both of its buttons", stored: [left, e(10, 0, 1, 1), e(10, 0, 1, 2), e(10, 0, 1, 3)], macros: [0, "m", "x", "m"],
              act: k => k.deleteMacroProc("m"), labels: ["Left Button", "Button Assignment", "Macro: x", "Button Assignment"],
              sends: [[2, 0, 240, 0, 1, 0, 241, 0, 10, 0, 1, 2, 10, 0, 1, 3], [2, 0, 240, 0, 1, 0, 241, 0, 10, 0, 1, 2, 1, 0, 244, 0]] },
            { tag: "init(true) sends the entries as read", stored: [e(9, 1, 5, 2), left], act: k => k.init(true),
              sends: [["9", "1", "5", "2", "2", "0", "240", "0"]] },
        ]
    }
    function test_keyMatrix(data) {
        var page = startedPage(data.stored, data.macros, data.language), keys = findChild(page, "keyMatrixMain")
        if (data.act)
            data.act(keys)
        if (data.labels)
            compare(data.labels.map((l, i) => findChild(page, "keyText" + i).text), data.labels)
        if (data.row0) {
            var r = findChild(keys, "keyModel").get(0)
            compare([r.keyCode0, r.keyCode1, r.keyCode2, r.keyCode3], data.row0)
        }
        if (data.sends) {
            var sent = ui_View.calls.filter(c => c[0] === "mouseSetKeyMatrix")
            compare(sent.map(c => c[1].length), data.sends.map(() => 64))
            compare(sent.map((c, i) => c[1].slice(0, data.sends[i].length)), data.sends)
        }
    }

    function test_constants() {
        var page = startedPage([]), names = findChild(page, "keyMatrixMain")
        var codes = Array.from(page.data).find(c => c.mouseData2str !== undefined)
        compare(Object.keys(codes.mouseData2str).length, 38)
        compare(Object.keys(codes.mouseData2str1).length, 38)
        compare(findChild(page, "mouseMain").keyCount, 6)
        compare([0, 5, 6, 7, 8].map(i => findChild(page, "keyRow" + i).visible), [true, true, false, false, false])
        compare([0, 7, 8].map(i => names.gety(i)), [131, 278, 299])
    }
}
