import QtQuick

// The mouse picture in the middle of the page, in top or side view.
Item {
    id: mouse

    property int selectKey: -1
    property bool sideView: false

    width: 1000
    height: 640

    Image {
        id: picture
        objectName: "mousePicture"
        x: 497 - width / 2
        y: 330 - height / 2
        source: mouse.sideView ? mainIten.sourceMouseSide : mainIten.sourceMouseTop
    }

    Row {
        x: 497 - width / 2
        y: 578
        spacing: 12
        Repeater {
            model: 2
            Rectangle {
                required property int index
                readonly property bool active: mouse.sideView === (index === 1)
                width: 96
                height: 22
                radius: 2
                color: tabArea.containsMouse ? "#40c01818" : "#901a1a1a"
                border.color: active ? "#c01818" : "#3a3a3a"
                Text {
                    anchors.centerIn: parent
                    text: mainIten.mainLang[17 + parent.index] ?? ""
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontNormalSize
                    color: parent.active ? "#fa6726" : mainIten.fontColor
                }
                MouseArea {
                    id: tabArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: {
                        mainIten.focusControl()
                        mouse.sideView = parent.index === 1
                    }
                }
            }
        }
    }
}
