import QtQml

// Stand-in for the bridge: answers from its properties and records every call.
QtObject {
    property var calls: []
    property var lang: undefined
    property var profile: 0
    // Language groups by type; a missing type reads as an empty list.
    property var strings: ({})

    function reset() {
        calls = []
        lang = undefined
        profile = 0
        strings = {}
    }
    function record(name, args) {
        calls = calls.concat([[name].concat(args)])
    }
    function callNames() {
        return calls.map(c => c[0])
    }
    function callsOf(name) {
        return calls.filter(c => c[0] === name).map(c => c.slice(1))
    }

    function getLang() { record("getLang", []); return lang }
    function getProfile() { record("getProfile", []); return profile }
    function ui_02H_SetCurrentProfile(p) { record("ui_02H_SetCurrentProfile", [p]) }
    function getGlobalStrings(type, langCode) {
        record("getGlobalStrings", [type, langCode])
        return strings[type] !== undefined ? strings[type] : []
    }
    function setEnabled(b) { record("setEnabled", [b]) }
    function resetProfile(p) { record("resetProfile", [p]) }
    function openUpdateExe() { record("openUpdateExe", []) }
    function ui_11H_SetDPISet(stage, src8, values, selects) { record("ui_11H_SetDPISet", [stage, src8, values, selects]) }
    function ui_06H_SetRGBLedEffect(effect, color, level, configs) { record("ui_06H_SetRGBLedEffect", [effect, color, level, configs]) }
    function ui_LEDColor(src24) { record("ui_LEDColor", [src24]) }
    function ui_01H_SetReportRate(rate) { record("ui_01H_SetReportRate", [rate]) }
    function setCursorSpeed(v) { record("setCursorSpeed", [v]) }
    function setDoubleClickSpeed(v) { record("setDoubleClickSpeed", [v]) }
    function setVerticalScrollLines(v) { record("setVerticalScrollLines", [v]) }
}
