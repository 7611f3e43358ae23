import QtQuick

// A message on the reset dialog's picture with a row of buttons; `buttons` lists their object
// names and texts, `chosen` says which was clicked. With `draggable` the whole box drags.
Image {
    id: notice

    property alias title: titleText.text
    property alias text: message.text
    property alias textName: message.objectName
    property var buttons: [{ name: "noticeOk", text: mainIten.mainLang[28] ?? "" }]
    property bool draggable: false

    signal chosen(int index)

    width: 427
    height: 102
    source: visible ? mainIten.sourceSureBg : ""
    cache: false

    // Swallows clicks so they do not reach the mask behind it.
    MouseArea {
        property point pressPoint

        anchors.fill: parent
        onPressed: (mouse) => pressPoint = Qt.point(mouse.x, mouse.y)
        onPositionChanged: (mouse) => {
            if (!notice.draggable)
                return
            var page = notice.parent
            notice.x = Math.max(0, Math.min(page.width - notice.width, notice.x + mouse.x - pressPoint.x))
            notice.y = Math.max(0, Math.min(page.height - notice.height, notice.y + mouse.y - pressPoint.y))
        }
    }

    Rectangle {
        width: parent.width
        height: 30
        color: Theme.dialogColor
        Text {
            id: titleText
            objectName: "noticeTitle"
            x: 12
            anchors.verticalCenter: parent.verticalCenter
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontNormalSize
            font.bold: true
            color: Theme.fontColor
        }
    }

    Text {
        id: message
        objectName: "noticeText"
        x: 24
        y: 44
        width: parent.width - 48
        elide: Text.ElideRight
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormalSize
        font.bold: true
        color: Theme.fontColor
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 16
        y: 68
        spacing: 12
        Repeater {
            model: notice.buttons
            DialogButton {
                required property var modelData
                required property int index
                objectName: modelData.name
                text: modelData.text
                onClicked: notice.chosen(index)
            }
        }
    }
}
