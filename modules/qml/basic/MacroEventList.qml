import QtQuick
import "../common"

// The macro editor's events of the selected macro: a double-click edits a delay, a right-click
// opens the event menu.
Rectangle {
    id: box

    property Item editor

    // Menu positions are the editor's.
    function openMenu(index, x, y) {
        var p = eventList.mapToItem(editor, x, y)
        box.editor.openEventMenu(index, p.x, p.y)
    }

    Connections {
        target: box.editor
        function onEventAppended() { eventList.positionViewAtEnd() }
        function onEventRowSelected(index) { eventList.currentIndex = index }
    }

    width: 230
    height: 323
    color: Theme.fieldColor
    border.color: "#3a2a2a"
    ListView {
        id: eventList
        objectName: "eventList"
        anchors.fill: parent
        anchors.margins: 2
        clip: true
        currentIndex: box.editor.eventIndex
        // Inserts and removals move the current row; the editor follows.
        onCurrentIndexChanged: box.editor.eventIndex = currentIndex
        model: box.editor.eventModel
        boundsBehavior: Flickable.StopAtBounds
        delegate: Rectangle {
            id: eventRow
            required property int index
            required property int type
            required property string info
            objectName: "eventRow" + index
            width: eventList.width - 8
            height: 20
            color: ListView.isCurrentItem ? "#8f2020" : "transparent"
            Text {
                objectName: "eventText" + eventRow.index
                x: eventRow.type === 0 ? 26 : 6
                anchors.verticalCenter: parent.verticalCenter
                visible: !delayEdit.visible
                text: eventRow.type === 0 ? eventRow.info + " ms"
                      : (eventRow.type === 1 || eventRow.type === 3 ? "↓  " : "↑  ") + eventRow.info
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontNormalSize
                color: eventRow.type === 0 ? "#b0b0b0" : Theme.fontColor
            }
            MouseArea {
                anchors.fill: parent
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onClicked: (mouse) => {
                    if (box.editor.isInputting)
                        return
                    if (mouse.button === Qt.RightButton)
                        box.openMenu(eventRow.index, eventRow.x + mouse.x,
                                                  eventRow.y - eventList.contentY + mouse.y)
                    else {
                        box.editor.eventMenuOpen = false
                        box.editor.selectEventRow(eventRow.index)
                    }
                }
                onDoubleClicked: (mouse) => {
                    if (box.editor.isInputting || eventRow.type !== 0 || mouse.button !== Qt.LeftButton)
                        return
                    delayEdit.text = eventRow.info
                    delayEdit.visible = true
                    delayEdit.selectAll()
                    delayEdit.forceActiveFocus()
                }
            }
            TextInput {
                id: delayEdit
                objectName: "delayEdit" + eventRow.index
                x: 26
                width: 80
                anchors.verticalCenter: parent.verticalCenter
                visible: false
                validator: IntValidator { bottom: 0; top: 100000 }
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontNormalSize
                color: Theme.accent
                function commit() {
                    if (!visible)
                        return
                    visible = false
                    box.editor.setDelay(eventRow.index, text)
                }
                onAccepted: commit()
                onEditingFinished: commit()
                onActiveFocusChanged: if (!activeFocus) commit()
            }
        }
        // Right-click below the last event still opens the menu (for inserting into an empty list).
        MouseArea {
            z: -1
            width: eventList.width
            height: Math.max(0, eventList.height - eventList.contentHeight)
            y: eventList.contentHeight - eventList.contentY
            acceptedButtons: Qt.RightButton
            onClicked: (mouse) => box.openMenu(box.editor.eventModel.count - 1, mouse.x, y + mouse.y)
        }
    }
    // A thin thumb when the list is longer than its box.
    Rectangle {
        anchors.right: parent.right
        anchors.rightMargin: 2
        y: 2 + eventList.visibleArea.yPosition * (parent.height - 4)
        width: 5
        radius: 2
        height: Math.min(1, eventList.visibleArea.heightRatio) * (parent.height - 4)
        color: "#767676"
        visible: eventList.visibleArea.heightRatio < 1
    }
}
