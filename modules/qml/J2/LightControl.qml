import QtQuick
import "../common"
import "../common/colormath.js" as ColorMath
import "panelmath.js" as PanelMath

// Lighting effect, its level and its colour. Effects 5..13 keep their rows
// in the layout but are not shown.
Frame {
    id: lightControl

    property int tempEffect: 0
    property int tempSpeedBrightness: 12
    property int colorR: 255
    property int colorG: 255
    property int colorB: 255
    property int selectedEffect: 0
    property int presetIndex: 0
    readonly property int shownEffects: 5
    // The effects the mouse knows; the panel shows the first five.
    readonly property int effectCount: 14
    // Each effect's level, 0-3, or 4 for none yet.
    property var levels: Array(effectCount).fill(4)
    // A level knob or the hue knob is held: the settings column must not flick meanwhile.
    property bool holding: false

    signal clickLightControl()
    signal setLED(int tmpEffect, int tmpColor, int tmpSpeedBrightness)
    signal setColor(int colorR, int colorG, int colorB)

    title: mainIten.mainLang[4] ?? ""
    bodyHeight: 265

    function init(isSendData) {
        var record = ui_View.ui_8DH_GetRGBLedEffect() || []
        var at = (i, fallback) => record[i] !== undefined ? Number(record[i]) : fallback
        var effect = at(0, selectedEffect)
        var presetRead = at(1, presetIndex)
        var level = at(2, tempSpeedBrightness)
        colorR = at(3, colorR)
        colorG = at(4, colorG)
        colorB = at(5, colorB)
        tempEffect = effect
        tempSpeedBrightness = level
        var start = Array(effectCount).fill(4)
        if (effect >= 0 && effect < effectCount)
            start[effect] = level >= 0 && level <= 3 ? level : 4
        levels = start
        selectedEffect = effect
        hueKnob.x = ColorMath.sliderPosition(ColorMath.rgbText(colorR, colorG, colorB))
        if (isSendData) {
            setLED(effect, presetRead, level)
            setColor(255, 0, 0)
        }
    }

    function refresh() {
        setColor(colorR, colorG, colorB)
    }

    function chooseEffect(k) {
        clickLightControl()
        selectedEffect = k
        setLED(k, presetIndex, levels[k])
    }

    function chooseLevel(k, level) {
        if (levels[k] === level)
            return
        var changed = levels.slice()
        changed[k] = level
        levels = changed
        setLED(k, presetIndex, level)
    }

    function choosePreset(p) {
        clickLightControl()
        var preset = PanelMath.presets[p]
        colorR = preset.recorded[0]
        colorG = preset.recorded[1]
        colorB = preset.recorded[2]
        hueKnob.x = ColorMath.sliderPosition(preset.swatch)
        setColor(preset.sent[0], preset.sent[1], preset.sent[2])
    }

    function colourFromHue() {
        var rgb = ColorMath.rgbOf(ColorMath.colorAt(hueKnob.x))
        colorR = rgb[0]
        colorG = rgb[1]
        colorB = rgb[2]
        setColor(rgb[0], rgb[1], rgb[2])
    }

    Repeater {
        model: lightControl.shownEffects

        Item {
            id: row

            required property int index
            readonly property int level: lightControl.levels[index]
            readonly property bool active: lightControl.selectedEffect === index
            readonly property var captions: PanelMath.levelCaptions(index)

            objectName: "effect" + index
            x: 0
            y: 6 + index * 29
            width: lightControl.width
            height: 29

            Item {
                objectName: "effectButton" + row.index
                x: 4
                width: 92
                height: 16

                Rectangle {
                    x: 4
                    anchors.verticalCenter: parent.verticalCenter
                    width: 12
                    height: 12
                    radius: 6
                    color: "#101010"
                    border.color: row.active ? "#ff3030" : "#6a6a6a"
                    Rectangle {
                        anchors.centerIn: parent
                        width: 6
                        height: 6
                        radius: 3
                        color: "#ff3030"
                        visible: row.active
                    }
                }
                Text {
                    x: 22
                    width: parent.width - 22
                    anchors.verticalCenter: parent.verticalCenter
                    text: mainIten.mainLang[PanelMath.effectNameIndex(row.index)] ?? ""
                    elide: Text.ElideRight
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontNormalSize
                    color: Theme.fontColor
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: lightControl.chooseEffect(row.index)
                }
            }

            Item {
                id: slider
                objectName: "levelSlider" + row.index
                x: 102
                y: 1
                width: 127
                height: 14
                opacity: row.active ? 1.0 : 0.4

                Rectangle {
                    x: 4
                    width: 118
                    height: 3
                    anchors.verticalCenter: parent.verticalCenter
                    radius: 1
                    color: "#4a4a4a"
                }
                Rectangle {
                    x: 4
                    width: Math.max(0, knob.x + knob.width / 2 - 4)
                    height: 3
                    anchors.verticalCenter: parent.verticalCenter
                    radius: 1
                    color: "#c01818"
                }
                MouseArea {
                    anchors.fill: parent
                    enabled: row.active
                    onClicked: (mouse) => {
                        lightControl.clickLightControl()
                        lightControl.chooseLevel(row.index, PanelMath.levelAt(mouse.x))
                    }
                }
                Rectangle {
                    id: knob

                    property real dragCentre: -1

                    objectName: "levelKnob" + row.index
                    x: (dragCentre >= 0 ? dragCentre : PanelMath.levelCentres[row.level]) - width / 2
                    anchors.verticalCenter: parent.verticalCenter
                    width: 9
                    height: 12
                    radius: 2
                    border.color: "#202020"
                    gradient: Gradient {
                        GradientStop { position: 0.0; color: "#ffffff" }
                        GradientStop { position: 1.0; color: "#a8a8a8" }
                    }

                    MouseArea {
                        property int levelAtPress: 0

                        anchors.fill: parent
                        anchors.margins: -2
                        enabled: row.active
                        preventStealing: true
                        onPressed: {
                            levelAtPress = row.level
                            lightControl.holding = true
                            lightControl.clickLightControl()
                        }
                        onPositionChanged: (mouse) => {
                            if (!pressed)
                                return
                            var x = mapToItem(slider, mouse.x, mouse.y).x
                            knob.dragCentre = Math.max(PanelMath.levelCentres[0], Math.min(PanelMath.levelCentres[4], x))
                        }
                        onReleased: (mouse) => {
                            // Without a drag this was a click on the slider at that point.
                            var x = knob.dragCentre >= 0 ? knob.dragCentre : mapToItem(slider, mouse.x, mouse.y).x
                            var level = PanelMath.levelAt(x)
                            knob.dragCentre = -1
                            lightControl.holding = false
                            if (level !== levelAtPress)
                                lightControl.chooseLevel(row.index, level)
                        }
                        onCanceled: {
                            knob.dragCentre = -1
                            lightControl.holding = false
                        }
                    }
                }
            }

            Repeater {
                model: 5
                Text {
                    required property int index
                    x: slider.x + PanelMath.levelCentres[index] - width / 2
                    y: 16
                    text: row.captions[index]
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontMinSize - 1
                    color: row.active ? "#d0d0d0" : "#808080"
                }
            }
        }
    }

    Text {
        x: 8
        y: 150
        text: mainIten.mainLang[30] ?? ""
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontMinSize
        color: Theme.fontColor
    }

    Row {
        x: 10
        y: 168
        spacing: 14
        Repeater {
            model: PanelMath.presets
            Rectangle {
                required property var modelData
                required property int index
                objectName: "lightPreset" + index
                width: 14
                height: 14
                color: modelData.swatch
                border.color: "#c0c0c0"
                MouseArea {
                    anchors.fill: parent
                    anchors.margins: -3
                    onClicked: lightControl.choosePreset(parent.index)
                }
            }
        }
    }

    Text {
        x: 8
        y: 189
        text: mainIten.mainLang[31] ?? ""
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontMinSize
        color: Theme.fontColor
    }

    Row {
        x: 10
        y: 206
        spacing: 6
        Rectangle {
            objectName: "lightPreview"
            width: 14
            height: 14
            color: ColorMath.rgbText(lightControl.colorR, lightControl.colorG, lightControl.colorB)
            border.color: "#c0c0c0"
        }
        Repeater {
            model: [["R", lightControl.colorR], ["G", lightControl.colorG], ["B", lightControl.colorB]]
            Row {
                required property var modelData
                spacing: 4
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: parent.modelData[0]
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontMinSize
                    color: Theme.fontColor
                }
                Rectangle {
                    width: 30
                    height: 14
                    color: "#646464"
                    Text {
                        objectName: "light" + parent.parent.modelData[0]
                        anchors.centerIn: parent
                        text: parent.parent.modelData[1]
                        font.family: Theme.fontFamily
                        font.pixelSize: Theme.fontMinSize
                        color: Theme.fontColor
                    }
                }
            }
        }
    }

    Rectangle {
        x: 10
        y: 232
        width: 130
        height: 14
        color: "transparent"
        border.color: "#c0c0c0"

        Image {
            objectName: "lightHueBar"
            x: 1
            y: 1
            width: 128
            height: 12
            source: mainIten.sourceColorBar
            asynchronous: !mainIten.pageShown

            MouseArea {
                anchors.fill: parent
                onClicked: (mouse) => {
                    lightControl.clickLightControl()
                    hueKnob.x = Math.floor(mouse.x) - hueKnob.width / 2 + 1
                    lightControl.colourFromHue()
                }
            }

            Image {
                id: hueKnob
                objectName: "lightHueKnob"
                x: -2
                y: -3
                width: 6
                height: 18
                source: mainIten.sourceColorSlider

                MouseArea {
                    property real pressX: 0
                    anchors.fill: parent
                    anchors.margins: -2
                    preventStealing: true
                    onPressed: (mouse) => {
                        pressX = mouse.x
                        lightControl.holding = true
                        lightControl.clickLightControl()
                    }
                    onPositionChanged: (mouse) => {
                        if (pressed)
                            hueKnob.x = ColorMath.clampSlider(Math.round(hueKnob.x + mouse.x - pressX))
                    }
                    onReleased: {
                        lightControl.holding = false
                        lightControl.colourFromHue()
                    }
                    onCanceled: lightControl.holding = false
                }
            }
        }
    }
}
