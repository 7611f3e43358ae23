import QtQuick
import "../common/sensormath.js" as SensorMath

// One ten-position axis slider: click zones and a draggable knob.
Item {
    id: slider

    property int level: 4
    property real knobCentre: SensorMath.xyKnobCentre(level, false)

    signal levelPicked()   // the user moved the knob to another position
    signal touched()

    function setLevel(l, byClick) {
        level = l
        knobCentre = SensorMath.xyKnobCentre(l, byClick)
    }

    width: 210
    height: 16

    Image {
        source: mainIten.sourceXyTrack
        asynchronous: !mainIten.pageShown
    }
    Rectangle {
        x: 5
        y: 6
        width: Math.max(0, knob.x + knob.width / 2 - 5)
        height: 4
        radius: 2
        color: "#b01818"
    }
    Image {
        id: knob
        x: Math.round(slider.knobCentre - width / 2)
        source: mainIten.sourceXyKnob

        MouseArea {
            id: knobArea
            property real grabX: 0
            property int startLevel: 0

            anchors.fill: parent
            anchors.margins: -3
            preventStealing: true
            onPressed: (mouse) => {
                grabX = mouse.x
                startLevel = slider.level
            }
            onPositionChanged: (mouse) => {
                if (!pressed)
                    return
                var c = Math.max(0, Math.min(slider.width, slider.knobCentre + mouse.x - grabX))
                slider.knobCentre = c
                slider.level = SensorMath.xyZone(c)
            }
            onReleased: {
                slider.setLevel(slider.level, false)
                if (slider.level !== startLevel)
                    slider.levelPicked()
                slider.touched()
            }
        }
    }
    MouseArea {
        anchors.fill: parent
        z: -1
        preventStealing: true
        onClicked: (mouse) => {
            var before = slider.level
            slider.setLevel(SensorMath.xyZone(mouse.x), true)
            if (slider.level !== before)
                slider.levelPicked()
            slider.touched()
        }
    }
}
