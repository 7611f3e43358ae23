import QtQuick
import "../common"
import "../common/sensormath.js" as SensorMath

// System wheel scroll lines: a number of rows, or one screen per notch (1000).
Frame {
    id: scrollRate

    property int lines: 3
    property bool isOneScreen: false

    signal clickScrollRate()
    signal linesChange(int linesValue)

    title: mainIten.mainLang[12] ?? ""
    bodyHeight: 70

    function init(isSendData) {
        lines = ui_View.getVerticalScrollLines()
        isOneScreen = lines === 1000
        if (!isOneScreen)
            linesField.text = String(lines)
        if (isSendData)
            ui_View.setVerticalScrollLines(lines)
    }

    function applyRows() {
        linesField.text = String(SensorMath.scrollFieldValue(linesField.text))
        isOneScreen = false
        linesChange(parseInt(linesField.text))
    }

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
                anchors.fill: parent
                anchors.margins: 2
                horizontalAlignment: TextInput.AlignHCenter
                verticalAlignment: TextInput.AlignVCenter
                maximumLength: 3
                validator: RegularExpressionValidator { regularExpression: /[0-9]{0,3}/ }
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontNormalSize
                color: mainIten.fontColor
                selectByMouse: true
                onActiveFocusChanged: {
                    if (activeFocus) {
                        mainIten.isScrollRateFocus = true
                    } else {
                        mainIten.isScrollRateFocus = false
                        scrollRate.applyRows()
                    }
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
            scrollRate.isOneScreen = true
            scrollRate.linesChange(1000)
            scrollRate.clickScrollRate()
        }
    }
}
