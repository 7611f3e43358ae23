import QtQuick
import "../common"

// A small box above the macro editor with a bold title, what its user puts in, and OK / Cancel.
Rectangle {
    id: box

    property alias title: titleText.text
    property alias okName: ok.objectName
    property alias cancelName: cancel.objectName
    property alias okText: ok.text
    property alias cancelText: cancel.text
    property int buttonsY: 80

    signal accepted()
    signal rejected()

    anchors.centerIn: parent
    width: 300
    z: 6
    color: Theme.dialogColor
    border.color: Theme.menuBorder

    MouseArea { anchors.fill: parent }

    Text {
        id: titleText
        x: 12
        y: 8
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormalSize
        font.bold: true
        color: Theme.fontColor
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 20
        y: box.buttonsY
        spacing: 12
        DialogButton {
            id: ok
            onClicked: box.accepted()
        }
        DialogButton {
            id: cancel
            onClicked: box.rejected()
        }
    }
}
