import QtQuick
import QtTest
import "qrc:/modules/qml/common/colormath.js" as ColorMath

TestCase {
    id: testCase
    name: "ColorBar"
    width: 1000
    height: 640
    when: windowShown
    visible: true

    function test_colorAt_data() {
        return [
            { tag: "left end", p: -2, color: "#ff0000" },
            { tag: "right end is segment 6", p: 125, color: "#ff0000" },
            { tag: "inside segment 0", p: 8, color: "#ff7900" },
            { tag: "start of segment 1", p: 19, color: "#ffff00" },
            { tag: "start of segment 2", p: 40, color: "#00ff00" },
            { tag: "start of segment 3", p: 61, color: "#00ffff" },
            { tag: "start of segment 4", p: 82, color: "#0000ff" },
            { tag: "start of segment 5", p: 103, color: "#ff00ff" },
            { tag: "inside segment 5", p: 104, color: "#ff00f3" },
            { tag: "inside segment 1", p: 21, color: "#e7ff00" },
        ]
    }

    function test_colorAt(data) {
        compare(ColorMath.colorAt(data.p), data.color)
    }

    function test_sliderPosition_data() {
        return [
            { tag: "red", color: "#ff0000", x: -2 },
            { tag: "orange, upper case", color: "#FF7F00", x: 8 },
            { tag: "yellow", color: "#ffff00", x: 19 },
            { tag: "green", color: "#00ff00", x: 40 },
            { tag: "cyan takes the first matching rule", color: "#00ffff", x: 62 },
            { tag: "blue", color: "#0000ff", x: 83 },
            { tag: "magenta", color: "#ff00ff", x: 104 },
            { tag: "red to magenta", color: "#ff0080", x: 115 },
            { tag: "grey matches no rule", color: "#808080", x: -2 },
            { tag: "not a colour", color: "red", x: -2 },
        ]
    }

    function test_sliderPosition(data) {
        compare(ColorMath.sliderPosition(data.color), data.x)
    }

    function test_popupX_data() {
        return [
            { tag: "stage 0", stage: 0, x: 25 }, { tag: "stage 1", stage: 1, x: 61 },
            { tag: "stage 2", stage: 2, x: 98 }, { tag: "stage 3", stage: 3, x: -17 },
            { tag: "stage 4", stage: 4, x: 20 }, { tag: "stage 5", stage: 5, x: 58 },
            { tag: "stage 7", stage: 7, x: 58 },
        ]
    }

    function test_popupX(data) {
        compare(ColorMath.popupX(data.stage), data.x)
    }

    // The pop-up inside the page, driven by the mouse.
    function startedPage() {
        ui_View.reset()
        var component = Qt.createComponent("qrc:/modules/qml/main.qml")
        compare(component.status, Component.Ready, component.errorString())
        var page = createTemporaryObject(component, testCase)
        page.initUI(1)
        page.setProtectUI(0)
        return page
    }

    function components(bar) {
        return [findChild(bar, "componentR").text, findChild(bar, "componentG").text,
                findChild(bar, "componentB").text]
    }

    function test_popupUse_data() {
        return [
            { tag: "preset 3", stage: 2, start: "#00ff00", act: "preset", preset: 3,
              chosen: "#ffff00", slider: 19, rgb: ["255", "255", "0"] },
            { tag: "fifth preset repeats blue", stage: 0, start: "#ff0000", act: "preset", preset: 4,
              chosen: "#0000ff", slider: 83, rgb: ["0", "0", "255"] },
            { tag: "click on the bar", stage: 4, start: "#ff0000", act: "click", clickX: 23,
              chosen: "#e7ff00", slider: 21, rgb: ["231", "255", "0"] },
            { tag: "slider dragged past the right end", stage: 3, start: "#ff00ff", act: "drag", dx: 200,
              chosen: "#ff0000", slider: 125, rgb: ["255", "0", "0"] },
            { tag: "slider dragged past the left end", stage: 1, start: "#00ffff", act: "drag", dx: -200,
              chosen: "#ff0000", slider: -2, rgb: ["255", "0", "0"] },
        ]
    }

    function test_popupUse(data) {
        var page = startedPage()
        var bar = findChild(page, "colorBar")
        var chosen = signalSpy.createObject(testCase, { target: bar, signalName: "colorChosen" })
        findChild(page, "dpiSettingMain").openColorBar(data.stage, data.start)
        compare(bar.visible, true)
        compare(bar.x, ColorMath.popupX(data.stage))
        compare(bar.sliderX, ColorMath.sliderPosition(data.start))
        compare(components(bar), ColorMath.rgbOf(data.start).map(String))

        if (data.act === "preset") {
            // The presets are the children of their row, in order.
            var row = findChild(bar, "colorPreset").parent
            var swatches = Array.from(row.children).filter(c => c.objectName === "colorPreset")
            compare(swatches.length, 6)
            mouseClick(swatches[data.preset])
        } else if (data.act === "click") {
            mouseClick(findChild(bar, "hueBar"), data.clickX, 6)
        } else {
            var slider = findChild(bar, "colorSlider")
            mousePress(slider, 3, 9)
            mouseMove(slider, 3 + data.dx, 9, 0, Qt.LeftButton)
            mouseRelease(slider, 3 + data.dx, 9)
        }
        compare(chosen.count, 1)
        compare(chosen.signalArguments[0][0], data.chosen)
        compare(bar.sliderX, data.slider)
        compare(bar.currentColor, data.chosen)
        compare(components(bar), data.rgb)
    }

    Component {
        id: signalSpy
        SignalSpy {}
    }
}
