import QtQuick
import "../common"

// The mouse picture in the middle of the page, in top or side view, with the
// selected button highlighted.
Item {
    id: mouseView

    property int selectKey: -1
    property int keyCount: 6
    property bool sideView: false
    readonly property bool noLight: mainIten.curDevice === 2
    // Highlight image of each button and the view it lies in.
    readonly property var highlights: [
        { source: mainIten.sourceKeyH0, side: false }, { source: mainIten.sourceKeyH1, side: false },
        { source: mainIten.sourceKeyH2, side: false }, { source: mainIten.sourceKeyH3, side: true },
        { source: mainIten.sourceKeyH4, side: true }, { source: mainIten.sourceKeyH5, side: false }]

    width: 1000
    height: 640

    Image {
        id: picture
        objectName: "mousePicture"
        x: 497 - width / 2
        y: 330 - height / 2
        source: mainIten.inTray ? ""
              : mouseView.sideView ? (mouseView.noLight ? mainIten.sourceMouseSideNoLight : mainIten.sourceMouseSide)
                                   : (mouseView.noLight ? mainIten.sourceMouseTopNoLight : mainIten.sourceMouseTop)
        // Swapped images are not kept in Qt's pixmap cache, whose expiry timer wakes the idle program.
        cache: false
        asynchronous: !mainIten.pageShown

        Repeater {
            model: mouseView.highlights.length
            Image {
                required property int index
                objectName: "keyHighlight" + index
                visible: mouseView.selectKey === index && index < mouseView.keyCount
                         && mouseView.highlights[index].side === mouseView.sideView
                // Decoded when first shown, not at start: six pictures the size of the mouse.
                source: visible ? mouseView.highlights[index].source : ""
                cache: false
            }
        }
    }

    Row {
        x: 497 - width / 2
        y: 578
        spacing: 12
        Repeater {
            model: 2
            Rectangle {
                required property int index
                readonly property bool active: mouseView.sideView === (index === 1)
                objectName: "viewTab" + index
                width: 96
                height: 22
                radius: 2
                color: tabArea.containsMouse ? "#40c01818" : "#901a1a1a"
                border.color: active ? "#c01818" : "#3a3a3a"
                Text {
                    anchors.centerIn: parent
                    text: mainIten.mainLang[17 + parent.index] ?? ""
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontNormalSize
                    color: parent.active ? "#fa6726" : Theme.fontColor
                }
                MouseArea {
                    id: tabArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: {
                        mainIten.focusControl()
                        mouseView.sideView = parent.index === 1
                    }
                }
            }
        }
    }
}
