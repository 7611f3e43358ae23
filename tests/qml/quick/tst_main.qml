import QtQuick
import QtTest

TestCase {
    id: testCase
    name: "MainPage"
    width: 1000
    height: 640
    when: windowShown
    visible: true

    readonly property var chineseMain: ["轴向灵敏度", "X轴", "Y轴", "DPI设置", "灯光", "常亮", "呼吸",
        "霓虹", "指尖", "回报率", "鼠标速度", "双击速度", "滚轮速度", "慢", "快", "滚动行数", "滚动一屏",
        "俯视图", "侧视图", "配置文件", "新建", "删除", "编辑", "复制", "载入", "保存", "重置", "恢复出厂设置",
        "确定", "取消"]
    readonly property point emptySpot: Qt.point(400, 60)

    function part(page, name) {
        var item = findChild(page, name)
        verify(item !== null, "no item " + name)
        return item
    }

    function newPage() {
        ui_View.reset()
        ui_Ctl.reset()
        var component = Qt.createComponent("qrc:/modules/qml/main.qml")
        compare(component.status, Component.Ready, component.errorString())
        return createTemporaryObject(component, testCase)
    }

    // A page after its first initUI, once the start lock has ended.
    function startedPage(curDevice) {
        var page = newPage()
        page.initUI(curDevice === undefined ? 1 : curDevice)
        // Ends the start lock at once; test_startLock covers its timing.
        page.setProtectUI(0)
        compare(part(page, "envItem").visible, true)
        ui_View.reset()
        ui_Ctl.reset()
        return page
    }

    function labelOf(button) {
        return button.label.text
    }

    function test_firstStart_data() {
        var chinese = { 0: chineseMain, 1: ["宏：", "禁用"], 2: ["左键"], 3: ["宏管理器"], 4: ["枪械管理器"],
                        5: ["宏按键"], 6: ["DPI 切换至"] }
        return [
            { tag: "no stored language", lang: undefined, strings: {}, language: 0,
              reset: "Reset", question: "Reset Factroy Setting", rows: ["update", "verison:1.0"] },
            { tag: "English", lang: "English", strings: chinese, language: 0,
              reset: "Reset", question: "Reset Factroy Setting", rows: ["update", "verison:1.0"] },
            { tag: "Chinese", lang: "ChineseSimplified", strings: chinese, language: 1,
              reset: "重置", question: "恢复出厂设置", rows: ["更新", "版本:1.0"] },
            { tag: "Chinese without language file", lang: "ChineseSimplified", strings: {}, language: 1,
              reset: "", question: "", rows: ["更新", "版本:1.0"] },
        ]
    }

    function test_firstStart(data) {
        var page = newPage()
        ui_View.lang = data.lang
        ui_View.profile = "3"
        ui_View.strings = data.strings
        page.initUI(2)

        compare(page.visible, true)
        compare(page.curDevice, 2)
        compare(page.language, data.language)
        compare(part(page, "profileMain").profileNo, 3)

        var expected = [["setEnabled", false], ["getLang"], ["getProfile"], ["ui_02H_SetCurrentProfile", 3]]
        if (data.language === 1) {
            for (var type = 0; type <= 6; ++type)
                expected.push(["getGlobalStrings", type, "lang_025044"])
        }
        compare(ui_View.calls, expected)

        var fromFile = data.language === 1
        compare(page.mainLang.length, fromFile ? (data.strings[0] || []).length : 45)
        compare(part(page, "keyMatrixMain").keyMatrixLang.length, fromFile ? (data.strings[1] || []).length : 10)
        compare(part(page, "keyMenuMain").keyMenuLang.length, fromFile ? (data.strings[2] || []).length : 45)
        compare(part(page, "macroEditorMain").macroEditorLang.length, fromFile ? (data.strings[3] || []).length : 20)
        compare(part(page, "gunControlMain").gunControlLang.length, fromFile ? (data.strings[4] || []).length : 15)
        compare(part(page, "macroKeyMain").macroKeyLang.length, fromFile ? (data.strings[5] || []).length : 10)

        compare(labelOf(part(page, "restBtn")), data.reset)
        compare(part(page, "resetQuestion").text, data.question)
        compare(part(page, "askRow0").text, page.webAddress)
        compare(part(page, "askRow1").text, data.rows[0])
        compare(part(page, "askRow2").text, data.rows[1])
    }

    function test_laterConnectionOnlyChangesDevice() {
        var page = startedPage(1)
        ui_View.lang = "ChineseSimplified"
        page.initUI(2)
        compare(page.curDevice, 2)
        compare(ui_View.calls, [])
        compare(page.mainLang[26], "Reset")
        compare(part(page, "powerOnLogo").visible, false)
        compare(part(page, "protectUIItem").isBusy, false)
    }

    function test_startLock() {
        var page = newPage()
        page.initUI(1)
        var logo = part(page, "powerOnLogo")
        var busy = part(page, "protectUIItem")
        var hiddenUntilUnlock = ["envItem", "mainLogo", "panelleft", "profileBtn", "flickableBar",
                                 "panelRightItem", "downItem", "upItem", "mouseMain"]

        compare(busy.isBusy, true)
        compare(busy.visible, true)
        compare(logo.visible, true)
        compare(ui_View.callsOf("setEnabled"), [[false]])
        wait(600)
        compare(logo.visible, true, "the start logo stays for the whole second")
        compare(ui_View.callsOf("setEnabled"), [[false]])
        for (var i = 0; i < hiddenUntilUnlock.length; ++i)
            compare(part(page, hiddenUntilUnlock[i]).visible, false, hiddenUntilUnlock[i])

        tryCompare(busy, "isBusy", false, 1500)
        compare(ui_View.callsOf("setEnabled"), [[false], [true]])
        compare(logo.visible, false)
        for (i = 0; i < hiddenUntilUnlock.length; ++i)
            compare(part(page, hiddenUntilUnlock[i]).visible, true, hiddenUntilUnlock[i])
    }

    function test_laterLocks_data() {
        return [
            { tag: "0 ms releases at once", interval: 0, immediate: true },
            { tag: "1200 ms after a profile switch", interval: 1200, immediate: false },
        ]
    }

    function test_laterLocks(data) {
        var page = startedPage()
        var busy = part(page, "protectUIItem")
        page.setProtectUI(data.interval)
        if (data.immediate) {
            compare(ui_View.callsOf("setEnabled"), [[false], [true]])
            compare(busy.isBusy, false)
            return
        }
        compare(busy.isBusy, true)
        wait(data.interval - 400)
        compare(ui_View.callsOf("setEnabled"), [[false]])
        tryCompare(busy, "isBusy", false, 1500)
        compare(ui_View.callsOf("setEnabled"), [[false], [true]])
        compare(part(page, "powerOnLogo").visible, false, "the start logo belongs to the first lock only")
    }

    function test_deviceVariants_data() {
        return [
            { tag: "model 0", device: 0, lighting: true, liftOff: false },
            { tag: "model 1", device: 1, lighting: true, liftOff: true },
            { tag: "model 2", device: 2, lighting: false, liftOff: true },
        ]
    }

    function test_deviceVariants(data) {
        var page = startedPage(data.device)
        compare(part(page, "lightControlMain").visible, data.lighting)
        compare(part(page, "jmgdMain").visible, data.liftOff)
    }

    function test_windowDrag_data() {
        return [
            { tag: "page", dialog: false, press: Qt.point(400, 60),
              moves: [Qt.point(430, 50), Qt.point(390, 110)],
              calls: [["onXChanged", 30], ["onYChanged", -10], ["onXChanged", -10], ["onYChanged", 50]] },
            { tag: "mask behind a dialog", dialog: true, press: Qt.point(100, 600),
              moves: [Qt.point(101, 597)],
              calls: [["onXChanged", 1], ["onYChanged", -3]] },
        ]
    }

    function test_windowDrag(data) {
        var page = startedPage()
        if (data.dialog) {
            mouseClick(part(page, "restBtn"))
            compare(part(page, "mainMask").visible, true)
        }
        mouseMove(page, data.press.x - 5, data.press.y, 0, Qt.NoButton)
        compare(ui_Ctl.calls, [], "hovering does not move the window")
        mousePress(page, data.press.x, data.press.y)
        for (var i = 0; i < data.moves.length; ++i)
            mouseMove(page, data.moves[i].x, data.moves[i].y, 0, Qt.LeftButton)
        mouseRelease(page, data.moves[data.moves.length - 1].x, data.moves[data.moves.length - 1].y)
        compare(ui_Ctl.calls, data.calls)
    }

    function test_headerButtons_data() {
        return [
            { tag: "help", button: "headerButton2", calls: [], menu: true },
            { tag: "minimise", button: "headerButton0", calls: [["onMinimize"]], menu: false },
            { tag: "close", button: "headerButton1", calls: [["onClose"]], menu: false },
        ]
    }

    function test_headerButtons(data) {
        var page = startedPage()
        var button = part(page, data.button)
        mouseClick(button)
        compare(ui_Ctl.calls, data.calls)
        compare(part(page, "askMenu").visible, data.menu)
        // The minimise artwork is in closeBtn*, the close artwork in minBtn*.
        if (data.tag === "minimise")
            verify(String(button.normalSource).endsWith("/index/closeBtn.png"))
        if (data.tag === "close")
            verify(String(button.normalSource).endsWith("/index/minBtn.png"))
    }

    function test_helpMenuRows_data() {
        return [
            { tag: "row 1 starts the updater", row: 1, calls: [["openUpdateExe"]] },
            { tag: "row 2 only closes", row: 2, calls: [] },
        ]
    }

    function test_helpMenuRows(data) {
        var page = startedPage()
        var menu = part(page, "askMenu")
        mouseClick(part(page, "headerButton2"))
        compare(menu.visible, true)
        mouseClick(part(page, "askRow" + data.row))
        compare(ui_View.calls, data.calls)
        compare(menu.visible, false)
    }

    function test_clickOnEmptyAreaClosesPopups() {
        var page = startedPage()
        var menu = part(page, "keyMenuMain")
        var mouse = part(page, "mouseMain")
        part(page, "dpiSettingMain").openColorBar(1, "#00ff00")
        part(page, "keyMatrixMain").clickKeyMatrix(3)
        mouseClick(part(page, "headerButton2"))
        compare(menu.visible, true)
        compare(mouse.selectKey, 3)
        compare(part(page, "colorBar").visible, true)
        compare(part(page, "askMenu").visible, true)

        mouseClick(page, emptySpot.x, emptySpot.y)
        compare(menu.visible, false)
        compare(mouse.selectKey, -1)
        compare(part(page, "colorBar").visible, false)
        compare(part(page, "askMenu").visible, false)
    }

    function test_factoryReset_data() {
        return [
            { tag: "OK", button: "resetOk",
              calls: [["setEnabled", false], ["resetProfile", 4]], locked: true },
            { tag: "Cancel", button: "resetCancel", calls: [], locked: false },
        ]
    }

    function test_factoryReset(data) {
        var page = startedPage()
        part(page, "profileMain").profileNo = 4
        var dialog = part(page, "factorysure")
        var mask = part(page, "mainMask")
        mouseClick(part(page, "restBtn"))
        compare(dialog.visible, true)
        compare(mask.visible, true)

        mouseClick(part(page, data.button))
        compare(dialog.visible, false)
        compare(mask.visible, false)
        // Only the bridge calls are checked: the panels send what their own pages send.
        compare(ui_View.calls.filter(c => c[0] === "setEnabled" || c[0] === "resetProfile"), data.calls)
        compare(part(page, "protectUIItem").isBusy, data.locked)
        if (data.locked)
            tryCompare(part(page, "protectUIItem"), "isBusy", false, 1500)
    }

    function test_resetDialogDrag_data() {
        // The dialog starts centred at (286.5, 269); it is 427 x 102.
        return [
            { tag: "inside", dx: 50, dy: 20, x: 336.5, y: 289 },
            { tag: "clamped left and top", dx: -300, dy: -300, x: 0, y: 0 },
            { tag: "clamped right and bottom", dx: 400, dy: 300, x: 573, y: 538 },
        ]
    }

    function test_resetDialogDrag(data) {
        var page = startedPage()
        var dialog = part(page, "factorysure")
        mouseClick(part(page, "restBtn"))
        compare(dialog.x, 286.5)
        compare(dialog.y, 269)
        mousePress(dialog, 20, 50)
        mouseMove(dialog, 20 + data.dx, 50 + data.dy, 0, Qt.LeftButton)
        mouseRelease(dialog, 20 + data.dx, 50 + data.dy)
        compare(dialog.x, data.x)
        compare(dialog.y, data.y)
        compare(ui_Ctl.calls, [], "dragging the dialog does not move the window")
    }

    function test_lightingGlue_data() {
        var tail = [0, 0, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 127, 0, 255, 0, 255, 255, 255, 255]
        return [
            { tag: "colour", rgb: [10, 20, 30], palette: [10, 20, 30].concat(tail), index: 0 },
            { tag: "black becomes red", rgb: [0, 0, 0], palette: [255, 0, 0].concat(tail), index: 7 },
        ]
    }

    function test_lightingGlue(data) {
        var page = startedPage()
        var lighting = part(page, "lightControlMain")
        lighting.colorR = 1
        lighting.colorG = 2
        lighting.colorB = 3
        lighting.setLED(5, 6, 3)
        compare(ui_View.calls, [["ui_06H_SetRGBLedEffect", 5, 0, 3, [5, 6, 3, 1, 2, 3]]])
        compare(lighting.tempEffect, 5)
        compare(lighting.tempSpeedBrightness, 3)

        ui_View.reset()
        lighting.setColor(data.rgb[0], data.rgb[1], data.rgb[2])
        compare(ui_View.calls, [["ui_LEDColor", data.palette],
                                ["ui_06H_SetRGBLedEffect", 5, data.index, 3, [5, data.index, 3, 1, 2, 3]]])
    }

    function test_panelGlue_data() {
        return [
            { tag: "DPI value", emit: p => part(p, "dpiSettingMain").dpiValueChange(1, "800"),
              first: ["ui_11H_SetDPISet", 2, [], [], []] },
            { tag: "DPI stage toggle", emit: p => part(p, "dpiSettingMain").dpiSelectChange(3),
              first: ["ui_11H_SetDPISet", 2, [], [], []] },
            { tag: "report rate", emit: p => part(p, "reportRateMain").reportValue = 4,
              first: ["ui_01H_SetReportRate", 4] },
            { tag: "pointer speed", emit: p => part(p, "mouseRateMain").mouseRateChange(7),
              first: ["setCursorSpeed", 7], only: true },
            { tag: "double-click speed", emit: p => part(p, "doubleRateMain").doubleRateChange(3),
              first: ["setDoubleClickSpeed", 3], only: true },
            { tag: "scroll lines", emit: p => part(p, "scrollRateMain").linesChange(1000),
              first: ["setVerticalScrollLines", 1000], only: true },
        ]
    }

    function test_panelGlue(data) {
        var page = startedPage()
        data.emit(page)
        compare(ui_View.calls[0], data.first)
        if (data.only)
            compare(ui_View.calls.length, 1)
        else
            compare(ui_View.callNames().slice(1), ["ui_LEDColor", "ui_06H_SetRGBLedEffect"],
                    "the lighting is sent again after the change")
    }

    function test_scrollThumb_data() {
        // fromEnd: the start position counted back from the last full view.
        return [
            { tag: "down", start: 0, moves: [40], contentY: 40 },
            { tag: "up stops at the top", start: 30, moves: [-50], contentY: 0 },
            { tag: "down past the end only from below it", fromEnd: 22, moves: [40, 40], overEnd: 18 },
            { tag: "up is always allowed", fromEnd: -18, moves: [-20], overEnd: -2 },
        ]
    }

    function test_scrollThumb(data) {
        var page = startedPage()
        var panel = part(page, "panelRightItem")
        var thumb = part(page, "scrollThumb")
        var end = panel.contentHeight - panel.height
        compare(panel.height, 563)
        verify(end > 100, "the right column is taller than its window")
        panel.contentY = data.fromEnd === undefined ? data.start : end - data.fromEnd
        fuzzyCompare(thumb.height, 563 * 563 / panel.contentHeight, 0.01)
        fuzzyCompare(thumb.y, 32 + panel.contentY / panel.contentHeight * 563, 0.01)

        var x = thumb.x + 4
        var y = thumb.y + 10
        mousePress(page, x, y)
        for (var i = 0; i < data.moves.length; ++i) {
            y += data.moves[i]
            mouseMove(page, x, y, 0, Qt.LeftButton)
        }
        mouseRelease(page, x, y)
        compare(panel.contentY, data.fromEnd === undefined ? data.contentY : end + data.overEnd)
    }

    function test_keyPanelHover_data() {
        return [
            { tag: "menu closed", menuOpen: false, enter: 2, afterEnter: 2, afterLeave: -1 },
            { tag: "menu open keeps the selected key", menuOpen: true, enter: 5, afterEnter: 1, afterLeave: 1 },
        ]
    }

    function test_keyPanelHover(data) {
        var page = startedPage()
        var keys = part(page, "keyMatrixMain")
        var mouse = part(page, "mouseMain")
        var menu = part(page, "keyMenuMain")
        if (data.menuOpen) {
            keys.clickKeyMatrix(1)
            compare(menu.visible, true)
            compare(Qt.point(menu.x, menu.y), Qt.point(249, 152))
        }
        keys.enterBtn(data.enter)
        compare(mouse.selectKey, data.afterEnter)
        keys.leaveBtn(data.enter)
        compare(mouse.selectKey, data.afterLeave)
    }

    function test_dialogs_data() {
        return [
            { tag: "macro editor", button: "macroBtn", dialog: "macroEditorMain", centred: true },
            { tag: "profile manager", button: "profileBtn", dialog: "profileMain", centred: false },
        ]
    }

    function test_dialogs(data) {
        var page = startedPage()
        var dialog = part(page, data.dialog)
        var mask = part(page, "mainMask")
        mouseClick(part(page, data.button))
        compare(dialog.visible, true)
        compare(mask.visible, true)
        if (data.centred)
            compare(Qt.point(dialog.x, dialog.y), Qt.point((1000 - dialog.width) / 2, (640 - dialog.height) / 2))
        if (data.dialog === "profileMain") {
            dialog.closeUI()
            compare(dialog.visible, false)
            compare(mask.visible, false)
        }
    }

    function test_profileSwitch_data() {
        return [
            { tag: "same profile", to: 0, switchCalls: [], closeLocks: false },
            { tag: "other profile", to: 2, switchCalls: [["ui_02H_SetCurrentProfile", 2]], closeLocks: true },
        ]
    }

    function test_profileSwitch(data) {
        var page = startedPage()
        var profile = part(page, "profileMain")
        profile.profileNo = 0
        profile.changeProfile(data.to)
        compare(profile.profileNo, data.to)
        compare(ui_View.calls, data.switchCalls)

        ui_View.reset()
        profile.closeUI()
        compare(part(page, "protectUIItem").isBusy, data.closeLocks)
        if (!data.closeLocks) {
            compare(ui_View.calls, [])
            return
        }
        compare(ui_View.calls[0], ["setEnabled", false])
        compare(ui_View.callNames().slice(-2), ["ui_LEDColor", "ui_06H_SetRGBLedEffect"])
        // A second close without a new switch does nothing.
        ui_View.reset()
        page.setProtectUI(0)
        ui_View.reset()
        profile.closeUI()
        compare(ui_View.calls, [])
    }

    function test_keyRelay() {
        var page = startedPage()
        var keys = signalSpy.createObject(testCase, { target: page, signalName: "msg_KB" })
        var buttons = signalSpy.createObject(testCase, { target: page, signalName: "msg_MS" })
        page.detectKeyboard(true, 0x04)
        page.detectMouse(false, 1, 300, 200)
        compare(keys.count, 1)
        compare(Array.from(keys.signalArguments[0]), [true, 4])
        compare(buttons.count, 1)
        compare(Array.from(buttons.signalArguments[0]), [false, 1, 300, 200])
    }

    Component {
        id: signalSpy
        SignalSpy {}
    }
}
