import QtQuick
import "../common"
import "../J2"

// The left column: button assignment, the macro (and recoil) buttons, axis sensitivity and
// lift-off height.
Column {
    id: column

    // Collaborators, set by the page.
    property Item page
    property Item mouseView
    property Item keyMenu
    property Item macroEditor
    property Item gunControl
    property Item lighting
    property QtObject keyNames

    property alias keyMatrix: keyMatrixMain
    property alias xySetting: xySettingMain
    property alias jmgd: jmgdMain

    spacing: 5

    KeyMatrix {
        id: keyMatrixMain
        objectName: "keyMatrixMain"
        mouseView: column.mouseView
        lighting: column.lighting
        keyNames: column.keyNames
        onClickFrame: column.page.focusControl()
        onEnterBtn: (index) => {
            if (column.keyMenu.visible !== keyMatrixMain.visible && index !== column.mouseView.selectKey)
                column.mouseView.selectKey = index
        }
        onLeaveBtn: (index) => {
            // A quick move reaches the next row before it leaves this one: keep the next row's key.
            if (!column.keyMenu.visible && column.mouseView.selectKey === index)
                column.mouseView.selectKey = -1
        }
        onClickKeyMatrix: (index) => {
            column.mouseView.selectKey = index
            column.keyMenu.x = keyMatrixMain.getx(index)
            column.keyMenu.y = keyMatrixMain.gety(index)
            column.keyMenu.showControl()
        }
    }

    Rectangle {
        objectName: "macroStrip"
        width: 242
        height: 38
        color: "#b31a1a1a"

        Row {
            anchors.centerIn: parent
            spacing: 8
            ImageButton {
                objectName: "macroBtn"
                normalSource: column.page.sourceMacroBtn
                hoverSource: column.page.sourceMacroBtnH
                pressedSource: column.page.sourceMacroBtnP
                text: column.macroEditor.macroEditorLang[0] ?? ""
                onClicked: {
                    column.page.focusControl()
                    column.page.openDialog(column.macroEditor, true)
                }
            }
            ImageButton {
                objectName: "gunBtn"
                visible: false
                normalSource: column.page.sourceGunBtn
                hoverSource: column.page.sourceGunBtnH
                text: column.gunControl.gunControlLang[0] ?? ""
                onClicked: {
                    column.page.focusControl()
                    column.page.openDialog(column.gunControl, true)
                }
            }
        }
    }

    XySetting {
        id: xySettingMain
        objectName: "xySettingMain"
        lighting: column.lighting
        onClickFrame: column.page.focusControl()
        onClickXySetting: column.page.focusControl()
    }

    JMGD {
        id: jmgdMain
        objectName: "jmgdMain"
        lighting: column.lighting
        visible: column.page.curDevice !== 0
        onClickFrame: column.page.focusControl()
    }
}
