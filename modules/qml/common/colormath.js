.pragma library

// Colour maths of the hue bar: a 128-pixel bar split into six hue segments,
// with a slider whose x runs from -2 to 125.

var sliderMin = -2
var sliderMax = 125
var presetColors = ["#ff0000", "#0000ff", "#00ff00", "#ffff00", "#0000ff", "#ff00ff"]
var popupXByStage = [25, 61, 98, -17, 20]

function clampSlider(x) {
    return Math.max(sliderMin, Math.min(sliderMax, x))
}

function hex2(v) {
    var s = Math.max(0, Math.min(255, v)).toString(16)
    return s.length < 2 ? "0" + s : s
}

function rgbText(r, g, b) {
    return "#" + hex2(r) + hex2(g) + hex2(b)
}

// [r, g, b] of "#rrggbb"; [0, 0, 0] for anything else.
function rgbOf(colorText) {
    var t = String(colorText)
    if (!/^#[0-9a-fA-F]{6}$/.test(t))
        return [0, 0, 0]
    return [parseInt(t.substr(1, 2), 16), parseInt(t.substr(3, 2), 16), parseInt(t.substr(5, 2), 16)]
}

// Colour under the slider at x = p.
function colorAt(p) {
    var w = Math.floor(128 / 6)
    var s = Math.trunc((p + 2) / w)
    var f = Math.trunc(((p + 2) - s * w) * 255 / w)
    var rgb
    switch (s) {
    case 0: rgb = [255, f, 0]; break
    case 1: rgb = [255 - f, 255, 0]; break
    case 2: rgb = [0, 255, f]; break
    case 3: rgb = [0, 255 - f, 255]; break
    case 4: rgb = [f, 0, 255]; break
    case 5: rgb = [255, 0, 255 - f]; break
    default: rgb = [255, 0, 0]
    }
    return rgbText(rgb[0], rgb[1], rgb[2])
}

// Slider x that shows colourText; -2 for a colour off the hue circle.
function sliderPosition(colorText) {
    var t = String(colorText).toLowerCase()
    if (!/^#[0-9a-f]{6}$/.test(t))
        return sliderMin
    var r = t.substr(1, 2), g = t.substr(3, 2), b = t.substr(5, 2)
    var rgb = rgbOf(t)
    var d = 128 / 6
    var v = d / 256
    var x = 0
    if (r === "ff" && b === "00")
        x = v * rgb[1]
    else if (r === "00" && b === "ff")
        x = 3 * d + v * (255 - rgb[1])
    else if (g === "ff" && b === "00")
        x = d + v * (255 - rgb[0])
    else if (g === "00" && b === "ff")
        x = 4 * d + v * rgb[0]
    else if (r === "00" && g === "ff")
        x = 2 * d + v * rgb[2]
    else if (r === "ff" && g === "00")
        x = 5 * d + v * (255 - rgb[2])
    return Math.trunc(x - 2)
}

// x of the colour pop-up above DPI stage `stage`.
function popupX(stage) {
    return stage >= 0 && stage < popupXByStage.length ? popupXByStage[stage] : 58
}

