import QtQml

// Stand-in for the device object.
QtObject {
    property int currentDpi: 2
    function hid_87H_GetCurrentDPI() { return currentDpi }
}
