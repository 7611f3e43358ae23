import QtQuick

// Dialog that takes one keyboard key for the selected button.
Rectangle {
    id: singleKey

    signal closeSure()

    width: 300
    height: 150
    visible: false
    color: "#1e1e1e"
    border.color: "#4e3434"

    function detectKeyboard(isDown, usbCode) {}

    MouseArea {
        anchors.fill: parent
    }
}
