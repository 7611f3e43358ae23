import QtQuick

// Dragging on it moves the frameless window; `pressed` tells the page first.
MouseArea {
    property point pressPoint

    signal pressedAt()

    anchors.fill: parent
    onPressed: (mouse) => {
        pressPoint = Qt.point(mouse.x, mouse.y)
        pressedAt()
    }
    onPositionChanged: (mouse) => {
        if (!pressed)
            return
        ui_Ctl.onXChanged(Math.round(mouse.x - pressPoint.x))
        ui_Ctl.onYChanged(Math.round(mouse.y - pressPoint.y))
    }
}
