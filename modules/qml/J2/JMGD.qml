import QtQuick
import "../common"

// Lift-off height: 2 mm or 3 mm.
Frame {
    id: jmgd

    // Lit again after each change; set by the page.
    property Item lighting

    property int jmgdValue: 3

    title: mainIten.mainLang[32] ?? ""
    bodyHeight: 40

    // The bridge reads the stored height as 2 or 3, as the command line sends it.
    function init(isSendData) {
        jmgdValue = ui_View.getJMGD()
        if (isSendData)
            ui_View.mouseSetJMGD(jmgdValue)
    }

    function choose(value) {
        jmgdValue = value
        ui_View.mouseSetJMGD(value)
        lighting.refresh()
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
