import QtQuick
import "../common"

// System wheel scroll lines.
Frame {
    id: scrollRate

    property int lines: 3

    signal clickScrollRate()
    signal linesChange(int linesValue)

    title: mainIten.mainLang[12] ?? ""
    bodyHeight: 70

    function init(isSendData) {}
}
