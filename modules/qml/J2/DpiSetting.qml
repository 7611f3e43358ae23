import QtQuick
import "../common"
import "panelmath.js" as PanelMath

// DPI stages: value, enable flag and colour of each stage. The page always
// keeps eight stages; the hidden ones go back to the mouse as they were read.
Frame {
    id: dpiSetting

    property int dpiCount: 5
    property int selectedSwatch: -1
    readonly property int span: PanelMath.dpiSpan(mainIten.curDevice)
    // A track or knob is held: the settings column must not flick meanwhile.
    readonly property bool holding: pressedStage >= 0
    property int pressedStage: -1

    signal clickDpiSetting()
    signal dpiValueChange(int dpiIndex, string dpiData)
    signal dpiSelectChange(int dpiIndex)
    signal openColorBar(int dpiSelect, string dpiColor)
    signal dpiColorChange(string cl0, string cl1, string cl2, string cl3, string cl4, string cl5)
    // The stage colours went out; the lighting is sent again after them.
    signal stageColorsSent()

    title: mainIten.mainLang[3] ?? ""
    bodyHeight: 233

    onSpanChanged: {
        for (var i = 0; i < stages.count; ++i)
            stage(i).h = PanelMath.heightFromDpi(stage(i).value, span)
    }
    onDpiColorChange: sendStageColors()

    function stage(i) { return stages.itemAt(i) }

    function init(isSendData) {
        var values = ui_View.ui_91H_GetDPISet()
        var selects = ui_View.ui_91H_GetDPISelect()
        var colours = ui_View.ui_90H_GetLED8StageColor(1)
        for (var i = 0; i < 8; ++i) {
            var s = stage(i)
            if (values && values[i] !== undefined) {
                s.value = Number(values[i]) || 0
                s.h = PanelMath.heightFromDpi(s.value, span)
            }
            if (selects && selects[i] !== undefined)
                s.isSelect = Number(selects[i]) !== 0
            if (colours && colours[3 * i + 2] !== undefined) {
                var t = "#"
                for (var c = 0; c < 3; ++c) {
                    var v = Math.max(0, Math.min(255, Number(colours[3 * i + c]) || 0)).toString(16)
                    t += v.length < 2 ? "0" + v : v
                }
                s.colour = t
            }
        }
        if (isSendData) {
            dpiSelectChange(0)
            ui_View.ui_10H_SetLED8StageColor(1, colours)
        }
    }

    // A colour chosen in the main page's pop-up for the selected swatch.
    function setColor(colorValue) {
        if (selectedSwatch < 0 || selectedSwatch > 7)
            return
        stage(selectedSwatch).colour = String(colorValue)
        var c = colourList()
        dpiColorChange(c[0], c[1], c[2], c[3], c[4], c[5])
    }

    function colourList() {
        var c = []
        for (var i = 0; i < 8; ++i)
            c.push(stage(i).colour)
        return c
    }

    function sendStageColors() {
        var bytes = PanelMath.colourBytes(colourList())
        ui_View.ui_10H_SetLED8StageColor(1, bytes)
        ui_View.ui_10H_SetLED8StageColor(1, bytes)
        stageColorsSent()
    }

    function valueForDpi() {
        var out = []
        for (var i = 0; i < 8; ++i)
            out.push(stage(i).value)
        return out
    }
    function valueForDpiSelect() {
        var out = []
        for (var i = 0; i < 8; ++i)
            out.push(stage(i).isSelect ? 1 : 0)
        return out
    }
    function dpiValueToDpiSet() {
        var out = []
        for (var i = 0; i < 8; ++i)
            out.push(Math.floor(stage(i).value / 100) - 1)
        return out
    }

    Repeater {
        id: stages
        model: 8

        Item {
            id: column

            required property int index
            property int value: 6000
            property real h: PanelMath.heightFromDpi(6000, dpiSetting.span)
            property bool isSelect: true
            property string colour: ["#ff0000", "#0000ff", "#00ff00", "#ffff00", "#00ffff",
                                     "#ff00ff", "#ff00ff", "#ff00ff"][index]

            objectName: "dpiStage" + index
            x: 13 + index * 46
            width: 32
            height: dpiSetting.bodyHeight
            visible: index < dpiSetting.dpiCount

            function setHeight(newH) {
                h = Math.max(0, Math.min(PanelMath.trackLength, newH))
                value = PanelMath.dpiFromHeight(h, dpiSetting.span)
            }

            Text {
                objectName: "dpiValue" + column.index
                anchors.horizontalCenter: parent.horizontalCenter
                y: 3
                text: column.value
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontMinSize
                color: column.isSelect ? Theme.fontColor : "#808080"
            }

            Rectangle {
                id: track
                objectName: "dpiTrack" + column.index
                x: (column.width - width) / 2
                y: 20
                width: 7
                height: 170
                radius: 3
                color: "#0a0a0a"
                border.color: "#3c3c3c"

                Rectangle {
                    x: 1
                    width: 5
                    y: PanelMath.trackBottom - column.h
                    height: column.h
                    radius: 2
                    gradient: Gradient {
                        GradientStop { position: 0.0; color: "#ff3030" }
                        GradientStop { position: 1.0; color: "#7a0c0c" }
                    }
                }

                MouseArea {
                    x: -10
                    width: 27
                    height: parent.height
                    onPressed: (mouse) => {
                        dpiSetting.pressedStage = column.index
                        dpiSetting.clickDpiSetting()
                        column.setHeight(PanelMath.heightAt(mouse.y))
                        dpiSetting.dpiValueChange(column.index, String(column.value))
                    }
                    onReleased: dpiSetting.pressedStage = -1
                    onCanceled: dpiSetting.pressedStage = -1
                }

                Rectangle {
                    id: knob
                    objectName: "dpiKnob" + column.index
                    x: (track.width - width) / 2
                    y: PanelMath.trackBottom - column.h - height / 2
                    width: 15
                    height: 7
                    radius: 2
                    border.color: "#202020"
                    gradient: Gradient {
                        GradientStop { position: 0.0; color: "#ffffff" }
                        GradientStop { position: 1.0; color: "#a8a8a8" }
                    }

                    MouseArea {
                        anchors.fill: parent
                        anchors.margins: -3
                        preventStealing: true
                        onPressed: {
                            dpiSetting.pressedStage = column.index
                            dpiSetting.clickDpiSetting()
                        }
                        onPositionChanged: (mouse) => {
                            if (!pressed)
                                return
                            var y = mapToItem(track, mouse.x, mouse.y).y
                            column.setHeight(PanelMath.trackBottom - y)
                        }
                        onReleased: {
                            dpiSetting.pressedStage = -1
                            dpiSetting.dpiValueChange(column.index, String(column.value))
                        }
                        onCanceled: dpiSetting.pressedStage = -1
                    }
                }
            }

            Rectangle {
                objectName: "dpiToggle" + column.index
                anchors.horizontalCenter: parent.horizontalCenter
                y: 195
                width: 14
                height: 10
                radius: 2
                color: "#1a1a1a"
                border.color: column.isSelect ? "#c01818" : "#5a5a5a"

                Rectangle {
                    anchors.fill: parent
                    anchors.margins: 3
                    color: "#ff3030"
                    visible: column.isSelect
                }
                MouseArea {
                    anchors.fill: parent
                    anchors.margins: -3
                    onClicked: {
                        column.isSelect = !column.isSelect
                        dpiSetting.clickDpiSetting()
                        dpiSetting.dpiSelectChange(column.index)
                    }
                }
            }

            Rectangle {
                objectName: "dpiSwatch" + column.index
                anchors.horizontalCenter: parent.horizontalCenter
                y: 213
                width: 16
                height: 10
                color: column.colour
                border.color: dpiSetting.selectedSwatch === column.index ? "#ffffff" : "#808080"
                visible: mainIten.curDevice !== 2 && (column.index < dpiSetting.dpiCount || column.index < 3)

                MouseArea {
                    anchors.fill: parent
                    anchors.margins: -3
                    onClicked: {
                        dpiSetting.selectedSwatch = column.index
                        dpiSetting.openColorBar(column.index, column.colour)
                    }
                }
            }
        }
    }
}
