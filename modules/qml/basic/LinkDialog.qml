import QtQuick
import "../common"

// The applications one profile follows: the classes of the windows open now on
// the left, this profile's links on the right, with Add and Remove. The links
// live in the native ui_Links; without X11 the dialog says switching is off.
Rectangle {
    id: dialog

    property int profileNo: -1
    property string profileName: ""
    // Title, the two list headings, Add, Remove, Close, and the note without X11.
    property var texts: mainIten.mainLang.slice(49, 56)
    readonly property bool available: !!ui_Links && ui_Links.available
    readonly property int rowHeight: 18

    signal closed()

    width: 420
    height: 300
    visible: false
    color: Theme.dialogColor
    border.color: Theme.dialogBorder

    ListModel { id: openModel }
    ListModel { id: linkedModel }

    function fill(model, names) {
        model.clear()
        for (var i = 0; i < names.length; ++i)
            model.append({ windowClass: String(names[i]) })
    }

    function refresh() {
        if (!available) {
            fill(openModel, [])
            fill(linkedModel, [])
            return
        }
        var linked = ui_Links.linksOf(profileNo)
        fill(linkedModel, linked)
        fill(openModel, ui_Links.openClasses().filter(function (c) { return linked.indexOf(c) < 0 }))
        openList.currentIndex = openModel.count > 0 ? 0 : -1
        linkedList.currentIndex = linkedModel.count > 0 ? 0 : -1
    }

    function open(number, name) {
        profileNo = number
        profileName = name
        refresh()
    }

    function addSelected() {
        if (openList.currentIndex >= 0 && ui_Links.link(openModel.get(openList.currentIndex).windowClass, profileNo))
            refresh()
    }

    function removeSelected() {
        if (linkedList.currentIndex >= 0 && ui_Links.unlink(linkedModel.get(linkedList.currentIndex).windowClass))
            refresh()
    }

    // Presses do not reach the mask behind the dialog.
    MouseArea { anchors.fill: parent }

    Rectangle {
        id: titleBar
        width: parent.width
        height: 18
        color: "#1a1a1a"
        Rectangle { width: 3; height: parent.height; color: "#c01818" }
        Text {
            objectName: "linkTitle"
            x: 7
            width: parent.width - 40
            elide: Text.ElideRight
            anchors.verticalCenter: parent.verticalCenter
            text: dialog.texts[0] + (dialog.profileName.length > 0 ? "  " + dialog.profileName : "")
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontNormalSize
            color: Theme.fontColor
        }
        Text {
            anchors.right: parent.right
            anchors.rightMargin: 7
            anchors.verticalCenter: parent.verticalCenter
            text: "×"
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontNormalSize + 2
            color: closeArea.containsMouse ? "#ff4040" : Theme.fontColor
        }
        MouseArea {
            id: closeArea
            anchors.right: parent.right
            width: 24
            height: parent.height
            hoverEnabled: true
            onClicked: dialog.closed()
        }
    }

    Text {
        objectName: "linkUnavailable"
        visible: !dialog.available
        x: 16
        y: titleBar.height + 20
        width: parent.width - 32
        wrapMode: Text.WordWrap
        text: dialog.texts[6]
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormalSize
        color: Theme.fontColor
    }

    Row {
        visible: dialog.available
        x: 10
        y: titleBar.height + 8
        spacing: 10
        Repeater {
            model: [{ heading: dialog.texts[1], list: openModel, name: "linkOpenList" },
                    { heading: dialog.texts[2], list: linkedModel, name: "linkLinkedList" }]
            Column {
                id: column
                required property var modelData
                required property int index
                spacing: 4
                Text {
                    text: column.modelData.heading
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontMinSize + 1
                    color: "#c0c0c0"
                }
                Rectangle {
                    width: 195
                    height: 200
                    color: "#161616"
                    border.color: Theme.dialogBorder
                    ListView {
                        id: list
                        objectName: column.modelData.name
                        anchors.fill: parent
                        anchors.margins: 3
                        clip: true
                        model: column.modelData.list
                        currentIndex: -1
                        Component.onCompleted: {
                            if (column.index === 0)
                                dialog.openList = list
                            else
                                dialog.linkedList = list
                        }
                        delegate: Rectangle {
                            id: row
                            required property int index
                            required property string windowClass
                            objectName: column.modelData.name + "Row" + index
                            width: ListView.view.width
                            height: dialog.rowHeight
                            color: ListView.isCurrentItem ? Theme.menuBorder : (rowArea.containsMouse ? Theme.buttonColor : "transparent")
                            Text {
                                x: 6
                                width: parent.width - 12
                                elide: Text.ElideRight
                                anchors.verticalCenter: parent.verticalCenter
                                text: row.windowClass
                                font.family: Theme.fontFamily
                                font.pixelSize: Theme.fontNormalSize
                                color: Theme.fontColor
                            }
                            MouseArea {
                                id: rowArea
                                anchors.fill: parent
                                hoverEnabled: true
                                onClicked: row.ListView.view.currentIndex = row.index
                                onDoubleClicked: column.index === 0 ? dialog.addSelected() : dialog.removeSelected()
                            }
                        }
                    }
                }
            }
        }
    }
    property Item openList: null
    property Item linkedList: null

    Row {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 10
        spacing: 20
        Repeater {
            model: [{ label: dialog.texts[3], name: "linkAdd", shown: dialog.available },
                    { label: dialog.texts[4], name: "linkRemove", shown: dialog.available },
                    { label: dialog.texts[5], name: "linkClose", shown: true }]
            Rectangle {
                id: button
                required property var modelData
                required property int index
                objectName: modelData.name
                visible: modelData.shown
                width: 88
                height: 25
                border.color: Theme.dialogBorder
                color: buttonArea.containsMouse ? "#761212" : "#4f1717"
                Text {
                    anchors.centerIn: parent
                    text: button.modelData.label
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontNormalSize
                    color: Theme.fontColor
                }
                MouseArea {
                    id: buttonArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: {
                        if (button.index === 0)
                            dialog.addSelected()
                        else if (button.index === 1)
                            dialog.removeSelected()
                        else
                            dialog.closed()
                    }
                }
            }
        }
    }
}
