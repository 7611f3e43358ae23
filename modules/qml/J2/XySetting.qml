import QtQuick
import "../common"

// Separate X and Y sensitivity.
Frame {
    id: xySetting

    signal clickXySetting()

    title: mainIten.mainLang[0] ?? ""
    bodyHeight: 96

    function init(isSendData) {}
}
