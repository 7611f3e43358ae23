import QtQuick
import "../common"

// Lighting effect, its level and its colour.
Frame {
    id: lightControl

    property int tempEffect: 0
    property int tempSpeedBrightness: 12
    property int colorR: 255
    property int colorG: 255
    property int colorB: 255

    signal clickLightControl()
    signal setLED(int tmpEffect, int tmpColor, int tmpSpeedBrightness)
    signal setColor(int colorR, int colorG, int colorB)

    title: mainIten.mainLang[4] ?? ""
    bodyHeight: 250

    // Effect loading comes with the lighting page.
    function init(isSendData) {}
    function refresh() {
        setColor(colorR, colorG, colorB)
    }
}
