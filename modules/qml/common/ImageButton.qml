import QtQuick

// Button drawn from a normal, a hover and a pressed image, with an optional label.
Item {
    id: button

    property url normalSource
    property url hoverSource: normalSource
    property url pressedSource: hoverSource
    property alias text: label.text
    property alias label: label
    property int labelOffsetX: 0
    readonly property alias hovered: area.containsMouse
    readonly property alias pressed: area.pressed

    signal clicked()

    width: image.implicitWidth
    height: image.implicitHeight

    Image {
        id: image
        source: area.pressed ? button.pressedSource
                             : area.containsMouse ? button.hoverSource : button.normalSource
        // Swapped images are not kept in Qt's pixmap cache, whose expiry timer wakes the idle program.
        cache: false
    }
    Text {
        id: label
        anchors.centerIn: parent
        anchors.horizontalCenterOffset: button.labelOffsetX
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormalSize
        color: Theme.fontColor
    }
    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.clicked()
    }
}
