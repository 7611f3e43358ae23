import QtQuick
import "../common"

// Separate X and Y sensitivity: two ten-position sliders over a numbered scale.
Frame {
    id: xySetting

    // Lit again after each change; set by the page.
    property Item lighting

    property alias xLevel: xSlider.level
    property alias yLevel: ySlider.level

    signal clickXySetting()

    title: mainIten.mainLang[0] ?? ""
    bodyHeight: 96

    function init(isSendData) {
        xSlider.setLevel(pageRules.xyLevel(ui_View.getXYSensitive(0)), false)
        ySlider.setLevel(pageRules.xyLevel(ui_View.getXYSensitive(1)), false)
        if (isSendData)
            ui_View.ui_0EH_SetXYSensitive(pageRules.xyWire(xLevel), pageRules.xyWire(yLevel))
    }

    // Stores both levels, sends them and lights the mouse again.
    function apply() {
        ui_View.setXYSensitive(0, xLevel)
        ui_View.setXYSensitive(1, yLevel)
        ui_View.ui_0EH_SetXYSensitive(pageRules.xyWire(xLevel), pageRules.xyWire(yLevel))
        lighting.refresh()
    }

    Text {
        x: 10
        y: 3
        text: mainIten.mainLang[1] ?? ""
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontMinSize
        color: Theme.fontColor
    }
    AxisSlider {
        id: xSlider
        objectName: "xSlider"
        onLevelPicked: xySetting.apply()
        onTouched: xySetting.clickXySetting()
        x: 16
        y: 19
    }
    Text {
        x: 10
        y: 38
        text: mainIten.mainLang[2] ?? ""
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontMinSize
        color: Theme.fontColor
    }
    AxisSlider {
        id: ySlider
        objectName: "ySlider"
        onLevelPicked: xySetting.apply()
        onTouched: xySetting.clickXySetting()
        x: 16
        y: 54
    }
    Image {
        x: 16
        y: 76
        source: mainIten.sourceXyScale
        asynchronous: !mainIten.pageShown
    }
}
