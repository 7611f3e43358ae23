import QtQuick
import "../common"

// System double-click speed dial.
Frame {
    id: doubleRate

    signal clickDoubleRate()
    signal doubleRateChange(int doubleRateValue)

    title: mainIten.mainLang[11] ?? ""
    bodyHeight: 96

    function init(isSendData) {}
}
