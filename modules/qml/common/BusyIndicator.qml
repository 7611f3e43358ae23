import QtQuick

// "LOADING ......" that pulses while the page refuses input.
Item {
    id: busy

    property bool isBusy: false

    function setBusy(b) {
        isBusy = b
    }

    width: 220
    height: 40
    visible: isBusy

    // Made the first time it shows: its font is the page's first, and loading it need not hold up
    // the window's first frame.
    FirstUseLoader {
        shown: busy.isBusy
        sourceComponent: Item {
            Text {
                anchors.centerIn: parent
                text: "LOADING ......"
                font.family: Theme.fontFamily
                font.pixelSize: 18
                font.bold: true
                color: Theme.fontColor
                style: Text.Outline
                styleColor: "#80c01818"

                SequentialAnimation on opacity {
                    running: busy.isBusy
                    loops: Animation.Infinite
                    NumberAnimation { from: 1.0; to: 0.2; duration: 400 }
                    NumberAnimation { from: 0.2; to: 1.0; duration: 400 }
                }
            }
        }
    }
}
