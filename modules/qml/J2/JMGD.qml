import QtQuick
import "../common"

// Lift-off height.
Frame {
    id: jmgd

    title: mainIten.mainLang[32] ?? ""
    bodyHeight: 40

    function init(isSendData) {}
}
