import QtQuick

// Shown instead of the settings while no mouse can be used: none attached, or one this
// user may not open (then with the command that tells the fix). 0 hides it. What it shows is
// made the first time it shows.
Item {
    id: notice

    property int mouseState: 0         // 0 usable, 1 no mouse, 2 no permission
    property var texts: []         // title and text for no mouse, then for no permission
    readonly property string checkCommand: "orvane-g7 --check"

    signal minimize()
    signal close()

    width: 1000
    height: 640
    visible: mouseState !== 0

    FirstUseLoader {
        shown: notice.visible
        sourceComponent: Item {
            Image {
                anchors.fill: parent
                source: notice.visible ? mainIten.sourceBackground : ""
                fillMode: Image.Stretch
            }

            WindowDragArea {}

            Image {
                x: 18
                y: 32
                source: notice.visible ? mainIten.sourceMainLogo : ""
            }

            // The header's minimise and close buttons, where the page has them.
            Row {
                x: 957
                y: 5
                spacing: 5

                ImageButton {
                    objectName: "noticeMinimize"
                    normalSource: mainIten.sourceCloseBtn
                    hoverSource: mainIten.sourceCloseBtnH
                    onClicked: notice.minimize()
                }
                ImageButton {
                    objectName: "noticeClose"
                    normalSource: mainIten.sourceMinBtn
                    hoverSource: mainIten.sourceMinBtnH
                    onClicked: notice.close()
                }
            }

            Rectangle {
                id: panel
                anchors.centerIn: parent
                width: 560
                height: column.height + 60
                radius: 4
                border.color: "#646464"
                gradient: Gradient {
                    GradientStop { position: 0.0; color: "#e0262626" }
                    GradientStop { position: 1.0; color: "#e0141414" }
                }

                Column {
                    id: column
                    anchors.centerIn: parent
                    width: parent.width - 60
                    spacing: 16

                    Text {
                        objectName: "noticeTitle"
                        width: parent.width
                        horizontalAlignment: Text.AlignHCenter
                        text: notice.texts[notice.mouseState === 2 ? 2 : 0] ?? ""
                        font.family: Theme.fontFamily
                        font.pixelSize: 20
                        font.bold: true
                        color: notice.mouseState === 2 ? "#ff6a5a" : Theme.fontColor
                    }
                    Text {
                        objectName: "noticeText"
                        width: parent.width
                        horizontalAlignment: Text.AlignHCenter
                        wrapMode: Text.WordWrap
                        text: notice.texts[notice.mouseState === 2 ? 3 : 1] ?? ""
                        font.family: Theme.fontFamily
                        font.pixelSize: 14
                        color: "#e1e1e1"
                    }
                    Rectangle {
                        anchors.horizontalCenter: parent.horizontalCenter
                        visible: notice.mouseState === 2
                        width: command.implicitWidth + 32
                        height: command.implicitHeight + 16
                        color: "#0c0c0c"
                        border.color: "#646464"

                        TextEdit {
                            id: command
                            objectName: "noticeCommand"
                            anchors.centerIn: parent
                            text: notice.checkCommand
                            readOnly: true
                            selectByMouse: true
                            font.family: "monospace"
                            font.pixelSize: 15
                            color: "#ffffff"
                            selectionColor: "#c01818"
                        }
                    }
                }
            }
        }
    }
}
