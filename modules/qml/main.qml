import QtQuick
import "common"
import "basic"
import "J2"
import "common/colormath.js" as ColorMath
import "J2/panelmath.js" as PanelMath

// The whole window: start logo and busy lock, the panels on both sides, the
// mouse picture, the header and footer, and the dialogs above a dimming mask.
// ui_View, hid and ui_Ctl exist only after the page has loaded, so they are
// used from functions and handlers only, never from bindings.
Item {
    id: mainIten

    width: 1000
    height: 640
    visible: false

    property bool isScrollRateFocus: false
    property var mainLang: ["Axis Sensitivity", "x-Axis", "y-Axis", "DPI Setting", "Lighting",
        "Static", "Breath", "Neon", "Finger", "Report rate", "Mouse Speed", "Double-Click Speed",
        "Scroll Speed", "Slow", "Fast", "Number of Rows", "Scrol one Screen", "Top View",
        "Side View", "Profiles", "New", "Delete", "Edit", "Copy", "Load", "Save", "Reset",
        "Reset Factroy Setting", "OK", "Cancel", "Select Color", "Define Color", "Sensor Height",
        "This desktop has no setting for wheel lines", "No updater is installed for this mouse.",
        "RGB", "RainBow", "Horse", "Color Run", "Trailing", "Trailing1", "Streamer1", "Flash", "Police light",
        "Color Static", "No mouse found",
        "Plug in your ORVANE GLIDE MOUSE G7. This page opens by itself when the mouse is connected.",
        "No permission to open the mouse",
        "The mouse is attached, but this user may not open it. Run this command in a terminal to see the fix:",
        "Link to application…", "Open applications", "Linked to this profile", "Add", "Remove", "Close",
        "Profiles follow applications only in an X11 session; switching is off here."]
    property int animation_speed: 300
    property int skin_No: 1
    property string fontFamily: "微软雅黑"
    property int fontNormalSize: 12
    property color fontColor: "#ffffff"
    property int fontMinSize: 10
    property int language: 1
    property bool isPowerOn: false
    property int curDevice: 0

    property string webAddress: "www.orvane-gaming.com"
    readonly property string languageFile: "lang_025044"
    property bool profileChanged: false

    function skinImage(group, file) {
        return "qrc:/" + group + "/modules/img/skin" + skin_No + "/" + group + "/" + file
    }

    property url sourceBackground: "qrc:/modules/img/background.png"
    property url sourcePowerOn: skinImage("index", "powerOn.png")
    property url sourceMainLogo: skinImage("index", "mainLogo.png")
    property url sourceProfileBtn: skinImage("index", "profileBtn.png")
    property url sourceProfileBtnH: skinImage("index", "profileBtnH.png")
    property url sourceRestBtn: skinImage("index", "restBtn.png")
    property url sourceRestBtnH: skinImage("index", "restBtnH.png")
    property url sourceRestBtnP: skinImage("index", "restBtnP.png")
    property url sourceAsk: skinImage("index", "ask.png")
    property url sourceAskH: skinImage("index", "askH.png")
    property url sourceCloseBtn: skinImage("index", "closeBtn.png")
    property url sourceCloseBtnH: skinImage("index", "closeBtnH.png")
    property url sourceMinBtn: skinImage("index", "minBtn.png")
    property url sourceMinBtnH: skinImage("index", "minBtnH.png")
    property url sourceFlickableBar: skinImage("index", "flickableBar.png")
    property url sourceSureBg: skinImage("index", "sureBg.png")
    property url sourceMacroBtn: skinImage("macros", "macroBtn.png")
    property url sourceMacroBtnH: skinImage("macros", "macroBtnH.png")
    property url sourceMacroBtnP: skinImage("macros", "macroBtnP.png")
    property url sourceGunBtn: skinImage("gun", "gunBtn.png")
    property url sourceGunBtnH: skinImage("gun", "gunBtnH.png")
    property url sourceColorBar: skinImage("dpiSetting", "colorBar.png")
    property url sourceColorSlider: skinImage("dpiSetting", "colorSlider.png")
    property url sourceMouseTop: skinImage("mouse", "mouseTop.png")
    property url sourceMouseSide: skinImage("mouse", "mouseSide.png")
    property url sourceMouseTopNoLight: skinImage("mouse", "mouseTopNoLight.png")
    property url sourceMouseSideNoLight: skinImage("mouse", "mouseSideNoLight.png")
    property url sourceKeyH0: skinImage("mouse", "keyH0.png")
    property url sourceKeyH1: skinImage("mouse", "keyH1.png")
    property url sourceKeyH2: skinImage("mouse", "keyH2.png")
    property url sourceKeyH3: skinImage("mouse", "keyH3.png")
    property url sourceKeyH4: skinImage("mouse", "keyH4.png")
    property url sourceKeyH5: skinImage("mouse", "keyH5.png")
    // Sensor and system panels: report-rate dials by rate and language, the speed dial by level.
    property url sourceReportRate125: skinImage("reportRate", "rate125.png")
    property url sourceReportRate250: skinImage("reportRate", "rate250.png")
    property url sourceReportRate500: skinImage("reportRate", "rate500.png")
    property url sourceReportRate1000: skinImage("reportRate", "rate1000.png")
    property url sourceReportRate125Cn: skinImage("reportRate", "rate125Cn.png")
    property url sourceReportRate250Cn: skinImage("reportRate", "rate250Cn.png")
    property url sourceReportRate500Cn: skinImage("reportRate", "rate500Cn.png")
    property url sourceReportRate1000Cn: skinImage("reportRate", "rate1000Cn.png")
    property url sourceSpeedDial0: skinImage("mouseRate", "dial0.png")
    property url sourceSpeedDial1: skinImage("mouseRate", "dial1.png")
    property url sourceSpeedDial2: skinImage("mouseRate", "dial2.png")
    property url sourceSpeedDial3: skinImage("mouseRate", "dial3.png")
    property url sourceSpeedDial4: skinImage("mouseRate", "dial4.png")
    property url sourceSpeedDial5: skinImage("mouseRate", "dial5.png")
    property url sourceSpeedDial6: skinImage("mouseRate", "dial6.png")
    property url sourceSpeedDial7: skinImage("mouseRate", "dial7.png")
    property url sourceSpeedDial8: skinImage("mouseRate", "dial8.png")
    property url sourceSpeedDial9: skinImage("mouseRate", "dial9.png")
    property url sourceSpeedDial10: skinImage("mouseRate", "dial10.png")
    property url sourceRadio: skinImage("scrollRate", "radio.png")
    property url sourceRadioOn: skinImage("scrollRate", "radioOn.png")
    property url sourceScrollPlus: skinImage("scrollRate", "plus.png")
    property url sourceScrollMinus: skinImage("scrollRate", "minus.png")
    property url sourceXyTrack: skinImage("xySetting", "track.png")
    property url sourceXyKnob: skinImage("xySetting", "knob.png")
    property url sourceXyScale: skinImage("xySetting", "scale.png")

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
        keyMatrixMain.init(false)
        keyMenuMain.init()
        xySettingMain.init(false)
        dpiSettingMain.init(false)
        lightControlMain.init(false)
        reportRateMain.init(false)
        mouseRateMain.init(false)
        doubleRateMain.init(false)
        scrollRateMain.init(false)
        jmgdMain.init(false)
    }

    function run() {
    }

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
        protectUIItem.setBusy(true)
        ui_View.setEnabled(false)
        tmrProtectUI.stop()
        tmrProtectUI.lockMs = Math.max(0, interval)
        tmrProtectUI.endsAt = Date.now() + tmrProtectUI.lockMs
        if (interval > 0)
            tmrProtectUI.start()
        else
            releaseProtectUI()
    }

    function releaseProtectUI() {
        ui_View.setEnabled(true)
        protectUIItem.setBusy(false)
        if (powerOnLogo.visible) {
            powerOnLogo.visible = false
            envItem.visible = true
            mainLogo.visible = true
            panelleft.visible = true
            profileBtn.visible = true
            flickableBar.visible = true
            panelRightItem.visible = true
            downItem.visible = true
            upItem.visible = true
            mouseMain.visible = true
        }
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

    function askMenuCmd(cmd) {
        if (cmd === 0)
            Qt.openUrlExternally("http://" + webAddress)
        else if (cmd === 1 && !ui_View.openUpdateExe())
            showNotice(askMenu.rows[1], mainLang[34] ?? "")
    }

    function showNotice(title, text) {
        noticeBox.title = title
        noticeBox.text = text
        openDialog(noticeBox, true)
    }

    function headerCmd(index) {
        if (index === 0)
            ui_Ctl.onMinimize()
        else if (index === 1)
            ui_Ctl.onClose()
        else if (index === 2)
            askMenu.visible = true
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

    // Placed where the DPI panel's layout puts it in the right column, but above the column,
    // whose clipping would cut it, and wholly inside the window.
    function openColorPopup(dpiSelect, dpiColor) {
        colorBar.initPos(dpiColor)
        var at = panelRightItem.contentItem.mapToItem(mainIten, ColorMath.popupX(dpiSelect), colorBar.columnY)
        colorBar.x = Math.max(0, Math.min(width - colorBar.width, at.x))
        colorBar.y = Math.max(0, Math.min(height - colorBar.height, at.y))
        colorBar.visible = true
    }

    function sendDpi() {
        ui_View.ui_11H_SetDPISet(hid.hid_87H_GetCurrentDPI(), dpiSettingMain.dpiValueToDpiSet(),
                                 dpiSettingMain.valueForDpi(), dpiSettingMain.valueForDpiSelect())
        lightControlMain.refresh()
    }

    // Reloads every panel from the current profile; with isSendData the mouse gets the values too.
    function reloadPanels(isSendData) {
        // The lighting is read first: panels that send light the mouse with what the lighting panel
        // shows and store it, which must already be this profile's lighting.
        lightControlMain.init(false)
        keyMatrixMain.init(isSendData)
        xySettingMain.init(isSendData)
        dpiSettingMain.init(isSendData)
        lightControlMain.init(isSendData)
        reportRateMain.init(isSendData)
        mouseRateMain.init(isSendData)
        doubleRateMain.init(isSendData)
        scrollRateMain.init(isSendData)
        if (!isSendData || curDevice !== 0)
            jmgdMain.init(isSendData)
        if (isSendData)
            lightControlMain.refresh()
    }

    function resetFactorySettings() {
        closeDialog(factorysure)
        setProtectUI(1000)
        ui_View.resetProfile(profileMain.profileNo)
        keyMatrixMain.init(true)
        lightControlMain.init(true)
        xySettingMain.init(true)
        dpiSettingMain.init(true)
        reportRateMain.init(true)
        mouseRateMain.init(true)
        doubleRateMain.init(true)
        scrollRateMain.init(true)
        if (curDevice !== 0)
            jmgdMain.init(true)
        lightControlMain.refresh()
    }

    onMsg_KB: (isDown, usbCode) => {
        if (macroEditorMain.isInputting)
            macroEditorMain.detectKeyboard(isDown, usbCode)
        if (macroEditorMain.isInsertting)
            macroEditorMain.detectInput(isDown, usbCode)
        if (singleKeyMain.visible)
            singleKeyMain.detectKeyboard(isDown, usbCode)
    }

    MouseArea {
        id: dragRegion
        objectName: "dragRegion"

        property point pressPoint

        anchors.fill: parent
        hoverEnabled: true
        onPressed: (mouse) => {
            pressPoint = Qt.point(mouse.x, mouse.y)
            mainIten.focusControl()
        }
        onPositionChanged: (mouse) => {
            if (!pressed)
                return
            ui_Ctl.onXChanged(Math.round(mouse.x - pressPoint.x))
            ui_Ctl.onYChanged(Math.round(mouse.y - pressPoint.y))
        }
    }

    Image {
        id: powerOnLogo
        objectName: "powerOnLogo"
        anchors.centerIn: parent
        width: 540
        height: 425
        // Let go of once the page is up.
        source: visible ? mainIten.sourcePowerOn : ""
        cache: false
    }

    BusyIndicator {
        id: protectUIItem
        objectName: "protectUIItem"
        z: 99
        anchors.centerIn: parent
    }

    // A Timer counts from the end of the script that started it, so the page's own start-up
    // work would lengthen the lock; it ends by the clock instead, looked at once a frame.
    Timer {
        id: tmrProtectUI

        property real endsAt: 0
        property real lockMs: 0

        interval: 16
        repeat: true
        onTriggered: {
            // More left than was asked for: the system clock went back; let go rather than trap the user.
            var left = endsAt - Date.now()
            if (left > 0 && left <= lockMs)
                return
            stop()
            mainIten.releaseProtectUI()
        }
    }

    Environment {
        id: envItem
        objectName: "envItem"
        visible: false
    }

    Image {
        id: mainLogo
        objectName: "mainLogo"
        x: 18
        y: 32
        visible: false
        source: mainIten.sourceMainLogo
    }

    Column {
        id: panelleft
        objectName: "panelleft"
        x: 18
        y: 106
        spacing: 5
        visible: false

        KeyMatrix {
            id: keyMatrixMain
            objectName: "keyMatrixMain"
            onClickFrame: mainIten.focusControl()
            onEnterBtn: (index) => {
                if (keyMenuMain.visible !== keyMatrixMain.visible && index !== mouseMain.selectKey)
                    mouseMain.selectKey = index
            }
            onLeaveBtn: (index) => {
                // A quick move reaches the next row before it leaves this one: keep the next row's key.
                if (!keyMenuMain.visible && mouseMain.selectKey === index)
                    mouseMain.selectKey = -1
            }
            onClickKeyMatrix: (index) => {
                mouseMain.selectKey = index
                keyMenuMain.x = keyMatrixMain.getx(index)
                keyMenuMain.y = keyMatrixMain.gety(index)
                keyMenuMain.showControl()
            }
        }

        Rectangle {
            id: macroStrip
            objectName: "macroStrip"
            width: 242
            height: 38
            color: "#b31a1a1a"

            Row {
                anchors.centerIn: parent
                spacing: 8
                ImageButton {
                    id: macroBtn
                    objectName: "macroBtn"
                    normalSource: mainIten.sourceMacroBtn
                    hoverSource: mainIten.sourceMacroBtnH
                    pressedSource: mainIten.sourceMacroBtnP
                    text: macroEditorMain.macroEditorLang[0] ?? ""
                    onClicked: {
                        mainIten.focusControl()
                        mainIten.openDialog(macroEditorMain, true)
                    }
                }
                ImageButton {
                    id: gunBtn
                    objectName: "gunBtn"
                    visible: false
                    normalSource: mainIten.sourceGunBtn
                    hoverSource: mainIten.sourceGunBtnH
                    text: gunControlMain.gunControlLang[0] ?? ""
                    onClicked: {
                        mainIten.focusControl()
                        mainIten.openDialog(gunControlMain, true)
                    }
                }
            }
        }

        XySetting {
            id: xySettingMain
            objectName: "xySettingMain"
            onClickFrame: mainIten.focusControl()
            onClickXySetting: mainIten.focusControl()
        }

        JMGD {
            id: jmgdMain
            objectName: "jmgdMain"
            visible: mainIten.curDevice !== 0
            onClickFrame: mainIten.focusControl()
        }
    }

    ImageButton {
        id: profileBtn
        objectName: "profileBtn"
        anchors.left: parent.left
        anchors.leftMargin: 20
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 6
        visible: false
        normalSource: mainIten.sourceProfileBtn
        hoverSource: mainIten.sourceProfileBtnH
        text: mainIten.mainLang[19] ?? ""
        label.font.pixelSize: 10
        labelOffsetX: 9
        onClicked: {
            mainIten.focusControl()
            profileMain.visible = !profileMain.visible
            mainMask.visible = profileMain.visible
        }
    }

    Image {
        id: flickableBar
        objectName: "flickableBar"
        anchors.right: parent.right
        anchors.rightMargin: 9
        y: 32
        visible: false
        source: mainIten.sourceFlickableBar
    }

    Flickable {
        id: panelRightItem
        objectName: "panelRightItem"

        readonly property int maxVisible: 563

        x: 734
        y: 32
        width: parent.width - 9 - x
        height: Math.min(maxVisible, rightColumn.height)
        contentWidth: 242
        contentHeight: rightColumn.height
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        interactive: !dpiSettingMain.holding && !lightControlMain.holding
        visible: false
        // The colour pop-up stands beside a swatch that scrolls away.
        onContentYChanged: colorBar.visible = false

        Column {
            id: rightColumn
            objectName: "rightColumn"
            spacing: 5

            DpiSetting {
                id: dpiSettingMain
                objectName: "dpiSettingMain"
                onClickFrame: mainIten.focusControl()
                onClickDpiSetting: mainIten.focusControl()
                onDpiValueChange: mainIten.sendDpi()
                onDpiSelectChange: mainIten.sendDpi()
                onOpenColorBar: (dpiSelect, dpiColor) => mainIten.openColorPopup(dpiSelect, dpiColor)
                onStageColorsSent: lightControlMain.refresh()
            }
            LightControl {
                id: lightControlMain
                objectName: "lightControlMain"
                visible: mainIten.curDevice !== 2
                onClickFrame: mainIten.focusControl()
                onClickLightControl: mainIten.focusControl()
                onSetLED: (tmpEffect, tmpColor, tmpSpeedBrightness) => {
                    tempEffect = tmpEffect
                    tempSpeedBrightness = tmpSpeedBrightness
                    ui_View.ui_06H_SetRGBLedEffect(tmpEffect, 0, tmpSpeedBrightness,
                        [tmpEffect, tmpColor, tmpSpeedBrightness, colorR, colorG, colorB])
                }
                onSetColor: (r, g, b) => {
                    ui_View.ui_LEDColor(ColorMath.ledPalette(r, g, b))
                    var c = ColorMath.ledColorIndex(r, g, b)
                    ui_View.ui_06H_SetRGBLedEffect(tempEffect, c, tempSpeedBrightness,
                        [tempEffect, c, tempSpeedBrightness, colorR, colorG, colorB])
                }
            }
            ReportRate {
                id: reportRateMain
                objectName: "reportRateMain"
                onClickFrame: mainIten.focusControl()
                onClickReportRate: mainIten.focusControl()
                onReportValueChanged: {
                    ui_View.ui_01H_SetReportRate(reportValue)
                    lightControlMain.refresh()
                }
            }
            MouseRate {
                id: mouseRateMain
                objectName: "mouseRateMain"
                onClickFrame: mainIten.focusControl()
                onClickMouseRate: mainIten.focusControl()
                onMouseRateChange: (mouseRateValue) => ui_View.setCursorSpeed(mouseRateValue)
            }
            DoubleRate {
                id: doubleRateMain
                objectName: "doubleRateMain"
                onClickFrame: mainIten.focusControl()
                onClickDoubleRate: mainIten.focusControl()
                onDoubleRateChange: (doubleRateValue) => ui_View.setDoubleClickSpeed(doubleRateValue)
            }
            ScrollRate {
                id: scrollRateMain
                objectName: "scrollRateMain"
                onClickFrame: mainIten.focusControl()
                onClickScrollRate: mainIten.focusControl()
                onLinesChange: (linesValue) => {
                    ui_View.setVerticalScrollLines(linesValue)
                    lines = linesValue
                }
            }
        }
    }

    Rectangle {
        id: bar
        objectName: "scrollThumb"

        readonly property var area: panelRightItem.visibleArea

        visible: panelRightItem.visible
        x: panelRightItem.x + panelRightItem.width - width
        y: panelRightItem.y + area.yPosition * panelRightItem.maxVisible
        width: 8
        height: Math.min(1, area.heightRatio) * panelRightItem.maxVisible
        radius: 4
        border.color: "#60000000"
        gradient: Gradient {
            GradientStop { position: 0.0; color: "#767676" }
            GradientStop { position: 1.0; color: "#303030" }
        }

        Rectangle {
            anchors.fill: parent
            radius: parent.radius
            color: "#20ffffff"
            visible: thumbArea.containsMouse || thumbArea.pressed
        }

        MouseArea {
            id: thumbArea

            // Pointer position on the page at the last event; the thumb itself moves while dragged.
            property real lastY: 0

            anchors.fill: parent
            hoverEnabled: true
            onPressed: (mouse) => lastY = mapToItem(mainIten, 0, mouse.y).y
            onPositionChanged: (mouse) => {
                if (!pressed)
                    return
                var pageY = mapToItem(mainIten, 0, mouse.y).y
                var d = pageY - lastY
                lastY = pageY
                var p = panelRightItem.contentY + d
                if (p < 0)
                    p = 0
                if (d <= 0 || panelRightItem.contentY < panelRightItem.contentHeight - panelRightItem.height)
                    panelRightItem.contentY = p
            }
        }
    }

    Item {
        id: downItem
        objectName: "downItem"
        x: 913
        y: 604
        width: restBtn.width
        height: restBtn.height
        visible: false

        ImageButton {
            id: restBtn
            objectName: "restBtn"
            normalSource: mainIten.sourceRestBtn
            hoverSource: mainIten.sourceRestBtnH
            pressedSource: mainIten.sourceRestBtnP
            text: mainIten.mainLang[26] ?? ""
            onClicked: {
                mainIten.focusControl()
                mainIten.openDialog(factorysure, false)
            }
        }
    }

    Row {
        id: upItem
        objectName: "upItem"
        x: 935
        y: 5
        spacing: 5
        visible: false

        Repeater {
            // Help, minimise, close; the minimise and close artwork sits in the
            // images named the other way round.
            model: [
                { normal: mainIten.sourceAsk, hover: mainIten.sourceAskH, cmd: 2 },
                { normal: mainIten.sourceCloseBtn, hover: mainIten.sourceCloseBtnH, cmd: 0 },
                { normal: mainIten.sourceMinBtn, hover: mainIten.sourceMinBtnH, cmd: 1 }
            ]
            ImageButton {
                required property var modelData
                objectName: "headerButton" + modelData.cmd
                normalSource: modelData.normal
                hoverSource: modelData.hover
                onClicked: mainIten.headerCmd(modelData.cmd)
            }
        }
    }

    Mouse {
        id: mouseMain
        objectName: "mouseMain"
        visible: false
    }

    ColorBar {
        id: colorBar
        objectName: "colorBar"

        // Its place in the right column, below the DPI panel's swatches.
        readonly property int columnY: 252

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

    Rectangle {
        id: mainMask
        objectName: "mainMask"
        anchors.fill: parent
        color: "#90000000"
        visible: false

        MouseArea {
            property point pressPoint

            anchors.fill: parent
            onPressed: (mouse) => {
                pressPoint = Qt.point(mouse.x, mouse.y)
                if (macroEditorMain.visible)
                    macroEditorMain.macroEditorFocus()
                if (profileMain.visible)
                    profileMain.profileEditorFocus()
                if (gunControlMain.visible)
                    gunControlMain.gunControlFocus()
                if (macroKeyMain.visible)
                    macroKeyMain.macroKeyFocus()
                mainIten.focusControl()
            }
            onPositionChanged: (mouse) => {
                ui_Ctl.onXChanged(Math.round(mouse.x - pressPoint.x))
                ui_Ctl.onYChanged(Math.round(mouse.y - pressPoint.y))
            }
        }
    }

    MacroEditor {
        id: macroEditorMain
        objectName: "macroEditorMain"
        onDeleteMacroSignal: (macroName) => keyMatrixMain.deleteMacroProc(macroName)
    }

    GunControl {
        id: gunControlMain
        objectName: "gunControlMain"
        onCloseUI: mainIten.closeDialog(gunControlMain)
    }

    KeyMenu {
        id: keyMenuMain
        objectName: "keyMenuMain"
        onMenuCmd: (menuStr) => {
            var b = []
            for (var i = 0; i < 4; ++i)
                b.push(parseInt(menuStr.substr(2 * i, 2), 16))
            if (keyMatrixMain.modifyData(mouseMain.selectKey, b[0], b[1], b[2], b[3]))
                keyMatrixMain.refreashUI()
            keyMenuMain.visible = false
            mouseMain.selectKey = -1
        }
    }

    Profile {
        id: profileMain
        objectName: "profileMain"
        x: 18
        y: 106
        onChangeProfile: (tmpProfileNo) => {
            if (tmpProfileNo === profileNo)
                return
            profileNo = tmpProfileNo
            ui_View.ui_02H_SetCurrentProfile(tmpProfileNo)
            mainIten.profileChanged = true
            mainIten.reloadPanels(false)
        }
        onCloseUI: {
            mainIten.closeDialog(profileMain)
            if (!mainIten.profileChanged)
                return
            mainIten.setProtectUI(1200)
            mainIten.profileChanged = false
            mainIten.reloadPanels(true)
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
        sourceComponent: LinkDialog {
            onClosed: visible = false
        }
    }

    SingleKey {
        id: singleKeyMain
        objectName: "singleKeyMain"
        anchors.centerIn: parent
        onCloseSure: {
            visible = false
            mouseMain.selectKey = -1
            mainMask.visible = false
        }
    }

    MacroKey {
        id: macroKeyMain
        objectName: "macroKeyMain"
        anchors.centerIn: parent
        onCloseSure: {
            visible = false
            mouseMain.selectKey = -1
            mainMask.visible = false
        }
    }

    NoticeBox {
        id: noticeBox
        objectName: "noticeBox"
        visible: false
        onClosed: mainIten.closeDialog(noticeBox)
    }

    Image {
        id: factorysure
        objectName: "factorysure"
        x: (mainIten.width - width) / 2
        y: (mainIten.height - height) / 2
        width: 427
        height: 102
        visible: false
        source: visible ? mainIten.sourceSureBg : ""
        cache: false

        MouseArea {
            property point pressPoint

            anchors.fill: parent
            onPressed: (mouse) => pressPoint = Qt.point(mouse.x, mouse.y)
            onPositionChanged: (mouse) => {
                factorysure.x = Math.max(0, Math.min(mainIten.width - factorysure.width,
                                                     factorysure.x + mouse.x - pressPoint.x))
                factorysure.y = Math.max(0, Math.min(mainIten.height - factorysure.height,
                                                     factorysure.y + mouse.y - pressPoint.y))
            }
        }

        Rectangle {
            width: parent.width
            height: 30
            color: "#1e1e1e"
            Text {
                x: 12
                anchors.verticalCenter: parent.verticalCenter
                text: mainIten.mainLang[26] ?? ""
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontNormalSize
                font.bold: true
                color: mainIten.fontColor
            }
        }

        Text {
            objectName: "resetQuestion"
            x: 24
            y: 44
            text: mainIten.mainLang[27] ?? ""
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            font.bold: true
            color: mainIten.fontColor
        }

        Row {
            anchors.right: parent.right
            anchors.rightMargin: 16
            y: 68
            spacing: 12
            Repeater {
                model: [28, 29]
                Rectangle {
                    required property int modelData
                    objectName: modelData === 28 ? "resetOk" : "resetCancel"
                    width: 88
                    height: 25
                    border.color: "#4e3434"
                    color: sureArea.containsMouse ? "#761212" : "#4f1717"
                    Text {
                        anchors.centerIn: parent
                        text: mainIten.mainLang[parent.modelData] ?? ""
                        font.family: mainIten.fontFamily
                        font.pixelSize: mainIten.fontNormalSize
                        color: mainIten.fontColor
                    }
                    MouseArea {
                        id: sureArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: {
                            if (parent.modelData === 28)
                                mainIten.resetFactorySettings()
                            else
                                mainIten.closeDialog(factorysure)
                        }
                    }
                }
            }
        }
    }

    Rectangle {
        id: askMenu
        objectName: "askMenu"
        x: 790
        y: 24
        width: 159
        height: 64
        border.color: "#8f2020"
        color: "#6f2929"
        visible: false

        property var rows: [mainIten.webAddress, "update", "verison:1.0"]

        function setRowText(row, text) {
            var r = rows.slice()
            r[row] = text
            rows = r
        }

        Column {
            y: 1
            Repeater {
                model: askMenu.rows
                Rectangle {
                    required property string modelData
                    required property int index
                    width: askMenu.width
                    height: 21
                    color: rowArea.containsMouse ? "#8f2020" : "transparent"
                    Text {
                        objectName: "askRow" + parent.index
                        x: 6
                        anchors.verticalCenter: parent.verticalCenter
                        text: parent.modelData
                        font.family: mainIten.fontFamily
                        font.pixelSize: mainIten.fontMinSize + 1
                        color: mainIten.fontColor
                    }
                    MouseArea {
                        id: rowArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: {
                            mainIten.askMenuCmd(parent.index)
                            askMenu.visible = false
                        }
                    }
                }
            }
        }
    }

    KeyCodeString {
        id: _KeyCodeString
    }
}
