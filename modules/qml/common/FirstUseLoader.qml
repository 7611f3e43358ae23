import QtQuick

// Makes its component the first time `shown` holds and keeps it from then on.
Loader {
    property bool shown: false

    anchors.fill: parent
    active: false
    onShownChanged: if (shown) active = true
}
