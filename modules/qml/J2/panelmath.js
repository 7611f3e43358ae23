.pragma library

// Geometry of the DPI stage tracks and the lighting level sliders.

// DPI track: a 7 x 170 image whose bar runs from y = 162 (empty) up to y = 8 (full).
var trackTop = 8
var trackBottom = 162
var trackLength = trackBottom - trackTop

// Range above the lowest value (200) of the connected variant.
function dpiSpan(curDevice) {
    if (curDevice === 0)
        return 11800
    if (curDevice === 3)
        return 17800
    return 15800
}

function dpiFromHeight(h, span) {
    return Math.floor((span * h / trackLength + 200) / 100) * 100
}

function heightFromDpi(value, span) {
    return Math.max(0, Math.min(trackLength, (value - 200) * trackLength / span))
}

// Bar height for a press at y on the track image.
function heightAt(y) {
    if (y < trackTop)
        return trackLength
    if (y > trackBottom)
        return 0
    return trackBottom - y
}

// Lighting level slider: five positions with the knob centred at these x.
var levelCentres = [4, 34, 63, 93, 122]

function levelAt(x) {
    if (x < 34)
        return 0
    if (x < 63)
        return 1
    if (x < 93)
        return 2
    if (x < 122)
        return 3
    return 4
}

// Effects 0 and 13 set a brightness, all others a speed.
function levelCaptions(effect) {
    return effect === 0 || effect === 13 ? ["0%", "25%", "50%", "75%", "100%"]
                                         : ["3 s", "6 s", "9 s", "12 s", "15 s"]
}

// Index in the main page's texts of the name of effect `code`.
function effectNameIndex(code) {
    return code < 4 ? 5 + code : 31 + code
}

// Lighting presets: swatch, the colour recorded on the page, the colour sent.
var presets = [
    { swatch: "#ff0000", recorded: [255, 0, 0], sent: [255, 0, 0] },
    { swatch: "#0000ff", recorded: [0, 0, 255], sent: [0, 0, 255] },
    { swatch: "#00ff00", recorded: [0, 255, 0], sent: [0, 255, 0] },
    { swatch: "#ffff00", recorded: [255, 255, 0], sent: [255, 255, 0] },
    { swatch: "#00ffff", recorded: [0, 255, 255], sent: [0, 255, 255] },
    { swatch: "#ff6700", recorded: [255, 127, 0], sent: [255, 103, 0] },
    { swatch: "#ff00ff", recorded: [255, 0, 255], sent: [255, 0, 255] },
    { swatch: "#ffffff", recorded: [255, 255, 255], sent: [255, 255, 255] },
]

// 24 values: R, G, B of each "#rrggbb" in `colours`.
function colourBytes(colours) {
    var out = []
    for (var k = 0; k < colours.length; ++k) {
        var t = String(colours[k])
        for (var c = 0; c < 3; ++c)
            out.push(parseInt(t.substr(1 + 2 * c, 2), 16) || 0)
    }
    return out
}

// A profile number as the page uses it: 0..9, anything else 0.
function profileIndex(value) {
    var n = Number(value)
    return Number.isInteger(n) && n >= 0 && n <= 9 ? n : 0
}
