import QtQuick
import "../common"

// System double-click speed dial.
Frame {
    id: doubleRate

    property alias doubleRateValue: dial.level

    signal clickDoubleRate()
    signal doubleRateChange(int doubleRateValue)

    title: mainIten.mainLang[11] ?? ""
    bodyHeight: 96

    function init(isSendData) {
        doubleRateValue = ui_View.getDoubleClickSpeed()
        if (isSendData)
            ui_View.setDoubleClickSpeed(doubleRateValue)
    }

    SpeedDial {
        id: dial
        objectName: "doubleRateDial"
        onReleased: {
            doubleRate.doubleRateChange(level)
            doubleRate.clickDoubleRate()
        }
    }
}
