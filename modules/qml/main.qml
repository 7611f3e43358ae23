import QtQuick
import "common"
import "basic"
import "J2"
import "J2/panelmath.js" as PanelMath
import "common/texts.js" as Texts

// The whole window: start logo and busy lock, the panels on both sides, the
// mouse picture, the header and footer, and the dialogs above a dimming mask.
// ui_View, hid and ui_Ctl exist only after the page has loaded, so they are
// used from functions and handlers only, never from bindings.
SkinRoot {
    id: mainIten

    width: 1000
    height: 640
    visible: false

    property bool isScrollRateFocus: false
    property var mainLang: Texts.main
    property int language: 1
    property bool isPowerOn: false
    property int curDevice: 0

    property string webAddress: "www.orvane-gaming.com"
    readonly property string languageFile: "lang_025044"
    // A dialog and the mask behind it cover the page.
    readonly property bool dialogOpen: mainMask.visible

    // Set once the start logo gives way to the page. Until then the page's large pictures decode
    // off the GUI thread (asynchronous: !pageShown); later swaps load at once, so nothing flashes.
    property bool pageShown: false
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

    signal msg_KB(bool isDown, int usbCode)
    signal msg_MS(bool isDown, int moskCode, int x, int y)

    // Called when a device connection begins.
    function initUI(tempCurDevice) {
        curDevice = tempCurDevice
        if (isPowerOn)
            return
        isPowerOn = true
        setProtectUI(1000)
        visible = true

        readLanguage()

        profileMain.profileNo = PanelMath.profileIndex(ui_View.getProfile())
        ui_View.ui_02H_SetCurrentProfile(profileMain.profileNo)

        if (language === 1) {
            askMenu.setRowText(1, "更新")
            askMenu.setRowText(2, "版本:1.0")
            mainLang = ui_View.getGlobalStrings(0, languageFile)
            keyMatrixMain.keyMatrixLang = ui_View.getGlobalStrings(1, languageFile)
            keyMenuMain.keyMenuLang = ui_View.getGlobalStrings(2, languageFile)
            macroEditorMain.macroEditorLang = ui_View.getGlobalStrings(3, languageFile)
            gunControlMain.gunControlLang = ui_View.getGlobalStrings(4, languageFile)
            macroKeyMain.macroKeyLang = ui_View.getGlobalStrings(5, languageFile)
            // The bridge keeps this group as the DPI notice texts.
            ui_View.getGlobalStrings(6, languageFile)
        }

        macroEditorMain.init()
        gunControlMain.init()
        profileMain.init()
        keyMenuMain.init()
        panelFlows.run("show")
    }

    function run() {}

    function readLanguage() {
        var lang = ui_View.getLang()
        language = (lang !== undefined && lang !== null && String(lang) === "ChineseSimplified") ? 1 : 0
    }

    // 0: the mouse is usable; 1: no mouse; 2: a mouse this user may not open. With reveal
    // the window shows the state even before any mouse was connected.
    function setMouseState(state, reveal) {
        if (reveal && state !== 0 && !visible) {
            readLanguage()
            if (language === 1)
                mainLang = ui_View.getGlobalStrings(0, languageFile)
            visible = true
        }
        mouseStateNotice.mouseState = state
    }

    // Shows "LOADING ......" and refuses all input for `interval` ms.
    function setProtectUI(interval) {
        ui_View.setEnabled(false)
        protectUIItem.hold(interval)
    }

    function releaseProtectUI() {
        ui_View.setEnabled(true)
        pageShown = true
    }

    function detectKeyboard(isDown, usbCode) {
        msg_KB(isDown, usbCode)
    }

    function detectMouse(isDown, moskCode, x, y) {
        msg_MS(isDown, moskCode, x, y)
    }

    // Closes whatever pop-up is open; every click on an empty area ends here.
    function focusControl() {
        if (isScrollRateFocus) {
            mainIten.forceActiveFocus()
            isScrollRateFocus = false
        }
        if (keyMenuMain.visible) {
            keyMenuMain.visible = false
            mouseMain.selectKey = -1
        }
        colorBar.visible = false
        askMenu.visible = false
    }

    function showNotice(title, text) {
        noticeBox.title = title
        noticeBox.text = text
        openDialog(noticeBox, true)
    }

    function openDialog(dialog, centred) {
        if (centred) {
            dialog.x = (width - dialog.width) / 2
            dialog.y = (height - dialog.height) / 2
        }
        dialog.visible = true
        mainMask.visible = true
    }

    function closeDialog(dialog) {
        dialog.visible = false
        mainMask.visible = false
    }

    function maskPressed() {
        if (macroEditorMain.visible)
            macroEditorMain.macroEditorFocus()
        if (profileMain.visible)
            profileMain.profileEditorFocus()
        if (gunControlMain.visible)
            gunControlMain.gunControlFocus()
        if (macroKeyMain.visible)
            macroKeyMain.macroKeyFocus()
        focusControl()
    }

    function closeKeyDialog(dialog) {
        closeDialog(dialog)
        mouseMain.selectKey = -1
    }

    function openColorPopup(dpiSelect, dpiColor) {
        colorBar.openBeside(panelRightItem.flickable, 252, dpiSelect, dpiColor)
    }

    function sendDpi() {
        ui_View.ui_11H_SetDPISet(hid.hid_87H_GetCurrentDPI(), dpiSettingMain.dpiValueToDpiSet(),
                                 dpiSettingMain.valueForDpi(), dpiSettingMain.valueForDpiSelect())
        lightControlMain.refresh()
    }

    // Reloads every panel from the current profile; with isSendData the mouse gets the values too.
    function reloadPanels(isSendData) {
        panelFlows.run(isSendData ? "switch" : "show")
    }

    function resetFactorySettings() {
        closeDialog(factorysure)
        setProtectUI(1000)
        ui_View.resetProfile(profileMain.profileNo)
        panelFlows.run("reset")
    }

    // The command line's hand-off to the profile page (see Profile.commandLineSwitch).
    function commandLineProfile(number) {
        return profileMain.commandLineSwitch(number)
    }

    // The name the profile page lists for `number`; empty when it lists none.
    function profileName(number) {
        return profileMain.nameOf(number)
    }

    // The command line's import into the current profile: the profile page's Load with `file`.
    function commandLineLoad(file) {
        profileMain.loadIntoCurrent(file)
    }

    PanelFlows {
        id: panelFlows
        panels: ({ keys: keyMatrixMain, axes: xySettingMain, dpi: dpiSettingMain, lighting: lightControlMain,
                   reportRate: reportRateMain, pointerSpeed: mouseRateMain, doubleClick: doubleRateMain,
                   scrollLines: scrollRateMain, liftOff: jmgdMain })
        macroEditor: macroEditorMain
        model: mainIten.curDevice
    }

    onMsg_KB: (isDown, usbCode) => {
        if (macroEditorMain.isInputting)
            macroEditorMain.detectKeyboard(isDown, usbCode)
        if (macroEditorMain.isInsertting)
            macroEditorMain.detectInput(isDown, usbCode)
        if (singleKeyMain.visible)
            singleKeyMain.detectKeyboard(isDown, usbCode)
    }

    WindowDragArea {
        objectName: "dragRegion"
        hoverEnabled: true
        onPressedAt: mainIten.focusControl()
    }

    Image {
        id: powerOnLogo
        objectName: "powerOnLogo"
        anchors.centerIn: parent
        width: 540
        height: 425
        visible: !mainIten.pageShown
        // Let go of once the page is up.
        source: visible ? mainIten.sourcePowerOn : ""
        cache: false
    }

    BusyLock {
        id: protectUIItem
        objectName: "protectUIItem"
        z: 99
        anchors.centerIn: parent
        onReleased: mainIten.releaseProtectUI()
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

    MouseStateNotice {
        id: mouseStateNotice
        objectName: "mouseStateNotice"
        z: 98
        texts: mainIten.mainLang.slice(45, 49)
        onMinimize: ui_Ctl.onMinimize()
        onClose: ui_Ctl.onClose()
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
