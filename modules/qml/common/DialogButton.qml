import QtQuick

// The dialogs' dark red push button.
Rectangle {
    id: button

    property alias text: label.text
    property bool enabledLook: true

    signal clicked()

    width: 88
    height: 25
    border.color: Theme.dialogBorder
    color: area.containsMouse ? Theme.buttonHover : Theme.buttonColor
    opacity: enabledLook ? 1 : 0.5

    Text {
        id: label
        anchors.centerIn: parent
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
