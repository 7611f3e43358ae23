import QtQuick
import "../common"

// Lift-off height: 2 mm or 3 mm.
Frame {
    id: jmgd

    property int jmgdValue: 3

    title: mainIten.mainLang[32] ?? ""
    bodyHeight: 40

    // Anything stored other than 2 shows "3mm"; a resend passes the stored value unchanged.
    function init(isSendData) {
        var stored = ui_View.getData("sensor/jmgd")
        jmgdValue = parseInt(stored) === 2 ? 2 : 3
        if (isSendData)
            ui_View.mouseSetJMGD(parseInt(stored) || 0)
    }

    function choose(value) {
        jmgdValue = value
        ui_View.mouseSetJMGD(value)
        lightControlMain.refresh()
    }

    Row {
        x: 30
        y: 11
        spacing: 60
        RadioOption {
            objectName: "jmgd2"
            checked: jmgd.jmgdValue === 2
            text: "2mm"
            onClicked: {
                jmgd.choose(2)
                jmgd.clickFrame()
            }
        }
        RadioOption {
            objectName: "jmgd3"
            checked: jmgd.jmgdValue === 3
            text: "3mm"
            onClicked: {
                jmgd.choose(3)
                jmgd.clickFrame()
            }
        }
    }
}
