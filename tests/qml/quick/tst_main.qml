import QtQuick
import QtTest
import "qrc:/modules/qml/common/colormath.js" as ColorMath

TestCase {
    id: testCase
    name: "MainPage"
    width: 1000
    height: 640
    when: windowShown
    visible: true

    Native { id: ui_View }  // the page finds its native objects by these names
    Native { id: ui_Ctl }
    Native { id: hid }

    // Any warning while a page is made or driven (a QML error above all) fails the test.
    function init() { failOnWarning(/.?/) }
    Component { id: signalSpy; SignalSpy {} }

    readonly property var paletteTail: [0, 0, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 127, 0, 255, 0, 255, 255, 255, 255]
    // What the sensor panels send again when a profile is reloaded with its values.
    readonly property var resend: [["ui_0EH_SetXYSensitive", 100, 100], ["ui_01H_SetReportRate", 1], ["setCursorSpeed", 5],
                                   ["setDoubleClickSpeed", 5], ["setVerticalScrollLines", 3], ["mouseSetJMGD", 3]]

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

    // A page after its first initUI with the start lock ended at once.
    function startedPage() {
        var page = newPage()
        page.initUI(1)
        page.setProtectUI(0)
        ui_View.reset()
        return page
    }

    function test_firstStart_data() {
        var zh = { 0: Object.assign(["轴向灵敏度"], { 26: "重置", 27: "恢复出厂设置" }), 1: ["宏：", "禁用"], 2: ["左键"], 3: ["宏管理器"], 4: ["枪械管理器"], 5: ["宏按键"], 6: ["DPI 切换至"] }
        return [
            { tag: "no stored language", lang: undefined, strings: zh, reset: "Reset", question: "Reset Factroy Setting", rows: ["update", "verison:1.0"] },
            { tag: "English", lang: "English", strings: zh, reset: "Reset", question: "Reset Factroy Setting", rows: ["update", "verison:1.0"] },
            { tag: "Chinese", lang: "ChineseSimplified", strings: zh, zh: true, reset: "重置", question: "恢复出厂设置", rows: ["更新", "版本:1.0"] },
            { tag: "Chinese without language file", lang: "ChineseSimplified", strings: {}, zh: true, reset: "", question: "", rows: ["更新", "版本:1.0"] },
        ]
    }
    function test_firstStart(data) {
        var page = newPage()
        Object.assign(ui_View, { lang: data.lang, profile: "3", strings: data.strings })
        page.initUI(2)
        compare([page.visible, page.curDevice, page.language, part(page, "profileMain").profileNo], [true, 2, data.zh ? 1 : 0, 3])
        // Each panel gets its own set of the language file's texts.
        if (data.zh)
            compare([page.mainLang].concat(["keyMatrix", "keyMenu", "macroEditor", "gunControl", "macroKey"].map(n => part(page, n + "Main")[n + "Lang"])),
                    [0, 1, 2, 3, 4, 5].map(t => data.strings[t] ?? []))
        compare(["restBtn", "resetQuestion", "askRow0", "askRow1", "askRow2"].map(n => part(page, n).text),
                [data.reset, data.question, "www.orvane-gaming.com"].concat(data.rows))
    }

    function test_busyLock_data() {
        return [
            { tag: "start logo for a second", interval: 1000, start: true },
            { tag: "0 ms releases at once", interval: 0 },
            { tag: "1200 ms after a profile switch", interval: 1200 },
        ]
    }
    function test_busyLock(data) {
        var page = data.start ? newPage() : startedPage(), busy = part(page, "protectUIItem")
        // The start logo, then the parts it stands for until the first lock ends.
        var shown = () => ["powerOnLogo", "envItem", "mainLogo", "panelleft", "profileBtn", "flickableBar", "panelRightItem",
                           "downItem", "upItem", "mouseMain"].map(n => part(page, n).visible)
        var released = [false].concat(Array(9).fill(true))
        var setEnabledCalls = () => ui_View.calls.filter(c => c[0] === "setEnabled")
        var locked = Date.now()
        data.start ? page.initUI(1) : page.setProtectUI(data.interval)
        compare(busy.isBusy, data.interval > 0)
        if (data.interval > 0) {
            compare([setEnabledCalls()].concat(shown()), [[["setEnabled", false]]].concat(data.start ? released.map(v => !v) : released))
            tryCompare(busy, "isBusy", false, data.interval + 10000)
            // A lower bound only: a busy machine may hold the lock longer, never shorter.
            verify(Date.now() - locked >= data.interval, "released after " + (Date.now() - locked) + " ms")
        }
        compare([setEnabledCalls()].concat(shown()), [[["setEnabled", false], ["setEnabled", true]]].concat(released))
        if (!data.start)
            return
        // A later connection only changes the device; model 0 has no lift-off panel, model 2 no lighting.
        ui_View.reset()
        ui_View.lang = "ChineseSimplified"
        for (var model of [[0, true, false], [2, false, true], [1, true, true]]) {
            page.initUI(model[0])
            compare([page.curDevice, part(page, "lightControlMain").visible, part(page, "jmgdMain").visible], model)
        }
        compare([page.mainLang[26], busy.isBusy, ui_View.calls].concat(shown()), ["Reset", false, []].concat(released))
    }

    function test_userActions_data() {
        // The key panel sends its stored entries again; this profile holds none.
        var keysResend = ["mouseSetKeyMatrix", Array(64).fill(undefined)]
        var keys = p => part(p, "keyMatrixMain")
        var lighting = p => { var l = part(p, "lightControlMain"); l.colorR = 1; l.colorG = 2; l.colorB = 3; l.setLED(5, 6, 3); return l }
        // A profile as the default file holds it, and what the panels send again from it.
        var stored = { led: [0, 0, 4, 255, 0, 0], dpi: [400, 800, 1600, 3200, 6400, 1200, 2400, 4800],
                       dpiSelect: [1, 1, 1, 1, 1, 0, 0, 0], stageColors: [255, 0, 0, 0, 0, 255, 0, 255, 0] }
        var storedEffect = ["ui_06H_SetRGBLedEffect", 0, 0, 4, [0, 0, 4, 255, 0, 0]]
        var storedLight = [["ui_LEDColor", [255, 0, 0].concat(paletteTail)], storedEffect]
        var storedDpi = [["ui_11H_SetDPISet", 2, [3, 7, 15, 31, 63, 11, 23, 47], stored.dpi, stored.dpiSelect]]
            .concat(storedLight, [["ui_10H_SetLED8StageColor", 1, stored.stageColors]])
        var storedPanels = [storedEffect].concat(storedLight)   // lighting first, DPI after it
        var profile = p => { var m = part(p, "profileMain"); m.profileNo = 0; Object.assign(ui_View, stored); return m }
        return [
            { tag: "a press on the mask closes the help menu", act: p => { p.openDialog(part(p, "macroEditorMain"), true); part(p, "askMenu").visible = true }, clicks: [""], shown: { askMenu: false, mainMask: true, macroEditorMain: true } },
            { tag: "drag the mask behind a dialog", clicks: ["restBtn"], drag: [100, 600, 101, 597], calls: [["onXChanged", 1], ["onYChanged", -3]], shown: { mainMask: true } },
            // The reset dialog (427 x 102) starts centred at (286.5, 269) and stays inside the page.
            { tag: "drag the reset dialog", clicks: ["restBtn"], drag: [306, 319, 356, 339], at: ["factorysure", 336.5, 289] },
            { tag: "drag the reset dialog left and up", clicks: ["restBtn"], drag: [306, 319, 6, 19], at: ["factorysure", 0, 0] },
            { tag: "drag the reset dialog right and down", clicks: ["restBtn"], drag: [306, 319, 706, 619], at: ["factorysure", 573, 538] },
            { tag: "minimise (its artwork is closeBtn)", clicks: ["headerButton0"], calls: [["onMinimize"]], art: "/index/closeBtn.png" },
            { tag: "close (its artwork is minBtn)", clicks: ["headerButton1"], calls: [["onClose"]], art: "/index/minBtn.png" },
            { tag: "help", clicks: ["headerButton2"], shown: { askMenu: true } },
            { tag: "help, update", clicks: ["headerButton2", "askRow1"], calls: [["openUpdateExe"]], shown: { askMenu: false } },
            { tag: "help, version", clicks: ["headerButton2", "askRow2"], shown: { askMenu: false } },
            { tag: "reset", clicks: ["restBtn"], shown: { factorysure: true, mainMask: true } },
            { tag: "reset, Cancel", clicks: ["restBtn", "resetCancel"], shown: { factorysure: false, mainMask: false } },
            { tag: "macro editor", clicks: ["macroBtn"], shown: { macroEditorMain: true, mainMask: true }, at: ["macroEditorMain", 180, 100] },
            { tag: "profiles", clicks: ["profileBtn"], shown: { profileMain: true, mainMask: true } },
            { tag: "profiles, closed", clicks: ["profileBtn", "profileClose"], shown: { profileMain: false, mainMask: false } },
            { tag: "macro editor, cancelled", clicks: ["macroBtn", "macroEditorCancel"], shown: { macroEditorMain: false, mainMask: false } },
            { tag: "key menu", act: p => keys(p).clickKeyMatrix(3), shown: { keyMenuMain: true }, key: 3, at: ["keyMenuMain", 249, 194] },
            { tag: "hover on a key", act: p => keys(p).enterBtn(2), key: 2 },
            { tag: "hover on and off a key", act: p => { keys(p).enterBtn(2); keys(p).leaveBtn(2) }, key: -1 },
            { tag: "hover keeps the key of the open menu", act: p => { keys(p).clickKeyMatrix(1); keys(p).enterBtn(5); keys(p).leaveBtn(5) }, key: 1 },
            { tag: "empty area closes every pop-up", act: p => { part(p, "dpiSettingMain").openColorBar(1, "#00ff00"); keys(p).clickKeyMatrix(3) }, clicks: ["headerButton2", ""], shown: { keyMenuMain: false, colorBar: false, askMenu: false }, key: -1 },
            { tag: "lighting colour", act: p => lighting(p).setColor(10, 20, 30), calls: [["ui_06H_SetRGBLedEffect", 5, 0, 3, [5, 6, 3, 1, 2, 3]], ["ui_LEDColor", [10, 20, 30].concat(paletteTail)], ["ui_06H_SetRGBLedEffect", 5, 0, 3, [5, 0, 3, 1, 2, 3]]] },
            { tag: "lighting black becomes red", act: p => lighting(p).setColor(0, 0, 0), calls: [["ui_06H_SetRGBLedEffect", 5, 0, 3, [5, 6, 3, 1, 2, 3]], ["ui_LEDColor", [255, 0, 0].concat(paletteTail)], ["ui_06H_SetRGBLedEffect", 5, 7, 3, [5, 7, 3, 1, 2, 3]]] },
            { tag: "same profile", act: p => { profile(p).changeProfile(0); profile(p).closeUI() } },
            { tag: "other profile, closed twice", act: p => { var m = profile(p); m.changeProfile(2); m.closeUI(); m.closeUI() }, calls: [["ui_02H_SetCurrentProfile", 2], ["setEnabled", false], keysResend, resend[0]].concat(storedDpi, storedPanels, resend.slice(1), storedLight), busy: true },
        ]
    }
    function test_userActions(data) {
        var page = startedPage()
        part(page, "profileMain").profileNo = 4
        if (data.act)
            data.act(page)
        for (var name of data.clicks ?? [])
            name ? mouseClick(part(page, name)) : mouseClick(page, 400, 60)
        if (data.drag) {
            mouseMove(page, data.drag[0] - 5, data.drag[1])  // hovering alone moves nothing
            mousePress(page, data.drag[0], data.drag[1])
            for (var i = 2; i < data.drag.length; i += 2)
                mouseMove(page, data.drag[i], data.drag[i + 1], 0, Qt.LeftButton)
            mouseRelease(page, data.drag[i - 2], data.drag[i - 1])
        }
        compare(ui_Ctl.calls.concat(ui_View.calls), data.calls ?? [])
        for (var shown in data.shown ?? {})
            compare(part(page, shown).visible, data.shown[shown], shown)
        compare(part(page, "protectUIItem").isBusy, !!data.busy)
        if (data.key !== undefined)
            compare(part(page, "mouseMain").selectKey, data.key)
        if (data.at)
            compare([part(page, data.at[0]).x, part(page, data.at[0]).y], data.at.slice(1))
        if (data.art)
            verify(String(part(page, data.clicks[0]).normalSource).endsWith(data.art))
    }

    function test_scrollThumb_data() {
        // atEnd: positions counted from the last full view.
        return [
            { tag: "down", start: 0, moves: [40], result: 40 },
            { tag: "up stops at the top", start: 30, moves: [-50], result: 0 },
            { tag: "down past the end only from below it", atEnd: true, start: -22, moves: [40, 40], result: 18 },
            { tag: "up is always allowed", atEnd: true, start: 18, moves: [-20], result: -2 },
        ]
    }
    function test_scrollThumb(data) {
        var page = startedPage(), panel = part(page, "panelRightItem"), thumb = part(page, "scrollThumb")
        var base = data.atEnd ? panel.contentHeight - 563 : 0
        verify(panel.contentHeight > 663, "the right column is taller than its window")
        panel.contentY = base + data.start
        fuzzyCompare(thumb.height, 563 * 563 / panel.contentHeight, 0.01)
        var at = thumb.mapToItem(page, 0, 0)
        fuzzyCompare(at.y, 32 + panel.contentY / panel.contentHeight * 563, 0.01)
        var x = at.x + 4, y = at.y + 10
        mousePress(page, x, y)
        data.moves.forEach(d => mouseMove(page, x, y += d, 0, Qt.LeftButton))
        mouseRelease(page, x, y)
        compare(panel.contentY, base + data.result)
    }

    function test_colorMath_data() {
        return [
            ["colorAt", -2, "#ff0000"], ["colorAt", 125, "#ff0000"], ["colorAt", 8, "#ff7900"], ["colorAt", 19, "#ffff00"], ["colorAt", 21, "#e7ff00"],
            ["colorAt", 40, "#00ff00"], ["colorAt", 61, "#00ffff"], ["colorAt", 82, "#0000ff"], ["colorAt", 103, "#ff00ff"], ["colorAt", 104, "#ff00f3"],
            ["sliderPosition", "#ff0000", -2], ["sliderPosition", "#FF7F00", 8], ["sliderPosition", "#ffff00", 19], ["sliderPosition", "#00ff00", 40],
            ["sliderPosition", "#00ffff", 62], ["sliderPosition", "#0000ff", 83], ["sliderPosition", "#ff00ff", 104], ["sliderPosition", "#ff0080", 115],
            ["sliderPosition", "#808080", -2], ["sliderPosition", "red", -2], ["popupX", 0, 25], ["popupX", 1, 61], ["popupX", 2, 98],
            ["popupX", 3, -17], ["popupX", 4, 20], ["popupX", 5, 58], ["popupX", 7, 58],
        ].map(r => ({ tag: r[0] + "(" + r[1] + ")", f: r[0], arg: r[1], result: r[2] }))
    }
    function test_colorMath(data) {
        compare(ColorMath[data.f](data.arg), data.result)
    }

    function test_colorPopup_data() {
        return [
            { tag: "preset 3", stage: 2, start: "#00ff00", preset: 3, chosen: "#ffff00", slider: 19, rgb: ["255", "255", "0"] },
            { tag: "fifth preset repeats blue", stage: 0, start: "#ff0000", preset: 4, chosen: "#0000ff", slider: 83, rgb: ["0", "0", "255"] },
            { tag: "click on the bar", stage: 4, start: "#ff0000", click: 23, chosen: "#e7ff00", slider: 21, rgb: ["231", "255", "0"] },
            { tag: "slider past the right end", stage: 3, start: "#ff00ff", drag: 200, chosen: "#ff0000", slider: 125, rgb: ["255", "0", "0"] },
            { tag: "slider past the left end", stage: 1, start: "#00ffff", drag: -200, chosen: "#ff0000", slider: -2, rgb: ["255", "0", "0"] },
        ]
    }
    function test_colorPopup(data) {
        var page = startedPage(), bar = part(page, "colorBar")
        var chosen = createTemporaryObject(signalSpy, testCase, { target: bar, signalName: "colorChosen" })
        var state = () => [bar.visible, bar.x, bar.sliderX, bar.currentColor].concat(["R", "G", "B"].map(c => part(bar, "component" + c).text))
        part(page, "dpiSettingMain").openColorBar(data.stage, data.start)
        var x = 734 + ColorMath.popupX(data.stage)   // above the right column, where its layout puts it
        compare(state(), [true, x, ColorMath.sliderPosition(data.start), data.start].concat(ColorMath.rgbOf(data.start).map(String)))
        if (data.preset !== undefined)
            mouseClick(Array.from(part(bar, "colorPreset").parent.children).filter(c => c.objectName === "colorPreset")[data.preset])
        else if (data.click)
            mouseClick(part(bar, "hueBar"), data.click, 6)
        else {
            var slider = part(bar, "colorSlider")
            mousePress(slider, 3, 9)
            mouseMove(slider, 3 + data.drag, 9, 0, Qt.LeftButton)
            mouseRelease(slider, 3 + data.drag, 9)
        }
        compare([chosen.count, chosen.signalArguments[0][0]].concat(state()), [1, data.chosen, true, x, data.slider, data.chosen].concat(data.rgb))
    }

    // A damaged application file may hold any profile number; the page uses 0 for one outside 0..9.
    function test_profileNumber_data() {
        return [["3", 3], [9, 9], ["12", 0], [-1, 0], ["abc", 0], ["", 0], [2.5, 0], [undefined, 0], ["10", 0]]
            .map(r => ({ tag: String(r[0]), stored: r[0], used: r[1] }))
    }
    function test_profileNumber(data) {
        var page = newPage()
        ui_View.profile = data.stored
        page.initUI(1)
        compare([part(page, "profileMain").profileNo, ui_View.calls.filter(c => c[0] === "ui_02H_SetCurrentProfile")],
                [data.used, [["ui_02H_SetCurrentProfile", data.used]]])
    }

    // Lighting: clicks on the effect rows, level sliders, presets and hue bar, and what goes to the bridge.
    function test_lighting_data() {
        var effect = (e, c, s, rec) => ["ui_06H_SetRGBLedEffect", e, 0, s, [e, c, s].concat(rec)]
        var palette = rgb => ["ui_LEDColor", rgb.concat(paletteTail)]
        var red = [255, 0, 0]
        return [
            { tag: "zones: x 33 gives 0", clicks: [["levelSlider0", 33]], calls: [effect(0, 0, 0, red)], effect: 0, level: 0 },
            { tag: "zones: x 34 gives 1", clicks: [["levelSlider0", 34]], calls: [effect(0, 0, 1, red)], level: 1 },
            { tag: "zones: x 92 gives 2", clicks: [["levelSlider0", 92]], calls: [effect(0, 0, 2, red)], level: 2 },
            { tag: "zones: x 93 gives 3", clicks: [["levelSlider0", 93]], calls: [effect(0, 0, 3, red)], level: 3 },
            { tag: "the level already set sends nothing", clicks: [["levelSlider0", 125]], calls: [], level: 4 },
            { tag: "another effect's slider is locked", clicks: [["levelSlider2", 10]], calls: [], effect: 0 },
            { tag: "the selected effect again sends again", clicks: [["effectButton0"]], calls: [effect(0, 0, 4, red)] },
            { tag: "knob dragged to 3", drag: -20, calls: [effect(0, 0, 3, red)], level: 3 },
            { tag: "knob dragged to 2", drag: -30, calls: [effect(0, 0, 2, red)], level: 2 },
            { tag: "knob dragged past the end stays", drag: 10, calls: [], level: 4 },
            { tag: "preset 5 sends green 103, records 127", clicks: [["lightPreset5"], ["effectButton0"]],
              calls: [palette([255, 103, 0]), effect(0, 0, 4, [255, 127, 0]), effect(0, 0, 4, [255, 127, 0])], rgb: [255, 127, 0] },
            { tag: "preset 7 white", clicks: [["lightPreset7"]], calls: [palette([255, 255, 255]), effect(0, 0, 4, [255, 255, 255])], rgb: [255, 255, 255] },
            { tag: "hue bar click", clicks: [["lightHueBar", 23]], calls: [palette([231, 255, 0]), effect(0, 0, 4, [231, 255, 0])], rgb: [231, 255, 0], knob: 21 },
            { tag: "a stored black record sends red with colour 7", led: [3, 0, 1, 0, 0, 0], refresh: true,
              calls: [palette(red), ["ui_06H_SetRGBLedEffect", 3, 7, 1, [3, 7, 1, 0, 0, 0]]], effect: 3, level: 1 },
            { tag: "loading with sending: the stored effect, then red", led: [13, 2, 9, 10, 20, 30], send: true,
              calls: [["ui_06H_SetRGBLedEffect", 13, 0, 9, [13, 2, 9, 10, 20, 30]], palette(red), ["ui_06H_SetRGBLedEffect", 13, 0, 9, [13, 0, 9, 10, 20, 30]]],
              effect: 13, level: 4, rgb: [10, 20, 30] },
        ]
    }
    function test_lighting(data) {
        var page = startedPage(), light = part(page, "lightControlMain")
        ui_View.led = data.led ?? [0, 0, 4, 255, 0, 0]
        light.init(!!data.send)
        if (data.refresh)
            light.refresh()
        for (var c of data.clicks ?? [])
            c.length > 1 ? mouseClick(part(light, c[0]), c[1], 7) : mouseClick(part(light, c[0]))
        if (data.drag) {
            var slider = part(light, "levelSlider0")   // its knob is centred at 122
            mousePress(slider, 122, 7)
            mouseMove(slider, 122 + data.drag / 2, 7, 0, Qt.LeftButton)
            mouseMove(slider, 122 + data.drag, 7, 0, Qt.LeftButton)
            mouseRelease(slider, 122 + data.drag, 7)
        }
        compare(ui_View.calls, data.calls)
        var effect = data.effect ?? 0
        compare(light.selectedEffect, effect)
        if (data.level !== undefined)
            compare(part(light, "effect" + effect).level, data.level)
        if (data.rgb)
            compare([light.colorR, light.colorG, light.colorB], data.rgb)
        if (data.knob !== undefined)
            compare(part(light, "lightHueKnob").x, data.knob)
    }

    function test_lightingLayout() {
        var page = startedPage(), light = part(page, "lightControlMain")
        var names = []
        for (var k = 0; k < 14; ++k)
            names.push(part(light, "effect" + k).visible)
        compare(names, Array(5).fill(true).concat(Array(9).fill(false)))
        var captions = e => Array.from(part(light, "effect" + e).children).filter(c => c.text !== undefined && c.font.pixelSize === 9).map(c => c.text)
        compare([captions(0), captions(1), captions(13)], [["0%", "25%", "50%", "75%", "100%"], ["3 s", "6 s", "9 s", "12 s", "15 s"], ["0%", "25%", "50%", "75%", "100%"]])
        compare(part(light, "effect4").children[0].children[1].text, "RGB")
        page.curDevice = 2
        verify(!light.visible)
    }

    // DPI: a click on a track, a toggle, a colour swatch and the pop-up, on each variant's span.
    function test_dpi_data() {
        var values = v => [400, 800, 1600, v, 6400, 1200, 2400, 4800]
        var relightRed = [["ui_LEDColor", [255, 0, 0].concat(paletteTail)], ["ui_06H_SetRGBLedEffect", 0, 0, 4, [0, 0, 4, 255, 0, 0]]]
        var dpi = (v, sel) => [["ui_11H_SetDPISet", 2, values(v).map(x => Math.floor(x / 100) - 1), values(v), sel ?? [1, 1, 1, 1, 1, 0, 0, 0]]].concat(relightRed)
        return [
            { tag: "variant 0: top gives 12000", device: 0, y: 7, calls: dpi(12000), label: "12000" },
            { tag: "variant 3: top gives 18000", device: 3, y: 7, calls: dpi(18000), label: "18000" },
            { tag: "variant 2: top gives 16000", device: 2, y: 8, calls: dpi(16000), label: "16000" },
            { tag: "below the track gives 200", device: 3, y: 165, calls: dpi(200), label: "200" },
            { tag: "middle of the track", device: 1, y: 85, calls: dpi(8100), label: "8100" },   // h 77: 15800 / 2 + 200
            { tag: "knob dragged to the middle", device: 1, drag: 85, calls: dpi(8100), label: "8100" },
            { tag: "toggle", device: 1, toggle: 4, calls: dpi(3200, [1, 1, 1, 1, 0, 0, 0, 0]) },
            { tag: "swatch 3, preset blue", device: 1, swatch: 3, preset: 1,
              calls: [["ui_10H_SetLED8StageColor", 1, [255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 255, 255, 255, 0, 255, 255, 0, 255, 255, 0, 255]]]
                  .concat([["ui_10H_SetLED8StageColor", 1, [255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 255, 255, 255, 0, 255, 255, 0, 255, 255, 0, 255]]], relightRed),
              popupX: 734 - 17 },
        ]
    }
    function test_dpi(data) {
        var page = startedPage(), dpi = part(page, "dpiSettingMain")
        compare(part(dpi, "dpiValue3").text, "6000")   // before the first init
        page.curDevice = data.device
        Object.assign(ui_View, { led: [0, 0, 4, 255, 0, 0], dpi: [400, 800, 1600, 3200, 6400, 1200, 2400, 4800], dpiSelect: [1, 1, 1, 1, 1, 0, 0, 0],
                                 stageColors: [255, 0, 0, 0, 0, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 0, 255, 255, 0, 255, 255, 0, 255] })
        part(page, "lightControlMain").init(false)
        dpi.init(false)
        compare(part(dpi, "dpiSwatch4").color, "#00ffff")
        if (data.y !== undefined)
            mouseClick(part(dpi, "dpiTrack3"), 3, data.y)
        if (data.drag !== undefined) {
            var track = part(dpi, "dpiTrack3"), panel = part(page, "panelRightItem")
            mousePress(track, 3, part(dpi, "dpiKnob3").y + 3)   // on the knob of 3200
            mouseMove(track, 3, 120, 0, Qt.LeftButton)
            mouseMove(track, 3, data.drag, 0, Qt.LeftButton)
            // The label follows, nothing is sent yet, and the column does not flick meanwhile.
            compare([part(dpi, "dpiValue3").text, ui_View.calls, panel.interactive], [data.label, [], false])
            mouseRelease(track, 3, data.drag)
            verify(panel.interactive)
        }
        if (data.toggle !== undefined)
            mouseClick(part(dpi, "dpiToggle" + data.toggle))
        if (data.swatch !== undefined) {
            mouseClick(part(dpi, "dpiSwatch" + data.swatch))
            compare([part(page, "colorBar").visible, part(page, "colorBar").x], [true, data.popupX])
            var presets = Array.from(part(page, "colorPreset").parent.children).filter(c => c.objectName === "colorPreset")
            mouseClick(presets[data.preset])
        }
        compare(ui_View.calls, data.calls)
        if (data.label)
            compare(part(dpi, "dpiValue3").text, data.label)
        compare([5, 6, 7].map(i => part(dpi, "dpiStage" + i).visible), [false, false, false])
        compare(part(dpi, "dpiSwatch0").visible, data.device !== 2)
    }

    function test_collapse_data() {
        return [{ tag: "DPI", name: "dpiSettingMain", open: 251 }, { tag: "lighting", name: "lightControlMain", open: 283 }]
    }
    function test_collapse(data) {
        var page = startedPage(), panel = part(page, data.name)
        compare(panel.height, data.open)
        mouseClick(panel, 40, 9)
        mouseClick(panel, 40, 9)   // during the slide: ignored
        tryCompare(panel, "height", 18, 2000)
        mouseClick(panel, 40, 9)
        tryCompare(panel, "height", data.open, 2000)
    }
}
