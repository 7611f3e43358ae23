import QtQml

// Stand-in for ui_View, hid and ui_Ctl (one instance each): answers from its
// properties and records every call.
QtObject {
    property var calls: []
    property var lang: undefined
    property var profile: 0
    property var strings: ({})  // language groups by type; a missing type reads as an empty list

    function reset() { calls = []; lang = undefined; profile = 0; strings = {} }
    function record(name, args) { calls = calls.concat([[name].concat(Array.from(args))]) }

    function getLang() { record("getLang", arguments); return lang }
    function getProfile() { record("getProfile", arguments); return profile }
    function getGlobalStrings(type, langCode) { record("getGlobalStrings", arguments); return strings[type] ?? [] }
    function hid_87H_GetCurrentDPI() { return 2 }
    function ui_02H_SetCurrentProfile(p) { record("ui_02H_SetCurrentProfile", arguments) }
    function setEnabled(b) { record("setEnabled", arguments) }
    function resetProfile(p) { record("resetProfile", arguments) }
    function getNameList(type) { return [] }
    function updataNameList(type, names) { return true }
    function openUpdateExe() { record("openUpdateExe", arguments) }
    function ui_11H_SetDPISet(stage, src8, values, selects) { record("ui_11H_SetDPISet", arguments) }
    function ui_06H_SetRGBLedEffect(effect, color, level, configs) { record("ui_06H_SetRGBLedEffect", arguments) }
    function ui_LEDColor(src24) { record("ui_LEDColor", arguments) }
    function ui_01H_SetReportRate(rate) { record("ui_01H_SetReportRate", arguments) }
    function setCursorSpeed(v) { record("setCursorSpeed", arguments) }
    function setDoubleClickSpeed(v) { record("setDoubleClickSpeed", arguments) }
    function setVerticalScrollLines(v) { record("setVerticalScrollLines", arguments) }
    function onMinimize() { record("onMinimize", arguments) }
    function onClose() { record("onClose", arguments) }
    function onXChanged(dx) { record("onXChanged", arguments) }
    function onYChanged(dy) { record("onYChanged", arguments) }
}
