import QtQuick

// Function menu of a mouse button, with its four sub-menus.
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

    signal menuCmd(string menuStr)

    width: 150
    height: 280
    visible: false
    color: "#f0181818"
    border.color: "#8f2020"

    function init() {}
    function showControl() {
        visible = true
    }
    function menuCmdProc(index) {}

    MouseArea {
        anchors.fill: parent
    }
}
