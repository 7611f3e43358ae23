import QtQuick
import QtTest
import "qrc:/modules/qml/common/colormath.js" as ColorMath
import "qrc:/modules/qml/common/sensormath.js" as SensorMath
import "qrc:/modules/qml/J2/panelmath.js" as PanelMath

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

    function newPage() {
        ui_View.reset()
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

    // The start logo for a second, then a lock after a profile switch, then one of 0 ms, which releases at once.
    function test_busyLock() {
        var page = newPage(), busy = findChild(page, "protectUIItem")
        // The start logo, then the parts it stands for until the first lock ends.
        var shown = () => ["powerOnLogo", "envItem", "mainLogo", "panelleft", "profileBtn", "flickableBar", "panelRightItem",
                           "downItem", "upItem", "mouseMain"].map(n => findChild(page, n).visible)
        var released = [false].concat(Array(9).fill(true))
        var setEnabledCalls = () => ui_View.calls.filter(c => c[0] === "setEnabled")
        for (var [interval, start] of [[1000, true], [1200, false], [0, false]]) {
            ui_View.reset()
            var locked = Date.now()
            start ? page.initUI(1) : page.setProtectUI(interval)
            if (interval > 0) {
                compare([setEnabledCalls()].concat(shown()),
                        [[["setEnabled", false]]].concat(start ? released.map(v => !v) : released))
                tryCompare(busy, "isBusy", false, interval + 10000)
                // A lower bound only: a busy machine may hold the lock longer, never shorter.
                verify(Date.now() - locked >= interval, "released after " + (Date.now() - locked) + " ms")
            }
            compare([setEnabledCalls()].concat(shown()),
                    [[["setEnabled", false], ["setEnabled", true]]].concat(released))
        }
        // A later connection only changes the device; model 0 has no lift-off panel, model 2 no lighting.
        ui_View.reset()
        ui_View.lang = "ChineseSimplified"
        for (var model of [[0, true, false], [2, false, true], [1, true, true]]) {
            page.initUI(model[0])
            compare([page.curDevice, ...["lightControlMain", "jmgdMain"].map(n => findChild(page, n).visible)], model)
        }
        compare([page.mainLang[26], busy.isBusy, ui_View.calls].concat(shown()), ["Reset", false, []].concat(released))
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
        var page = startedPage(), panel = findChild(page, "panelRightItem"), thumb = findChild(page, "scrollThumb")
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

    // The stage value a press at y on a track gives on a model.
    function dpiAt(y, device) { return PanelMath.dpiFromHeight(PanelMath.heightAt(y), PanelMath.dpiSpan(device)) }

    // The colour bar, the sensor panels' geometry (dials, quadrants, slider zones, stored values), the DPI tracks
    // and the lighting level sliders.
    function test_maths_data() {
        return [
            // A row per hue bar segment and branch of the sliders (its ends: test_colorPopup); each pop-up place.
            ["colorAt", [8], "#ff7900"], ["colorAt", [40], "#00ff00"], ["colorAt", [61], "#00ffff"],
            ["colorAt", [82], "#0000ff"], ["colorAt", [104], "#ff00f3"], ["sliderPosition", ["#FF7F00"], 8],
            ["sliderPosition", ["#00ff00"], 40], ["sliderPosition", ["#0000ff"], 83], ["popupX", [0], 25],
            ["sliderPosition", ["#ff00ff"], 104], ["sliderPosition", ["#ff0080"], 115], ["popupX", [3], -17],
            ["sliderPosition", ["#808080"], -2], ["sliderPosition", ["red"], -2], ["popupX", [5], 58],
            ["popupX", [1], 61], ["popupX", [2], 98], ["popupX", [4], 20],
            // Speed dial 180 wide: centre x 90, base line y 70.
            ["dialLevel", [179, 79, 180], 11], ["dialLevel", [0, 69, 180], 0], ["dialLevel", [0, 20, 180], 2],
            ["dialLevel", [30, 10, 180], 3], ["dialLevel", [150, 10, 180], 8], ["dialLevel", [179, 69, 180], 10],
            ["dialAngle", [30, 10, 180], 45], ["dialAngle", [89, 0, 180], 89], ["dialAngle", [91, 0, 180], 90],
            ["dialAngle", [150, 71, 180], 180], ["dialImage", [9], 9], ["dialImage", [11], 10],
            // Report-rate dial quadrants: top-left 8, bottom-left 4, bottom-right 2, top-right 1.
            ["reportQuadrant", [57, 57, 116, 116], 8], ["reportQuadrant", [57, 58, 116, 116], 4],
            ["reportQuadrant", [58, 58, 116, 116], 2], ["reportQuadrant", [58, 57, 116, 116], 1],
            ["loadedReportRate", [4], 4], ["loadedReportRate", [undefined], 0], ["reportImage", [1], "1000"],
            ["reportImage", [2], "500"], ["reportImage", [4], "250"], ["reportImage", [3], "125"],
            // Axis slider zones by x and knob centres.
            ["xyZone", [29], 0], ["xyZone", [30], 1], ["xyZone", [51], 1], ["xyZone", [52], 2], ["xyZone", [94], 3],
            ["xyZone", [95], 4], ["xyZone", [158], 6], ["xyZone", [199], 8], ["xyZone", [200], 9],
            ["xyKnobCentre", [0, true], 10], ["xyKnobCentre", [5, true], 116], ["xyKnobCentre", [9, false], 199],
            ["xyKnobCentre", [9, true], 200],
            // Scroll-lines field and its buttons.
            ["scrollFieldValue", [""], 1], ["scrollFieldValue", ["42"], 42], ["scrollFieldValue", ["999"], 100],
            ["scrollPlus", ["100"], 100], ["scrollPlus", [""], 1], ["scrollMinus", ["1"], 1], ["scrollMinus", ["0"], 1],
            ["scrollMinus", ["9"], 8],
            // The top of a track, its edge and below it; level slider zones by x.
            ["dpiAt", [7, 3], 18000], ["dpiAt", [8, 2], 16000], ["dpiAt", [165, 3], 200], ["levelAt", [33], 0],
            ["levelAt", [34], 1], ["levelAt", [62], 1], ["levelAt", [63], 2], ["levelAt", [92], 2],
            ["levelAt", [93], 3], ["levelAt", [121], 3], ["levelAt", [125], 4],
        ].map(r => ({ tag: r[0] + "(" + r[1].join(", ") + ")", f: r[0], args: r[1], result: r[2] }))
    }
    function test_maths(data) {
        compare((ColorMath[data.f] ?? SensorMath[data.f] ?? PanelMath[data.f] ?? this[data.f]).apply(null, data.args), data.result)
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
        var page = startedPage(), bar = findChild(page, "colorBar")
        var chosen = createTemporaryObject(signalSpy, testCase, { target: bar, signalName: "colorChosen" })
        var state = () => [bar.visible, bar.x, bar.sliderX, bar.currentColor,
                           ...["R", "G", "B"].map(c => findChild(bar, "component" + c).text)]
        findChild(page, "dpiSettingMain").openColorBar(data.stage, data.start)
        var x = 734 + ColorMath.popupX(data.stage)   // above the right column, where its layout puts it
        compare(state(), [true, x, ColorMath.sliderPosition(data.start), data.start].concat(ColorMath.rgbOf(data.start).map(String)))
        if (data.preset !== undefined)
            mouseClick(Array.from(findChild(bar, "colorPreset").parent.children)
                       .filter(c => c.objectName === "colorPreset")[data.preset])
        else if (data.click)
            mouseClick(findChild(bar, "hueBar"), data.click, 6)
        else {
            var slider = findChild(bar, "colorSlider")
            mousePress(slider, 3, 9)
            mouseMove(slider, 3 + data.drag, 9, 0, Qt.LeftButton)
            mouseRelease(slider, 3 + data.drag, 9)
        }
        compare([chosen.count, chosen.signalArguments[0][0]].concat(state()), [1, data.chosen, true, x, data.slider, data.chosen].concat(data.rgb))
    }

    function test_collapse_data() {
        return [{ tag: "DPI", name: "dpiSettingMain", open: 251 }, { tag: "lighting", name: "lightControlMain", open: 283 }]
    }
    function test_collapse(data) {
        var page = startedPage(), panel = findChild(page, data.name)
        mouseClick(panel, 40, 9)
        mouseClick(panel, 40, 9)   // during the slide: ignored
        tryCompare(panel, "height", 18, 2000)
        mouseClick(panel, 40, 9)
        tryCompare(panel, "height", data.open, 2000)
    }
}
