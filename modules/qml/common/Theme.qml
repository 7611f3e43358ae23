pragma Singleton
import QtQuick

// Fonts, colours and sizes the pages and dialogs share.
QtObject {
    readonly property string fontFamily: "微软雅黑"
    readonly property int fontNormalSize: 12
    readonly property int fontMinSize: 10
    readonly property color fontColor: "#ffffff"
    readonly property int animationSpeed: 300

    readonly property color dialogColor: "#1e1e1e"
    readonly property color dialogBorder: "#4e3434"
    readonly property color titleColor: "#2a1616"
    readonly property color buttonColor: "#4f1717"
    readonly property color buttonHover: "#761212"
    readonly property color menuColor: "#6f2929"
    readonly property color menuBorder: "#8f2020"
    readonly property color fieldColor: "#101010"
    readonly property color accent: "#fa6726"
    readonly property color closeHover: "#ff3030"
}
