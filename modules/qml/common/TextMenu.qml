import QtQuick

// A pop-up list of text rows; `rows` is the table of texts, `picked` says which was clicked.
Rectangle {
    id: menu

    property var rows: []
    // Object names of the rows and of their texts: the name and the row's index; empty, none.
    property string rowName: ""
    property string textName: ""
    property int textX: 6
    property int rowCount: rows.length

    signal picked(int index)

    height: rowCount * 21 + 2
    border.color: Theme.menuBorder
    color: Theme.menuColor
    visible: false

    Column {
        y: 1
        Repeater {
            model: menu.rowCount
            Rectangle {
                required property int index
                objectName: menu.rowName === "" ? "" : menu.rowName + index
                width: menu.width
                height: 21
                color: rowArea.containsMouse ? Theme.menuBorder : "transparent"
                Text {
                    objectName: menu.textName === "" ? "" : menu.textName + parent.index
                    x: menu.textX
                    anchors.verticalCenter: parent.verticalCenter
                    text: menu.rows[parent.index] ?? ""
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontMinSize + 1
                    color: Theme.fontColor
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: menu.picked(parent.index)
                }
            }
        }
    }
}
