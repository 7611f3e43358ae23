import QtQml

// Stand-in for the window controller.
QtObject {
    property var calls: []

    function reset() { calls = [] }
    function record(name, args) { calls = calls.concat([[name].concat(args)]) }

    function onMinimize() { record("onMinimize", []) }
    function onClose() { record("onClose", []) }
    function onXChanged(x) { record("onXChanged", [x]) }
    function onYChanged(y) { record("onYChanged", [y]) }
}
