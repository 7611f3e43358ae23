import QtQuick

// Profile manager.
Rectangle {
    id: profile

    property int profileNo: -1

    signal changeProfile(int tmpProfileNo)
    signal closeUI()
    signal listViewFocus()
    signal doubleClick()

    width: 242
    height: 260
    visible: false
    color: "#1e1e1e"
    border.color: "#4e3434"

    function init() {}
    function profileEditorFocus() {}

    MouseArea {
        anchors.fill: parent
    }

    // The panel's close button: hides it with the mask and tells the main page.
    Text {
        objectName: "profileClose"
        anchors.right: parent.right
        anchors.rightMargin: 8
        y: 4
        text: "X"
        font.family: mainIten.fontFamily
        font.pixelSize: mainIten.fontNormalSize
        color: mainIten.fontColor
        MouseArea {
            anchors.fill: parent
            anchors.margins: -4
            onClicked: {
                profile.visible = false
                mainMask.visible = false
                profile.closeUI()
            }
        }
    }
}
