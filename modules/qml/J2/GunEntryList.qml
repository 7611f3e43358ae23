import QtQuick
import "../common"

// The recoil editor's named entries; a double-click renames one.
Rectangle {
    id: box

    property Item dialog

    component Caption: Text {
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontNormalSize
        color: Theme.fontColor
    }

    width: 170
    height: 232
    color: Theme.fieldColor
    border.color: Theme.dialogBorder

    Connections {
        target: box.dialog
        function onEntryAppended() { gunList.positionViewAtEnd() }
    }

    ListView {
        id: gunList
        objectName: "gunList"
        anchors.fill: parent
        anchors.margins: 1
        clip: true
        model: box.dialog.gunModel
        boundsBehavior: Flickable.StopAtBounds

        delegate: Rectangle {
            id: entry
            required property int index
            required property string gunName
            property bool editing: false
            objectName: "gunEntry" + index
            width: gunList.width
            height: 22
            color: index === box.dialog.currentIndex ? "#8f2020"
                                                     : entryArea.containsMouse ? "#3a1a1a" : "transparent"

            function finishRename(apply) {
                if (!editing)
                    return
                editing = false
                if (apply)
                    box.dialog.rename(index, nameInput.text)
            }

            Caption {
                objectName: "gunEntryText" + entry.index
                x: 8
                width: parent.width - 16
                anchors.verticalCenter: parent.verticalCenter
                elide: Text.ElideRight
                text: entry.gunName
                visible: !entry.editing
            }
            MouseArea {
                id: entryArea
                anchors.fill: parent
                hoverEnabled: true
                onClicked: box.dialog.select(entry.index)
                onDoubleClicked: {
                    box.dialog.select(entry.index)
                    nameInput.text = entry.gunName
                    entry.editing = true
                    nameInput.forceActiveFocus()
                    nameInput.selectAll()
                }
            }
            Rectangle {
                anchors.fill: parent
                anchors.margins: 1
                visible: entry.editing
                color: Theme.fieldColor
                border.color: Theme.accent
                TextInput {
                    id: nameInput
                    objectName: "gunRename" + entry.index
                    anchors.fill: parent
                    anchors.leftMargin: 7
                    anchors.rightMargin: 4
                    verticalAlignment: TextInput.AlignVCenter
                    clip: true
                    maximumLength: 64
                    selectByMouse: true
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontNormalSize
                    color: Theme.fontColor
                    onActiveFocusChanged: if (!activeFocus) entry.finishRename(true)
                    Keys.onReturnPressed: box.dialog.gunControlFocus()
                    Keys.onEnterPressed: box.dialog.gunControlFocus()
                    Keys.onEscapePressed: {
                        entry.finishRename(false)
                        box.dialog.gunControlFocus()
                    }
                }
            }
        }
    }
}
