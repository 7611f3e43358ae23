import QtQuick
import QtTest
import "qrc:/modules/qml/common/sensormath.js" as SensorMath
import "qrc:/modules/qml/J2/panelmath.js" as PanelMath

// Geometry of the sensor panels (dial angles and levels, quadrants, slider zones, stored values),
// the DPI tracks and the lighting level sliders.
TestCase {
    name: "SensorMath"

    // The stage value a press at y on a track gives on a model.
    function dpiAt(y, device) { return PanelMath.dpiFromHeight(PanelMath.heightAt(y), PanelMath.dpiSpan(device)) }

    function test_maths_data() {
        return [
            // Speed dial 180 wide: centre x 90, base line y 70.
            ["dialLevel", [179, 70, 180], 11], ["dialLevel", [179, 79, 180], 11], ["dialLevel", [90, 10, 180], 6],
            ["dialLevel", [90, 69, 180], 6], ["dialLevel", [0, 70, 180], 0], ["dialLevel", [0, 69, 180], 0], ["dialLevel", [0, 20, 180], 2],
            ["dialLevel", [30, 10, 180], 3], ["dialLevel", [150, 10, 180], 8], ["dialLevel", [179, 69, 180], 10],
            ["dialAngle", [30, 10, 180], 45], ["dialAngle", [150, 10, 180], 135], ["dialAngle", [89, 0, 180], 89],
            ["dialAngle", [91, 0, 180], 90], ["dialAngle", [150, 71, 180], 180],
            ["dialImage", [0], 0], ["dialImage", [9], 9], ["dialImage", [10], 10], ["dialImage", [11], 10],
            // Report-rate dial quadrants: top-left 8, bottom-left 4, bottom-right 2, top-right 1.
            ["reportQuadrant", [0, 0, 116, 116], 8], ["reportQuadrant", [57, 57, 116, 116], 8],
            ["reportQuadrant", [57, 58, 116, 116], 4], ["reportQuadrant", [58, 58, 116, 116], 2],
            ["reportQuadrant", [58, 57, 116, 116], 1], ["reportQuadrant", [115, 0, 116, 116], 1],
            ["loadedReportRate", [16], 8], ["loadedReportRate", [4], 4], ["loadedReportRate", [undefined], 0],
            ["reportImage", [1], "1000"], ["reportImage", [2], "500"], ["reportImage", [4], "250"],
            ["reportImage", [8], "125"], ["reportImage", [0], "125"], ["reportImage", [3], "125"],
            // Axis slider zones by x and knob centres.
            ["xyZone", [0], 0], ["xyZone", [29], 0], ["xyZone", [30], 1], ["xyZone", [51], 1], ["xyZone", [52], 2],
            ["xyZone", [94], 3], ["xyZone", [95], 4], ["xyZone", [158], 6], ["xyZone", [199], 8], ["xyZone", [200], 9],
            ["xyKnobCentre", [0, true], 10], ["xyKnobCentre", [5, true], 116], ["xyKnobCentre", [9, false], 199],
            ["xyKnobCentre", [9, true], 200],
            // Scroll-lines field and its buttons.
            ["scrollFieldValue", ["0"], 1], ["scrollFieldValue", [""], 1], ["scrollFieldValue", ["42"], 42],
            ["scrollFieldValue", ["999"], 100], ["scrollPlus", ["100"], 100], ["scrollPlus", ["7"], 8],
            ["scrollPlus", [""], 1], ["scrollMinus", ["1"], 1], ["scrollMinus", ["0"], 1], ["scrollMinus", ["9"], 8],
            // The top of a track on each model, below it, its middle; level slider zones by x.
            ["dpiAt", [7, 0], 12000], ["dpiAt", [7, 3], 18000], ["dpiAt", [8, 2], 16000], ["dpiAt", [165, 3], 200],
            ["dpiAt", [85, 1], 8100], ["levelAt", [33], 0], ["levelAt", [34], 1], ["levelAt", [62], 1], ["levelAt", [63], 2],
            ["levelAt", [92], 2], ["levelAt", [93], 3], ["levelAt", [121], 3], ["levelAt", [125], 4],
        ].map(r => ({ tag: r[0] + "(" + r[1].join(", ") + ")", f: r[0], args: r[1], result: r[2] }))
    }
    function test_maths(data) {
        compare((SensorMath[data.f] ?? PanelMath[data.f] ?? this[data.f]).apply(null, data.args), data.result)
    }
}
