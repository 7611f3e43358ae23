import QtQuick

// The thumb beside a Flickable, dragged to scroll it; `page` is the item the pointer is tracked in,
// since the thumb itself moves while dragged.
Rectangle {
    id: thumb

    property Flickable flickable
    property Item page
    property int track: flickable.height

    readonly property var area: flickable.visibleArea

    visible: flickable.visible
    x: flickable.x + flickable.width - width
    y: flickable.y + area.yPosition * track
    width: 8
    height: Math.min(1, area.heightRatio) * track
    radius: 4
    border.color: "#60000000"
    gradient: Gradient {
        GradientStop { position: 0.0; color: "#767676" }
        GradientStop { position: 1.0; color: "#303030" }
    }

    Rectangle {
        anchors.fill: parent
        radius: parent.radius
        color: "#20ffffff"
        visible: thumbArea.containsMouse || thumbArea.pressed
    }

    MouseArea {
        id: thumbArea

        property real lastY: 0

        anchors.fill: parent
        hoverEnabled: true
        onPressed: (mouse) => lastY = mapToItem(thumb.page, 0, mouse.y).y
        onPositionChanged: (mouse) => {
            if (!pressed)
                return
            var f = thumb.flickable
            var pageY = mapToItem(thumb.page, 0, mouse.y).y
            var d = pageY - lastY
            lastY = pageY
            var p = Math.max(0, f.contentY + d)
            if (d <= 0 || f.contentY < f.contentHeight - f.height)
                f.contentY = p
        }
    }
}
