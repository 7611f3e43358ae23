import QtQuick

// Window background and the logo at its top left.
Item {
    width: 1000
    height: 640

    Image {
        anchors.fill: parent
        source: mainIten.inTray ? "" : mainIten.sourceBackground
        // Let go of in the tray at once, not kept in Qt's pixmap cache, whose expiry timer wakes the program.
        cache: false
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
