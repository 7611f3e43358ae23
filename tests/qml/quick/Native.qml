import QtQml

// Stand-in for ui_View, hid and ui_Ctl (one instance each): answers from its
// properties and records every call.
QtObject {
    property var calls: []
    property var lang: undefined
    property var profile: 0
    property var strings: ({})  // language groups by type; a missing type reads as an empty list
    // Profile values the getters answer; empty lists as from a profile without the keys.
    property var led: []
    property var dpi: []
    property var dpiSelect: []
    property var stageColors: []
    property var keydefine: []  // stored key entries by button, each a list of four texts
    property var macroKeys: []  // macro name by button

    // Profile values the sensor panels read back (not recorded).
    property var stored: ({})
    readonly property var storedDefaults: ({ reportRate: 1, cursorSpeed: 5, doubleClick: 5, lines: 3, x: 4, y: 4, jmgd: 3 })

    function reset() { calls = []; lang = undefined; profile = 0; strings = {}; led = []; dpi = []; dpiSelect = []; stageColors = []; keydefine = []; macroKeys = []; stored = Object.assign({}, storedDefaults) }
    function record(name, args) { calls = calls.concat([[name].concat(Array.from(args))]) }

    function getLang() { record("getLang", arguments); return lang }
    function getProfile() { record("getProfile", arguments); return profile }
    function getGlobalStrings(type, langCode) { record("getGlobalStrings", arguments); return strings[type] ?? [] }
    function hid_87H_GetCurrentDPI() { return 2 }
    function getKeydefine(i) { return keydefine[i] ?? [] }
    function getMacroKey(i) { return macroKeys[i] ?? 0 }
    function loadMacroIni(name) { return [] }
    function loadMacroIndex(name) { return 0 }
    function loadMacroType(name) { return 0 }
    function mouseSetKeyMatrix(src) { record("mouseSetKeyMatrix", arguments) }
    // No recoil entries and no name lists.
    function getNameList(type) { return [] }
    function updataNameList(type, names) { record("updataNameList", arguments); return true }
    function getGunData(name) { return [] }
    function saveGundata(src6) { record("saveGundata", arguments) }
    function modifyGundata(type, src) { record("modifyGundata", arguments) }
    function getselectGun(index) { return "" }
    function ui_02H_SetCurrentProfile(p) { record("ui_02H_SetCurrentProfile", arguments) }
    function setEnabled(b) { record("setEnabled", arguments) }
    function resetProfile(p) { record("resetProfile", arguments) }
    function openUpdateExe() { record("openUpdateExe", arguments) }
    function ui_11H_SetDPISet(stage, src8, values, selects) { record("ui_11H_SetDPISet", arguments) }
    function ui_06H_SetRGBLedEffect(effect, color, level, configs) { record("ui_06H_SetRGBLedEffect", arguments) }
    function ui_8DH_GetRGBLedEffect() { return led }
    function ui_91H_GetDPISet() { return dpi }
    function ui_91H_GetDPISelect() { return dpiSelect }
    function ui_90H_GetLED8StageColor(type) { return stageColors }
    function ui_10H_SetLED8StageColor(type, src24) { record("ui_10H_SetLED8StageColor", arguments) }
    function ui_LEDColor(src24) { record("ui_LEDColor", arguments) }
    function ui_01H_SetReportRate(rate) { record("ui_01H_SetReportRate", arguments) }
    function setCursorSpeed(v) { record("setCursorSpeed", arguments) }
    function setDoubleClickSpeed(v) { record("setDoubleClickSpeed", arguments) }
    function setVerticalScrollLines(v) { record("setVerticalScrollLines", arguments) }
    function ui_81H_GetReportRate() { return stored.reportRate }
    function getCursorSpeed() { return stored.cursorSpeed }
    function getDoubleClickSpeed() { return stored.doubleClick }
    function getVerticalScrollLines() { return stored.lines }
    function getXYSensitive(index) { return index === 0 ? stored.x : stored.y }
    function getJMGD() { return stored.jmgd }
    function setXYSensitive(index, level) { record("setXYSensitive", arguments) }
    function ui_0EH_SetXYSensitive(x, y) { record("ui_0EH_SetXYSensitive", arguments) }
    function mouseSetJMGD(v) { record("mouseSetJMGD", arguments) }
    function onMinimize() { record("onMinimize", arguments) }
    function onClose() { record("onClose", arguments) }
    function onXChanged(dx) { record("onXChanged", arguments) }
    function onYChanged(dy) { record("onYChanged", arguments) }
}
