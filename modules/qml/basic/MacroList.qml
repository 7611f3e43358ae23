import QtQuick
import "../common"

// The macro editor's list of macros; a double-click renames one.
Rectangle {
    id: box

    property Item editor

    width: 180
    height: 290
    color: Theme.fieldColor
    border.color: "#3a2a2a"
    ListView {
        id: macroList
        objectName: "macroList"
        anchors.fill: parent
        anchors.margins: 2
        clip: true
        currentIndex: box.editor.currentIndex
        onCurrentIndexChanged: box.editor.currentIndex = currentIndex

        Connections {
            target: box.editor
            function onMacroRowSelected(index) { macroList.currentIndex = index }
        }
        model: box.editor.macroListModel
        delegate: Rectangle {
            id: macroRow
            required property int index
            required property string macroName
            objectName: "macroRow" + index
            width: macroList.width
            height: 22
            color: ListView.isCurrentItem ? "#8f2020" : (rowArea.containsMouse ? "#40c01818" : "transparent")
            Text {
                x: 6
                anchors.verticalCenter: parent.verticalCenter
                visible: !nameEdit.visible
                text: macroRow.macroName
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontNormalSize
                color: Theme.fontColor
            }
            MouseArea {
                id: rowArea
                anchors.fill: parent
                hoverEnabled: true
                // Taking the focus ends any rename in progress; a double-click then starts one.
                onPressed: if (!nameEdit.visible) box.editor.forceActiveFocus()
                onClicked: {
                    box.editor.listViewFocus()
                    box.editor.selectMacro(macroRow.index)
                }
                onDoubleClicked: {
                    if (box.editor.isInputting)
                        return
                    nameEdit.text = macroRow.macroName
                    nameEdit.visible = true
                    nameEdit.selectAll()
                    nameEdit.forceActiveFocus()
                }
            }
            TextInput {
                id: nameEdit
                objectName: "macroNameEdit" + macroRow.index
                x: 6
                width: parent.width - 12
                anchors.verticalCenter: parent.verticalCenter
                visible: false
                maximumLength: 64
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontNormalSize
                color: Theme.accent
                selectionColor: "#8f2020"
                function commit() {
                    if (!visible)
                        return
                    visible = false
                    box.editor.renameMacro(macroRow.index, text)
                }
                onAccepted: commit()
                onActiveFocusChanged: if (!activeFocus) commit()
            }
        }
    }
}
