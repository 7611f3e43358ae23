.pragma library

// Geometry of the sensor and system panels: which value a pointer position
// on a dial or slider stands for, and how stored values are shown.

// Report-rate dial: quadrant under the pointer -> interval code.
function reportQuadrant(x, y, width, height) {
    var left = x < width / 2
    var top = y < height / 2
    if (left)
        return top ? 8 : 4
    return top ? 1 : 2
}

// Loaded report rate: the stored integer, at most 8.
function loadedReportRate(stored) {
    var v = parseInt(stored)
    if (isNaN(v))
        return 0
    return Math.min(v, 8)
}

// Image name stem of the dial for an interval code; anything unknown shows 125 Hz.
function reportImage(value) {
    switch (value) {
    case 1: return "1000"
    case 2: return "500"
    case 4: return "250"
    default: return "125"
    }
}

// Half-circle dial: the base line lies at y = 70, the centre at half the width.
var dialBaseLine = 70

function dialAngle(x, y, width) {
    var c = width / 2
    var dy = Math.max(0, dialBaseLine - y)
    if (x < c) {
        var dxl = c - x
        if (dy === 0)
            return 0
        if (dxl === 0)
            return 90
        return Math.trunc(Math.atan(dy / dxl) * 180 / Math.PI)
    }
    var dx = x - c
    if (dy === 0)
        return 180
    if (dx === 0)
        return 90
    return 90 + Math.trunc(Math.atan(dx / dy) * 180 / Math.PI)
}

function dialLevel(x, y, width) {
    var angle = dialAngle(x, y, width)
    return angle === 0 ? 0 : Math.floor(angle / 18) + 1
}

// Levels 0..9 have their own dial image; every level from 10 up shows the tenth.
function dialImage(level) {
    return Math.max(0, Math.min(10, level))
}

// Axis slider: click zones by x and the knob centre of each position.
var xyZoneEnds = [30, 52, 74, 95, 116, 137, 159, 180, 200]
var xyKnobCentres = [10, 30, 52, 74, 95, 116, 137, 159, 180, 199]

function xyZone(x) {
    for (var i = 0; i < xyZoneEnds.length; ++i) {
        if (x < xyZoneEnds[i])
            return i
    }
    return 9
}

function xyKnobCentre(level, byClick) {
    return level === 9 && byClick ? 200 : xyKnobCentres[level]
}

// Scroll-lines field: an empty or sub-1 field counts as 1.
function scrollFieldValue(text) {
    var v = parseInt(text)
    if (isNaN(v) || v < 1)
        return 1
    return Math.min(v, 100)
}

function scrollPlus(text) {
    var v = parseInt(text)
    if (isNaN(v) || v < 1)
        return 1
    return Math.min(100, v + 1)
}

function scrollMinus(text) {
    var v = parseInt(text)
    if (isNaN(v) || v < 1)
        return 1
    return Math.max(1, v - 1)
}
