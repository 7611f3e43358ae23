import QtQuick
import "../common"

// System pointer speed dial.
Frame {
    id: mouseRate

    property alias mouseRateValue: dial.level

    signal clickMouseRate()
    signal mouseRateChange(int mouseRateValue)

    title: mainIten.mainLang[10] ?? ""
    bodyHeight: 96

    function init(isSendData) {
        mouseRateValue = ui_View.getCursorSpeed()
        if (isSendData)
            ui_View.setCursorSpeed(mouseRateValue)
    }

    SpeedDial {
        id: dial
        objectName: "mouseRateDial"
        onReleased: {
            mouseRate.mouseRateChange(level)
            mouseRate.clickMouseRate()
        }
    }
}
