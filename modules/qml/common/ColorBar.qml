import QtQuick
import "colormath.js" as ColorMath

// Colour pop-up of the DPI stages: six presets, the current colour with its
// R, G, B components, and a hue bar with a slider; made the first time it opens.
Rectangle {
    id: colorBar

    property string currentColor: "#ff0000"
    readonly property var rgb: ColorMath.rgbOf(currentColor)
    // The hue slider's place on its bar.
    property real sliderX: -2

    // The chosen colour, for the DPI panel's setColor.
    signal colorChosen(string colorValue)

    width: 160
    height: 103
    radius: 3
    color: "#f0181818"
    border.color: "#8f2020"

    // Placed where the DPI panel's layout puts it in `column`'s content (at `columnY`, below the
    // swatches), but above the column, whose clipping would cut it, and wholly inside the page.
    function openBeside(column, columnY, dpiSelect, dpiColor) {
        initPos(dpiColor)
        var page = parent
        var at = column.contentItem.mapToItem(page, ColorMath.popupX(dpiSelect), columnY)
        x = Math.max(0, Math.min(page.width - width, at.x))
        y = Math.max(0, Math.min(page.height - height, at.y))
        visible = true
    }

    function initPos(colorText) {
        currentColor = String(colorText)
        sliderX = ColorMath.sliderPosition(colorText)
    }

    function colorFromSlider() {
        currentColor = ColorMath.colorAt(sliderX)
        colorChosen(currentColor)
    }

    MouseArea {
        // Swallows clicks on the pop-up so they do not reach the page behind it.
        anchors.fill: parent
    }

    FirstUseLoader {
        shown: colorBar.visible
        sourceComponent: Item {
            Text {
                x: 8
                y: 5
                text: mainIten.mainLang[30] ?? ""
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontMinSize
                color: Theme.fontColor
            }

            Row {
                id: presetRow
                x: 8
                y: 23
                spacing: 9
                Repeater {
                    model: ColorMath.presetColors
                    Rectangle {
                        required property string modelData
                        objectName: "colorPreset"
                        width: 9
                        height: 9
                        color: modelData
                        border.color: "#c0c0c0"
                        MouseArea {
                            anchors.fill: parent
                            anchors.margins: -3
                            onClicked: {
                                colorBar.colorChosen(parent.modelData)
                                colorBar.initPos(parent.modelData)
                            }
                        }
                    }
                }
            }

            Text {
                x: 8
                y: 39
                text: mainIten.mainLang[31] ?? ""
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontMinSize
                color: Theme.fontColor
            }

            Row {
                x: 8
                y: 57
                spacing: 4
                Rectangle {
                    objectName: "currentSwatch"
                    width: 9
                    height: 9
                    anchors.verticalCenter: parent.verticalCenter
                    color: colorBar.currentColor
                    border.color: "#c0c0c0"
                }
                Repeater {
                    model: ["R", "G", "B"]
                    Row {
                        required property string modelData
                        required property int index
                        spacing: 3
                        Text {
                            text: parent.modelData
                            font.family: Theme.fontFamily
                            font.pixelSize: Theme.fontMinSize
                            color: Theme.fontColor
                        }
                        Rectangle {
                            width: 24
                            height: 12
                            color: "#646464"
                            Text {
                                objectName: "component" + parent.parent.modelData
                                anchors.centerIn: parent
                                text: colorBar.rgb[parent.parent.index]
                                font.family: Theme.fontFamily
                                font.pixelSize: Theme.fontMinSize
                                color: Theme.fontColor
                            }
                        }
                    }
                }
            }

            Rectangle {
                id: hueFrame
                x: 15
                y: 80
                width: 130
                height: 14
                color: "transparent"
                border.color: "#c0c0c0"

                Image {
                    id: hueBar
                    objectName: "hueBar"
                    x: 1
                    y: 1
                    width: 128
                    height: 12
                    source: mainIten.sourceColorBar

                    MouseArea {
                        anchors.fill: parent
                        onClicked: (mouse) => {
                            colorBar.sliderX = Math.floor(mouse.x) - slider.width / 2 + 1
                            colorBar.colorFromSlider()
                        }
                    }

                    Image {
                        id: slider
                        objectName: "colorSlider"
                        x: colorBar.sliderX
                        y: -3
                        width: 6
                        height: 18
                        source: mainIten.sourceColorSlider

                        MouseArea {
                            property real pressX: 0
                            anchors.fill: parent
                            anchors.margins: -2
                            onPressed: (mouse) => pressX = mouse.x
                            onPositionChanged: (mouse) => {
                                if (pressed)
                                    colorBar.sliderX = ColorMath.clampSlider(Math.round(slider.x + mouse.x - pressX))
                            }
                            onReleased: colorBar.colorFromSlider()
                        }
                    }
                }
            }
        }
    }
}
