import QtQuick

// Radio image with its label; the whole row is clickable.
Item {
    id: option

    property bool checked: false
    property alias text: label.text

    signal clicked()

    width: label.x + label.implicitWidth
    height: 18

    Image {
        anchors.verticalCenter: parent.verticalCenter
        source: option.checked ? mainIten.sourceRadioOn : mainIten.sourceRadio
        // Swapped images are not kept in Qt's pixmap cache, whose expiry timer wakes the idle program.
        cache: false
    }
    Text {
        id: label
        x: 20
        anchors.verticalCenter: parent.verticalCenter
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormalSize
        color: Theme.fontColor
    }
    MouseArea {
        anchors.fill: parent
        onClicked: option.clicked()
    }
}
