import QtQuick
import "common"
import "basic"
import "J2"
import "J2/panelmath.js" as PanelMath
import "common/texts.js" as Texts

// The whole window: start logo and busy lock, the mouse-state notice, and the page's functions.
// The panels and dialogs (PageContent) are made when the page is first revealed.
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
    readonly property bool dialogOpen: mainMask !== null && mainMask.visible

    // Set once the start logo gives way to the page. Until then the page's large pictures decode
    // off the GUI thread (asynchronous: !pageShown); later swaps load at once, so nothing flashes.
    property bool pageShown: false
    // Hidden in the tray: the background and the mouse picture, three megabytes decoded, are let go.
    property bool inTray: false
    // The panels and dialogs, made in initUI when the page is first revealed; null until then.
    readonly property Item content: pageContent.item
    // Its panels and dialogs, by the names the page's functions use.
    readonly property Item keyMatrixMain: content ? content.keyMatrixMain : null
    readonly property Item xySettingMain: content ? content.xySettingMain : null
    readonly property Item jmgdMain: content ? content.jmgdMain : null
    readonly property Item dpiSettingMain: content ? content.dpiSettingMain : null
    readonly property Item lightControlMain: content ? content.lightControlMain : null
    readonly property Item reportRateMain: content ? content.reportRateMain : null
    readonly property Item mouseRateMain: content ? content.mouseRateMain : null
    readonly property Item doubleRateMain: content ? content.doubleRateMain : null
    readonly property Item scrollRateMain: content ? content.scrollRateMain : null
    readonly property Item panelRightItem: content ? content.rightColumn : null
    readonly property Item mouseMain: content ? content.mouseView : null
    readonly property Item colorBar: content ? content.colorPopup : null
    readonly property Item mainMask: content ? content.mask : null
    readonly property Item macroEditorMain: content ? content.macroEditor : null
    readonly property Item gunControlMain: content ? content.gunControl : null
    readonly property Item keyMenuMain: content ? content.keyMenu : null
    readonly property Item profileMain: content ? content.profilePage : null
    readonly property Item singleKeyMain: content ? content.singleKey : null
    readonly property Item macroKeyMain: content ? content.macroKey : null
    readonly property Item noticeBox: content ? content.notice : null
    readonly property Item factorysure: content ? content.resetDialog : null
    readonly property Item askMenu: content ? content.helpMenu : null
    readonly property QtObject panelFlows: content ? content.flows : null

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
        // Made now rather than at start: the lock's second is running, and the window's first
        // frame did not wait for it.
        pageContent.active = true

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
        if (!content)
            return
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

    onMsg_KB: (isDown, usbCode) => {
        if (!content)
            return
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

    Loader {
        id: pageContent
        objectName: "pageContent"
        anchors.fill: parent
        active: false
        // By its address, not as a type: its files and all it uses are read when it is made.
        source: "basic/PageContent.qml"
    }

    MouseStateNotice {
        id: mouseStateNotice
        objectName: "mouseStateNotice"
        z: 98
        texts: mainIten.mainLang.slice(45, 49)
        onMinimize: ui_Ctl.onMinimize()
        onClose: ui_Ctl.onClose()
    }
}
