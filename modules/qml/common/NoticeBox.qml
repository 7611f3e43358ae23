import QtQuick

// A message with one OK button, in the look of the reset dialog.
Image {
    id: notice

    property alias title: titleText.text
    property alias text: message.text

    signal closed()

    width: 427
    height: 102
    source: visible ? mainIten.sourceSureBg : ""
    cache: false

    // Swallows clicks so they do not reach the mask behind it.
    MouseArea {
        anchors.fill: parent
    }

    Rectangle {
        width: parent.width
        height: 30
        color: "#1e1e1e"
        Text {
            id: titleText
            objectName: "noticeTitle"
            x: 12
            anchors.verticalCenter: parent.verticalCenter
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            font.bold: true
            color: mainIten.fontColor
        }
    }

    Text {
        id: message
        objectName: "noticeText"
        x: 24
        y: 44
        width: parent.width - 48
        elide: Text.ElideRight
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
        font.bold: true
        color: mainIten.fontColor
    }

    Rectangle {
        objectName: "noticeOk"
        anchors.right: parent.right
        anchors.rightMargin: 16
        y: 68
        width: 88
        height: 25
        border.color: "#4e3434"
        color: okArea.containsMouse ? "#761212" : "#4f1717"
        Text {
            anchors.centerIn: parent
            text: mainIten.mainLang[28] ?? ""
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            color: mainIten.fontColor
        }
        MouseArea {
            id: okArea
            anchors.fill: parent
            hoverEnabled: true
            onClicked: notice.closed()
        }
    }
}
