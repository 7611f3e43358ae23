import QtQuick
import "../common"
import "../common/sensormath.js" as SensorMath

// Report rate dial: the quadrant under the pointer picks the rate.
Frame {
    id: reportRate

    property int reportValue: 1

    signal clickReportRate()

    title: mainIten.mainLang[9] ?? ""
    bodyHeight: 130

    // Loading changes reportValue, and the main page sends every change.
    function init(isSendData) {
        reportValue = SensorMath.loadedReportRate(ui_View.ui_81H_GetReportRate())
        if (isSendData)
            ui_View.ui_01H_SetReportRate(reportValue)
    }

    Image {
        id: dialImage
        objectName: "reportRateDial"
        x: (parent.width - width) / 2
        y: 7
        width: 116
        height: 116
        source: mainIten["sourceReportRate" + SensorMath.reportImage(reportRate.reportValue)
                         + (mainIten.language === 1 ? "Cn" : "")]
        // Swapped images are not kept in Qt's pixmap cache, whose expiry timer wakes the idle program.
        cache: false

        MouseArea {
            anchors.fill: parent
            preventStealing: true
            onPressed: (mouse) => reportRate.reportValue = SensorMath.reportQuadrant(mouse.x, mouse.y, width, height)
            onPositionChanged: (mouse) => {
                if (pressed)
                    reportRate.reportValue = SensorMath.reportQuadrant(mouse.x, mouse.y, width, height)
            }
            onReleased: reportRate.clickReportRate()
        }
    }
}
