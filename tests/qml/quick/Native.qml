import QtQml

// Stand-in for ui_View, hid and ui_Ctl (one instance each): answers with the factory sensor
// values and no other entries, and records every call.
QtObject {
    property var calls: []
    property var lang: undefined

    function reset() { calls = []; lang = undefined }
    function record(name, args) { calls = calls.concat([[name].concat(Array.from(args))]) }

    function getLang() { record("getLang", arguments); return lang }
    function getProfile() { record("getProfile", arguments); return 0 }
    function getGlobalStrings(type, langCode) { record("getGlobalStrings", arguments); return [] }
    function hid_87H_GetCurrentDPI() { return 2 }
    function getKeydefine(i) { return [] }
    function getMacroKey(i) { return 0 }
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
    function openUpdateExe() { record("openUpdateExe", arguments); return true }
    function ui_11H_SetDPISet(stage, src8, values, selects) { record("ui_11H_SetDPISet", arguments) }
    function ui_06H_SetRGBLedEffect(effect, color, level, configs) { record("ui_06H_SetRGBLedEffect", arguments) }
    function ui_8DH_GetRGBLedEffect() { return [] }
    function ui_91H_GetDPISet() { return [] }
    function ui_91H_GetDPISelect() { return [] }
    function ui_90H_GetLED8StageColor(type) { return [] }
    function ui_10H_SetLED8StageColor(type, src24) { record("ui_10H_SetLED8StageColor", arguments) }
    function ui_LEDColor(src24) { record("ui_LEDColor", arguments) }
    function ui_01H_SetReportRate(rate) { record("ui_01H_SetReportRate", arguments) }
    function setCursorSpeed(v) { record("setCursorSpeed", arguments) }
    function setDoubleClickSpeed(v) { record("setDoubleClickSpeed", arguments) }
    function setVerticalScrollLines(v) { record("setVerticalScrollLines", arguments) }
    function ui_81H_GetReportRate() { return 1 }
    function getCursorSpeed() { return 5 }
    function getDoubleClickSpeed() { return 5 }
    function getVerticalScrollLines() { return 3 }
    function canSetVerticalScrollLines() { return true }
    function getXYSensitive(index) { return 4 }
    function getJMGD() { return 3 }
    function setXYSensitive(index, level) { record("setXYSensitive", arguments) }
    function ui_0EH_SetXYSensitive(x, y) { record("ui_0EH_SetXYSensitive", arguments) }
    function mouseSetJMGD(v) { record("mouseSetJMGD", arguments) }
    function onMinimize() { record("onMinimize", arguments) }
    function onClose() { record("onClose", arguments) }
    function onXChanged(dx) { record("onXChanged", arguments) }
    function onYChanged(dy) { record("onYChanged", arguments) }
}
