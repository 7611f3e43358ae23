import QtQuick
import "../common"

// System pointer speed dial.
Frame {
    id: mouseRate

    signal clickMouseRate()
    signal mouseRateChange(int mouseRateValue)

    title: mainIten.mainLang[10] ?? ""
    bodyHeight: 96

    function init(isSendData) {}
}
