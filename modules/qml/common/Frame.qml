import QtQuick

// Collapsible side panel: a title bar with "—" and a body that slides up
// under it when the panel closes.
Item {
    id: frame

    property alias title: titleText.text
    property bool isOpen: true
    property int bodyHeight: 100
    default property alias content: body.data

    signal openCloseMenu()
    signal clickFrame()

    width: 242
    height: titleBar.height + bodyClip.height
    clip: true

    // A click during the slide is ignored, so the panel never stops half open.
    onOpenCloseMenu: {
        if (!slide.running)
            isOpen = !isOpen
    }

    Item {
        id: bodyClip
        y: titleBar.height
        width: parent.width
        height: frame.isOpen ? frame.bodyHeight : 0
        clip: true
        Behavior on height { NumberAnimation { id: slide; duration: Theme.animationSpeed } }

        Rectangle {
            id: body
            width: parent.width
            height: frame.bodyHeight
            y: bodyClip.height - frame.bodyHeight
            gradient: Gradient {
                GradientStop { position: 0.0; color: "#e0262626" }
                GradientStop { position: 1.0; color: "#e0141414" }
            }
            border.color: "#2c2c2c"

            MouseArea {
                anchors.fill: parent
                z: -1
                onPressed: frame.clickFrame()
            }
        }
    }

    Rectangle {
        id: titleBar
        width: 242
        height: 18
        color: "#1a1a1a"

        Rectangle {
            width: 3
            height: parent.height
            color: "#c01818"
        }
        Text {
            id: titleText
            x: 7
            anchors.verticalCenter: parent.verticalCenter
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontNormalSize
            color: Theme.fontColor
        }
        Text {
            anchors.right: parent.right
            anchors.rightMargin: 7
            anchors.verticalCenter: parent.verticalCenter
            text: "—"
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontNormalSize
            color: Theme.fontColor
        }
        MouseArea {
            anchors.fill: parent
            onClicked: {
                frame.openCloseMenu()
                frame.clickFrame()
            }
        }
    }
}
