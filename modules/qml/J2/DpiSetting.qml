import QtQuick
import "../common"

// DPI stages: value, enable flag and colour of each stage.
Frame {
    id: dpiSetting

    property int dpiCount: 5

    signal clickDpiSetting()
    signal dpiValueChange(int dpiIndex, string dpiData)
    signal dpiSelectChange(int dpiIndex)
    signal openColorBar(int dpiSelect, string dpiColor)

    title: mainIten.mainLang[3] ?? ""
    bodyHeight: 210

    // Stage editing comes with the DPI page.
    function init(isSendData) {}
    function setColor(colorValue) {}
    function valueForDpi() { return [] }
    function valueForDpiSelect() { return [] }
    function dpiValueToDpiSet() { return [] }
}
