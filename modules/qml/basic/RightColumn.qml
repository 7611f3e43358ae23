import QtQuick
import "../common"
import "../J2"

// The scrolled right column: DPI stages, lighting, report rate and the system's pointer settings,
// with its scroll thumb.
Item {
    id: column

    // Collaborators, set by the page.
    property Item page
    property Item colorBar

    property alias flickable: flick

    property alias dpiSetting: dpiSettingMain
    property alias lightControl: lightControlMain
    property alias reportRate: reportRateMain
    property alias mouseRate: mouseRateMain
    property alias doubleRate: doubleRateMain
    property alias scrollRate: scrollRateMain

    readonly property int maxVisible: 563

    height: flick.height

    // The scroll bar's groove, under the column.
    Image {
        objectName: "flickableBar"
        anchors.right: parent.right
        source: column.page ? column.page.sourceFlickableBar : ""
    }

    Flickable {
        id: flick
        objectName: "panelRightItem"
        width: parent.width
        height: Math.min(column.maxVisible, rightColumn.height)
        contentWidth: 242
        contentHeight: rightColumn.height
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        interactive: !dpiSettingMain.holding && !lightControlMain.holding
        // The colour pop-up stands beside a swatch that scrolls away.
        onContentYChanged: column.colorBar.visible = false

        Column {
            id: rightColumn
            objectName: "rightColumn"
            spacing: 5

            DpiSetting {
                id: dpiSettingMain
                objectName: "dpiSettingMain"
                onClickFrame: column.page.focusControl()
                onClickDpiSetting: column.page.focusControl()
                onDpiValueChange: column.page.sendDpi()
                onDpiSelectChange: column.page.sendDpi()
                onOpenColorBar: (dpiSelect, dpiColor) => column.page.openColorPopup(dpiSelect, dpiColor)
                onStageColorsSent: lightControlMain.refresh()
            }
            LightControl {
                id: lightControlMain
                objectName: "lightControlMain"
                visible: column.page.curDevice !== 2
                onClickFrame: column.page.focusControl()
                onClickLightControl: column.page.focusControl()
                onSetLED: (tmpEffect, tmpColor, tmpSpeedBrightness) => {
                    tempEffect = tmpEffect
                    tempSpeedBrightness = tmpSpeedBrightness
                    ui_View.ui_06H_SetRGBLedEffect(tmpEffect, 0, tmpSpeedBrightness,
                        [tmpEffect, tmpColor, tmpSpeedBrightness, colorR, colorG, colorB])
                }
                onSetColor: (r, g, b) => {
                    ui_View.ui_LEDColor(pageRules.ledPalette(r, g, b))
                    var c = pageRules.ledColourIndex(r, g, b)
                    ui_View.ui_06H_SetRGBLedEffect(tempEffect, c, tempSpeedBrightness,
                        [tempEffect, c, tempSpeedBrightness, colorR, colorG, colorB])
                }
            }
            ReportRate {
                id: reportRateMain
                objectName: "reportRateMain"
                onClickFrame: column.page.focusControl()
                onClickReportRate: column.page.focusControl()
                onReportValueChanged: {
                    ui_View.ui_01H_SetReportRate(reportValue)
                    lightControlMain.refresh()
                }
            }
            MouseRate {
                id: mouseRateMain
                objectName: "mouseRateMain"
                onClickFrame: column.page.focusControl()
                onClickMouseRate: column.page.focusControl()
                onMouseRateChange: (mouseRateValue) => ui_View.setCursorSpeed(mouseRateValue)
            }
            DoubleRate {
                id: doubleRateMain
                objectName: "doubleRateMain"
                onClickFrame: column.page.focusControl()
                onClickDoubleRate: column.page.focusControl()
                onDoubleRateChange: (doubleRateValue) => ui_View.setDoubleClickSpeed(doubleRateValue)
            }
            ScrollRate {
                id: scrollRateMain
                objectName: "scrollRateMain"
                onClickFrame: column.page.focusControl()
                onClickScrollRate: column.page.focusControl()
                onLinesChange: (linesValue) => {
                    ui_View.setVerticalScrollLines(linesValue)
                    lines = linesValue
                }
            }
        }
    }

    ScrollThumb {
        objectName: "scrollThumb"
        flickable: flick
        page: column
        track: column.maxVisible
    }
}
