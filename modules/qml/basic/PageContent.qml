import QtQuick
import "../common"
import "../J2"

// Everything of the page below the start logo and the busy lock: the panels on both sides, the
// mouse picture, the header and footer, and the dialogs above a dimming mask. The page makes it
// when it is first revealed, under the start lock, so the window's first frame does not wait for it.
Item {
    id: content

    anchors.fill: parent

    // The panels, by the names the page's functions use.
    readonly property Item keyMatrixMain: panelleft.keyMatrix
    readonly property Item xySettingMain: panelleft.xySetting
    readonly property Item jmgdMain: panelleft.jmgd
    readonly property Item dpiSettingMain: panelRightItem.dpiSetting
    readonly property Item lightControlMain: panelRightItem.lightControl
    readonly property Item reportRateMain: panelRightItem.reportRate
    readonly property Item mouseRateMain: panelRightItem.mouseRate
    readonly property Item doubleRateMain: panelRightItem.doubleRate
    readonly property Item scrollRateMain: panelRightItem.scrollRate
    // The rest the page's functions reach.
    readonly property Item rightColumn: panelRightItem
    readonly property Item mouseView: mouseMain
    readonly property Item colorPopup: colorBar
    readonly property Item mask: mainMask
    readonly property Item macroEditor: macroEditorMain
    readonly property Item gunControl: gunControlMain
    readonly property Item keyMenu: keyMenuMain
    readonly property Item profilePage: profileMain
    readonly property Item singleKey: singleKeyMain
    readonly property Item macroKey: macroKeyMain
    readonly property Item notice: noticeBox
    readonly property Item resetDialog: factorysure
    readonly property Item helpMenu: askMenu
    readonly property QtObject flows: panelFlows

    PanelFlows {
        id: panelFlows
        panels: ({ keys: keyMatrixMain, axes: xySettingMain, dpi: dpiSettingMain, lighting: lightControlMain,
                   reportRate: reportRateMain, pointerSpeed: mouseRateMain, doubleClick: doubleRateMain,
                   scrollLines: scrollRateMain, liftOff: jmgdMain })
        macroEditor: macroEditorMain
        model: mainIten.curDevice
    }

    Environment {
        id: envItem
        objectName: "envItem"
        visible: mainIten.pageShown
    }

    LeftColumn {
        id: panelleft
        objectName: "panelleft"
        x: 18
        y: 106
        visible: mainIten.pageShown
        page: mainIten
        mouseView: mouseMain
        keyMenu: keyMenuMain
        macroEditor: macroEditorMain
        gunControl: gunControlMain
        lighting: panelRightItem.lightControl
        keyNames: keyCodeNames
    }

    RightColumn {
        id: panelRightItem
        x: 734
        y: 32
        width: parent.width - 9 - x
        visible: mainIten.pageShown
        page: mainIten
        colorBar: colorBar
    }

    PageButtons {
        visible: mainIten.pageShown
        page: mainIten
        onProfileClicked: {
            mainIten.focusControl()
            profileMain.visible = !profileMain.visible
            mainMask.visible = profileMain.visible
        }
        onResetClicked: {
            mainIten.focusControl()
            mainIten.openDialog(factorysure, false)
        }
        onHelpClicked: askMenu.visible = true
    }

    Mouse {
        id: mouseMain
        objectName: "mouseMain"
        visible: mainIten.pageShown
    }

    ColorBar {
        id: colorBar
        objectName: "colorBar"
        visible: false
        onColorChosen: (colorValue) => dpiSettingMain.setColor(colorValue)
    }

    // A press beside a dialog ends its pop-ups and edits; a drag moves the window.
    Rectangle {
        id: mainMask
        objectName: "mainMask"
        anchors.fill: parent
        color: "#90000000"
        visible: false
        WindowDragArea { onPressedAt: mainIten.maskPressed() }
    }

    MacroEditor {
        id: macroEditorMain
        objectName: "macroEditorMain"
        keyNames: keyCodeNames
        onDeleteMacroSignal: (macroName) => keyMatrixMain.deleteMacroProc(macroName)
        onMacroRenamed: keyMatrixMain.refreashUI()
        onCloseUI: mainIten.closeDialog(macroEditorMain)
    }

    GunControl {
        id: gunControlMain
        objectName: "gunControlMain"
        onCloseUI: mainIten.closeDialog(gunControlMain)
    }

    KeyMenu {
        id: keyMenuMain
        objectName: "keyMenuMain"
        keyMatrix: keyMatrixMain
        mouseView: mouseMain
        onOpenSingleKey: mainIten.openDialog(singleKeyMain, true)
        onOpenMacroKey: {
            mainIten.openDialog(macroKeyMain, true)
            macroKeyMain.showUI()
        }
    }

    Profile {
        id: profileMain
        objectName: "profileMain"
        x: 18
        y: 106
        macroEditor: macroEditorMain
        onChangeProfile: (tmpProfileNo) => {
            if (tmpProfileNo === profileNo)
                return
            profileNo = tmpProfileNo
            ui_View.ui_02H_SetCurrentProfile(tmpProfileNo)
            switched = true
            mainIten.reloadPanels(false)
        }
        onCloseUI: {
            mainIten.closeDialog(profileMain)
            if (!switched)
                return
            mainIten.setProtectUI(1200)
            switched = false
            mainIten.reloadPanels(true)
        }
        onProfileLoaded: (loaded) => {
            panelFlows.run(loaded ? "load" : "macros")
            if (loaded)
                macroEditorMain.init()
        }
        onLinkApplications: (tmpProfileNo) => {
            linkDialog.active = true
            linkDialog.item.open(tmpProfileNo, profileMain.nameOf(tmpProfileNo))
            linkDialog.item.visible = true
        }
    }

    // Created on first use; shown over the profile panel, whose mask stays.
    Loader {
        id: linkDialog
        objectName: "linkDialog"
        active: false
        anchors.centerIn: parent
        sourceComponent: LinkDialog { onClosed: visible = false }
    }

    SingleKey {
        id: singleKeyMain
        objectName: "singleKeyMain"
        anchors.centerIn: parent
        keyMatrix: keyMatrixMain
        mouseView: mouseMain
        keyNames: keyCodeNames
        texts: macroKeyMain.macroKeyLang
        onCloseSure: mainIten.closeKeyDialog(singleKeyMain)
    }

    MacroKey {
        id: macroKeyMain
        objectName: "macroKeyMain"
        anchors.centerIn: parent
        keyMatrix: keyMatrixMain
        mouseView: mouseMain
        macroEditor: macroEditorMain
        onCloseSure: mainIten.closeKeyDialog(macroKeyMain)
    }

    NoticeBox {
        id: noticeBox
        objectName: "noticeBox"
        visible: false
        onChosen: mainIten.closeDialog(noticeBox)
    }

    ResetDialog {
        id: factorysure
        objectName: "factorysure"
        x: (mainIten.width - width) / 2
        y: (mainIten.height - height) / 2
        visible: false
        onAccepted: mainIten.resetFactorySettings()
        onRejected: mainIten.closeDialog(factorysure)
    }

    HelpMenu {
        id: askMenu
        objectName: "askMenu"
        x: 790
        y: 24
        webAddress: mainIten.webAddress
        onShowNotice: (title, text) => mainIten.showNotice(title, text)
    }

    KeyCodeString {
        id: keyCodeNames
    }
}
