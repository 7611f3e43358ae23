import QtQuick
import "sensormath.js" as SensorMath

// Half-circle dial of levels 0..11 with "Slow" and "Fast" under its ends.
Item {
    id: dial

    property int level: 5

    signal pressedChange()   // level follows the pointer while pressed
    signal released()

    width: 242
    height: 96

    Image {
        id: dialImage
        objectName: "dialImage"
        x: (parent.width - 180) / 2
        y: 4
        width: 180
        height: 80
        source: mainIten["sourceSpeedDial" + SensorMath.dialImage(dial.level)]
        // Swapped images are not kept in Qt's pixmap cache, whose expiry timer wakes the idle program.
        cache: false

        MouseArea {
            anchors.fill: parent
            preventStealing: true   // the settings column does not flick while the dial is held
            onPressed: (mouse) => dial.level = SensorMath.dialLevel(mouse.x, mouse.y, width)
            onPositionChanged: (mouse) => {
                if (pressed)
                    dial.level = SensorMath.dialLevel(mouse.x, mouse.y, width)
            }
            onReleased: dial.released()
        }
    }
    Text {
        anchors.right: dialImage.left
        anchors.rightMargin: -14
        y: dialImage.y + 68
        text: mainIten.mainLang[13] ?? ""
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontMinSize
        color: Theme.fontColor
    }
    Text {
        anchors.left: dialImage.right
        anchors.leftMargin: -14
        y: dialImage.y + 68
        text: mainIten.mainLang[14] ?? ""
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontMinSize
        color: Theme.fontColor
    }
}
