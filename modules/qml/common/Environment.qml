import QtQuick

// Window background.
Item {
    width: 1000
    height: 640

    Image {
        anchors.fill: parent
        source: mainIten.sourceBackground
        fillMode: Image.Stretch
    }
}
