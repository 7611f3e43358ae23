import QtQuick
import "../common"

// Function menu of the selected mouse button, with its four sub-menus.
Rectangle {
    id: keyMenu

    // Top entries, the hidden gun entry, then the DPI, multimedia, basic and
    // additional sub-menus, each in menu order.
    property var keyMenuLang: [
        "Left Button", "Right Button", "Middle Button", "Forward", "Back",
        "Basic Commands +", "Multimedia Commands +", "Additional Commands +", "DPI Setting +",
        "Fire key", "Assign Keyboard Key", "Macro", "Deactivated", "Gun Management",
        "DPI +", "DPI -", "DPI LOOP",
        "Media Player", "Next Track", "Previous Track", "Stop", "Play/Pause", "Mute",
        "Volume Up", "Volume Down",
        "New", "Cut", "Copy", "Paste", "Save", "Print", "Find", "Redo", "Undo", "Select All",
        "My Computer", "Web Home", "Search Computer", "Maximize", "Minimize", "Show DeskTop", "RUN",
        "", "", ""]
    // Entry text of each label above; "" for the entries that open something instead.
    readonly property var menuCode: [
        "0200f000", "0200f100", "0200f200", "0200f400", "0200f300", "", "", "", "",
        "0c01f002", "", "", "00000000", "08000200",
        "08010000", "08020000", "08030000",
        "04008301", "0400b500", "0400b600", "0400b700", "0400cd00", "0400e200", "0400e900", "0400ea00",
        "0100e011", "0100e01b", "0100e006", "0100e019", "0100e016", "0100e013", "0100e009", "0100e01c",
        "0100e01d", "0100e004",
        "04009401", "04002302", "04002102", "01e22c1b", "01e22c11", "0100e307", "0100e315"]
    // Shown top entries (the gun entry stays hidden) and the label ranges of the sub-menus by parent entry.
    readonly property var topEntries: [0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12]
    readonly property var subMenus: ({ 5: [25, 35], 6: [17, 25], 7: [35, 42], 8: [14, 17] })
    readonly property int rowHeight: 20
    property int openSubMenu: -1
    // The rows are made the first time the menu shows; most sessions never open it.
    property bool rowsMade: false

    // Collaborators, set by the page.
    property Item keyMatrix
    property Item mouseView

    signal openSingleKey()
    signal openMacroKey()

    width: 176
    height: topEntries.length * rowHeight + 4
    visible: false
    color: "#f0181818"
    border.color: "#8f2020"

    // The labels follow keyMenuLang; nothing to load.
    function init() {}

    function showControl() {
        openSubMenu = -1
        visible = true
    }

    onVisibleChanged: if (visible) rowsMade = true

    function hoverEntry(index) {
        if (subMenus[index] !== undefined)
            openSubMenu = index
        else if (index === 4 || index === 9)
            openSubMenu = -1
    }

    // Gives the selected button the function of an entry's code (four bytes in hex).
    function apply(code) {
        var b = []
        for (var i = 0; i < 4; ++i)
            b.push(parseInt(code.substr(2 * i, 2), 16))
        if (keyMatrix.modifyData(mouseView.selectKey, b[0], b[1], b[2], b[3]))
            keyMatrix.refreashUI()
        visible = false
        mouseView.selectKey = -1
    }

    function menuCmdProc(index) {
        if (index === 10) {
            visible = false
            openSingleKey()
        } else if (index === 11) {
            visible = false
            openMacroKey()
        } else if (menuCode[index]) {
            apply(menuCode[index])
        }
    }

    MouseArea {
        anchors.fill: parent
    }

    component MenuRow: Rectangle {
        id: menuRow
        required property int entry
        property bool open: false

        signal hovered()

        width: parent.width
        height: keyMenu.rowHeight
        color: rowArea.containsMouse || open ? "#8f2020" : "transparent"
        Text {
            x: 8
            anchors.verticalCenter: parent.verticalCenter
            text: keyMenu.keyMenuLang[menuRow.entry] ?? ""
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontNormalSize
            color: Theme.fontColor
        }
        MouseArea {
            id: rowArea
            anchors.fill: parent
            hoverEnabled: true
            onEntered: menuRow.hovered()
            onClicked: keyMenu.menuCmdProc(menuRow.entry)
        }
    }

    // Rows are placed by index rather than by a Column, so that they stand where they belong
    // from the moment they are made, before the next layout pass.
    Item {
        x: 2
        y: 2
        width: parent.width - 4
        Repeater {
            model: keyMenu.rowsMade ? keyMenu.topEntries : []
            MenuRow {
                required property int modelData
                required property int index
                y: index * keyMenu.rowHeight
                entry: modelData
                objectName: "menuEntry" + modelData
                open: keyMenu.openSubMenu === modelData
                onHovered: keyMenu.hoverEntry(modelData)
            }
        }
    }

    // One sub-menu beside each parent entry.
    Repeater {
        model: keyMenu.rowsMade ? [5, 6, 7, 8] : []
        Rectangle {
            id: subMenu
            required property int modelData
            readonly property var range: keyMenu.subMenus[modelData]
            objectName: "subMenu" + modelData
            x: keyMenu.width - 2
            y: keyMenu.topEntries.indexOf(modelData) * keyMenu.rowHeight
            width: 150
            height: (range[1] - range[0]) * keyMenu.rowHeight + 4
            visible: keyMenu.openSubMenu === modelData
            color: keyMenu.color
            border.color: keyMenu.border.color
            MouseArea {
                anchors.fill: parent
                hoverEnabled: true
            }
            Item {
                x: 2
                y: 2
                width: parent.width - 4
                Repeater {
                    model: subMenu.range[1] - subMenu.range[0]
                    MenuRow {
                        required property int index
                        y: index * keyMenu.rowHeight
                        entry: subMenu.range[0] + index
                        objectName: "menuEntry" + entry
                    }
                }
            }
        }
    }
}
