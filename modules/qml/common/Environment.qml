import QtQuick

// Window background and the logo at its top left.
Item {
    width: 1000
    height: 640

    Image {
        anchors.fill: parent
        source: mainIten.sourceBackground
        asynchronous: !mainIten.pageShown
        fillMode: Image.Stretch
    }

    Image {
        objectName: "mainLogo"
        x: 18
        y: 32
        source: mainIten.sourceMainLogo
        asynchronous: !mainIten.pageShown
    }
}
