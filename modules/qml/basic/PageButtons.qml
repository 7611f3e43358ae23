import QtQuick
import "../common"

// The page's own buttons: profiles at the bottom left, reset at the bottom right and the header's
// help, minimise and close.
Item {
    id: buttons

    // Where the images and texts come from; set by the page.
    property Item page

    signal profileClicked()
    signal resetClicked()
    signal helpClicked()

    anchors.fill: parent

    ImageButton {
        objectName: "profileBtn"
        anchors.left: parent.left
        anchors.leftMargin: 20
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 6
        normalSource: buttons.page.sourceProfileBtn
        hoverSource: buttons.page.sourceProfileBtnH
        text: buttons.page.mainLang[19] ?? ""
        label.font.pixelSize: 10
        labelOffsetX: 9
        onClicked: buttons.profileClicked()
    }

    Item {
        objectName: "downItem"
        x: 913
        y: 604
        width: restBtn.width
        height: restBtn.height

        ImageButton {
            id: restBtn
            objectName: "restBtn"
            normalSource: buttons.page.sourceRestBtn
            hoverSource: buttons.page.sourceRestBtnH
            pressedSource: buttons.page.sourceRestBtnP
            text: buttons.page.mainLang[26] ?? ""
            onClicked: buttons.resetClicked()
        }
    }

    Row {
        objectName: "upItem"
        x: 935
        y: 5
        spacing: 5

        Repeater {
            // Help, minimise, close; the minimise and close artwork sits in the
            // images named the other way round.
            model: [
                { normal: buttons.page.sourceAsk, hover: buttons.page.sourceAskH, cmd: 2 },
                { normal: buttons.page.sourceCloseBtn, hover: buttons.page.sourceCloseBtnH, cmd: 0 },
                { normal: buttons.page.sourceMinBtn, hover: buttons.page.sourceMinBtnH, cmd: 1 }
            ]
            ImageButton {
                required property var modelData
                objectName: "headerButton" + modelData.cmd
                normalSource: modelData.normal
                hoverSource: modelData.hover
                onClicked: {
                    if (modelData.cmd === 0)
                        ui_Ctl.onMinimize()
                    else if (modelData.cmd === 1)
                        ui_Ctl.onClose()
                    else
                        buttons.helpClicked()
                }
            }
        }
    }
}
