import QtQuick

// Names of the HID usage codes, shared by the key pages and the macro editor.
QtObject {
    function keycodeTostr(code) { return "" }
    function mousecodeTostr(code) { return "" }
}
