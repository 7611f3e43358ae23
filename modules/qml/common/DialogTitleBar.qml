import QtQuick

// A dialog's title bar with its close cross; with `dragged` set, dragging it moves that item
// inside its parent.
Rectangle {
    id: bar

    property alias text: title.text
    property alias titleName: title.objectName
    property alias closable: closeGlyph.visible
    property alias closeName: closeGlyph.objectName
    property alias dragName: dragArea.objectName
    property Item dragged: null

    signal pressed()
    signal closeClicked()

    width: parent.width
    height: 30
    color: Theme.titleColor

    Text {
        id: title
        x: 12
        anchors.verticalCenter: parent.verticalCenter
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormalSize
        font.bold: true
        color: Theme.fontColor
    }

    MouseArea {
        id: dragArea

        property point pressPoint

        anchors.fill: parent
        enabled: bar.dragged !== null
        onPressed: (mouse) => {
            pressPoint = Qt.point(mouse.x, mouse.y)
            bar.pressed()
        }
        onPositionChanged: (mouse) => {
            var d = bar.dragged
            var page = d.parent
            d.x = Math.max(0, Math.min(page.width - d.width, d.x + mouse.x - pressPoint.x))
            d.y = Math.max(0, Math.min(page.height - d.height, d.y + mouse.y - pressPoint.y))
        }
    }

    Text {
        id: closeGlyph
        anchors.right: parent.right
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        text: "✕"
        font.pixelSize: Theme.fontNormalSize
        color: closeArea.containsMouse ? Theme.closeHover : Theme.fontColor
        MouseArea {
            id: closeArea
            anchors.fill: parent
            anchors.margins: -6
            hoverEnabled: true
            onClicked: bar.closeClicked()
        }
    }
}
