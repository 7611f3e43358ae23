import QtQuick
import "../common"
import "../common/sensormath.js" as SensorMath

// System wheel scroll lines: a number of rows, or one screen per notch (1000).
// Where the desktop keeps no wheel lines the panel is shown disabled, with the reason.
Frame {
    id: scrollRate

    property int lines: 3
    property bool isOneScreen: false
    property bool settable: true
    // The field loses its focus because "one screen" was chosen: its rows are not applied.
    property bool choosingScreen: false

    signal clickScrollRate()
    signal linesChange(int linesValue)

    title: mainIten.mainLang[12] ?? ""
    bodyHeight: settable ? 70 : 88

    function init(isSendData) {
        settable = ui_View.canSetVerticalScrollLines()
        lines = ui_View.getVerticalScrollLines()
        isOneScreen = lines === 1000
        // The field always shows a row count; one screen leaves the usual 3 there.
        linesField.text = String(isOneScreen ? 3 : SensorMath.scrollFieldValue(String(lines)))
        if (isSendData && settable)
            ui_View.setVerticalScrollLines(lines)
    }

    function applyRows() {
        linesField.text = String(SensorMath.scrollFieldValue(linesField.text))
        isOneScreen = false
        linesChange(parseInt(linesField.text))
    }

    Item {
        anchors.fill: parent
        enabled: scrollRate.settable
        opacity: scrollRate.settable ? 1 : 0.4

        RadioOption {
            id: rowsOption
            objectName: "rowsOption"
            x: 10
            y: 12
            checked: !scrollRate.isOneScreen
            text: mainIten.mainLang[15] ?? ""
            onClicked: {
                // With the field focused, taking the focus away applies it already.
                if (!linesField.activeFocus)
                    scrollRate.applyRows()
                scrollRate.clickScrollRate()
            }
        }

        Row {
            x: parent.width - width - 10
            y: 12
            spacing: 4

            Image {
                objectName: "linesMinus"
                source: mainIten.sourceScrollMinus
                MouseArea {
                    anchors.fill: parent
                    onClicked: linesField.text = String(SensorMath.scrollMinus(linesField.text))
                }
            }
            Rectangle {
                width: 36
                height: 18
                color: "#0e0e0f"
                border.color: linesField.activeFocus ? "#d01c1c" : "#4a4a4c"
                TextInput {
                    id: linesField
                    objectName: "linesField"
                    text: "3"   // until the profile is read, which waits for the mouse on a first start
                    anchors.fill: parent
                    anchors.margins: 2
                    horizontalAlignment: TextInput.AlignHCenter
                    verticalAlignment: TextInput.AlignVCenter
                    maximumLength: 3
                    // Set on focus: only typing needs it, and its expression's engine costs memory for good.
                    validator: activeFocus ? digitsOnly : null
                    RegularExpressionValidator {
                        id: digitsOnly
                        regularExpression: /[0-9]{0,3}/
                    }
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontNormalSize
                    color: Theme.fontColor
                    selectByMouse: true
                    onActiveFocusChanged: {
                        mainIten.isScrollRateFocus = activeFocus
                        if (activeFocus)
                            return
                        if (scrollRate.choosingScreen)
                            linesField.text = String(SensorMath.scrollFieldValue(linesField.text))
                        else
                            scrollRate.applyRows()
                    }
                    Keys.onReturnPressed: mainIten.focusControl()
                    Keys.onEnterPressed: mainIten.focusControl()
                }
            }
            Image {
                objectName: "linesPlus"
                source: mainIten.sourceScrollPlus
                MouseArea {
                    anchors.fill: parent
                    onClicked: linesField.text = String(SensorMath.scrollPlus(linesField.text))
                }
            }
        }

        RadioOption {
            id: screenOption
            objectName: "screenOption"
            x: 10
            y: 40
            checked: scrollRate.isOneScreen
            text: mainIten.mainLang[16] ?? ""
            onClicked: {
                scrollRate.choosingScreen = true
                scrollRate.clickScrollRate()   // takes the focus from the field
                scrollRate.choosingScreen = false
                scrollRate.isOneScreen = true
                scrollRate.linesChange(1000)
            }
        }
    }

    Text {
        objectName: "linesReason"
        x: 10
        y: 64
        visible: !scrollRate.settable
        text: mainIten.mainLang[33] ?? ""
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontMinSize
        color: "#b0b0b0"
    }
}
