import QtQml

// Stand-in for ui_View, hid and ui_Ctl (one instance each), as far as these tests drive the page: answers
// with the factory sensor values and no other entries, and records the calls a test reads.
QtObject {
    property var calls: []
    property var lang: undefined

    function reset() { calls = []; lang = undefined }
    function record(name, args) { calls = calls.concat([[name].concat(Array.from(args))]) }

    function getLang() { record("getLang", arguments); return lang }
    function getProfile() { record("getProfile", arguments); return 0 }
    function getKeydefine(i) { return [] }
    function getNameList(type) { return [] }
    function getselectGun(index) { return "" }
    function ui_02H_SetCurrentProfile(p) { record("ui_02H_SetCurrentProfile", arguments) }
    function setEnabled(b) { record("setEnabled", arguments) }
    function ui_8DH_GetRGBLedEffect() { return [] }
    function ui_91H_GetDPISet() { return [] }
    function ui_91H_GetDPISelect() { return [] }
    function ui_90H_GetLED8StageColor(type) { return [] }
    function ui_81H_GetReportRate() { return 1 }
    function getCursorSpeed() { return 5 }
    function getDoubleClickSpeed() { return 5 }
    function getVerticalScrollLines() { return 3 }
    function canSetVerticalScrollLines() { return true }
    function getXYSensitive(index) { return 4 }
    function getJMGD() { return 3 }
}
