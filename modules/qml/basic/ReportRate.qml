import QtQuick
import "../common"

// Report rate dial.
Frame {
    id: reportRate

    property int reportValue: 1

    signal clickReportRate()

    title: mainIten.mainLang[9] ?? ""
    bodyHeight: 130

    function init(isSendData) {}
}
