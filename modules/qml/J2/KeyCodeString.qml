import QtQuick

// Names of the HID usage codes and of the button functions, shared by the key
// pages, the macro editor and the recoil page. The keyboard and mouse names
// are the same as the bridge's key-name table (tests compare the two).
QtObject {
    // Keyboard usage (page 0x07) by name; "\ |" names 0x31 and 0x32 and reads as 0x31.
    readonly property var str2keycode: ({
        "A": 0x04, "B": 0x05, "C": 0x06, "D": 0x07, "E": 0x08, "F": 0x09, "G": 0x0A, "H": 0x0B,
        "I": 0x0C, "J": 0x0D, "K": 0x0E, "L": 0x0F, "M": 0x10, "N": 0x11, "O": 0x12, "P": 0x13,
        "Q": 0x14, "R": 0x15, "S": 0x16, "T": 0x17, "U": 0x18, "V": 0x19, "W": 0x1A, "X": 0x1B,
        "Y": 0x1C, "Z": 0x1D,
        "1": 0x1E, "2": 0x1F, "3": 0x20, "4": 0x21, "5": 0x22, "6": 0x23, "7": 0x24, "8": 0x25,
        "9": 0x26, "0": 0x27,
        "Enter": 0x28, "Esc": 0x29, "Back": 0x2A, "Tab": 0x2B, "Space": 0x2C, "- _": 0x2D,
        "= +": 0x2E, "[ {": 0x2F, "] }": 0x30, "\\ |": 0x31, "; :": 0x33,
        "' \"": 0x34, "` ~": 0x35, ", <": 0x36, ". >": 0x37, "/ ?": 0x38, "Caps": 0x39,
        "F1": 0x3A, "F2": 0x3B, "F3": 0x3C, "F4": 0x3D, "F5": 0x3E, "F6": 0x3F, "F7": 0x40,
        "F8": 0x41, "F9": 0x42, "F10": 0x43, "F11": 0x44, "F12": 0x45,
        "Prt": 0x46, "Scr": 0x47, "Pau": 0x48, "Ins": 0x49, "Hom": 0x4A, "PgU": 0x4B, "Del": 0x4C,
        "End": 0x4D, "PgD": 0x4E, "►": 0x4F, "◄": 0x50, "▼": 0x51, "▲": 0x52,
        "Num": 0x53, "KP /": 0x54, "KP *": 0x55, "KP -": 0x56, "KP +": 0x57, "KP Enter": 0x58,
        "KP 1": 0x59, "KP 2": 0x5A, "KP 3": 0x5B, "KP 4": 0x5C, "KP 5": 0x5D, "KP 6": 0x5E,
        "KP 7": 0x5F, "KP 8": 0x60, "KP 9": 0x61, "KP 0": 0x62, "KP .": 0x63,
        "Eur 2": 0x64, "App": 0x65, "Power": 0x66, "KP =": 0x67,
        "F13": 0x68, "F14": 0x69, "F15": 0x6A, "F16": 0x6B, "F17": 0x6C, "F18": 0x6D, "F19": 0x6E,
        "F20": 0x6F, "F21": 0x70, "F22": 0x71, "F23": 0x72, "F24": 0x73,
        "Keypad": 0x85, "Int'l 1": 0x87, "Intl'2": 0x88, "Int'l 2": 0x89, "Int'l 4": 0x8A,
        "Int'l 5": 0x8B, "Lang 1": 0x90, "Lang 2": 0x91,
        "L Ctrl": 0xE0, "L Shift": 0xE1, "L Alt": 0xE2, "L Win": 0xE3, "R Ctrl": 0xE4,
        "R Shift": 0xE5, "R Alt": 0xE6, "R Win": 0xE7
    })
    // Name by keyboard usage: the inverse of the map above, plus 0x32 "\ |".
    readonly property var keycode2str: {
        var names = {}
        for (var name in str2keycode)
            names[str2keycode[name]] = name
        names[0x32] = "\\ |"
        return names
    }
    readonly property var str2mousecode: ({ "MS-L": 0xF0, "MS-R": 0xF1, "MS-M": 0xF2, "MS-B4": 0xF3, "MS-B5": 0xF4 })
    readonly property var mousecode2str: ({ 0xF0: "MS-L", 0xF1: "MS-R", 0xF2: "MS-M", 0xF3: "MS-B4", 0xF4: "MS-B5" })

    // Button function by its 8-digit entry text, English and Simplified Chinese.
    readonly property var mouseData2str: ({
        "0200f000": "Left Button", "0200f100": "Right Button", "0200f200": "Middle Button",
        "0200f400": "Forward", "0200f300": "Back", "0f002e00": "Auto Run", "0f000500": "Fire Mode",
        "0c01f002": "Double Click", "08010000": "DPI +", "08020000": "DPI -", "08030000": "DPI LOOP",
        "04008301": "Media Player", "0400b500": "Next Track", "0400b600": "Previous Track",
        "0400b700": "Stop", "0400cd00": "Play/Pause", "0400e200": "Mute", "0400e900": "Volume Up",
        "0400ea00": "Volume Down", "0100e011": "New", "0100e01b": "Cut", "0100e006": "Copy",
        "0100e019": "Paste", "0100e016": "Save", "0100e013": "Print", "0100e009": "Find",
        "0100e01c": "Redo", "0100e01d": "Undo", "0100e004": "Select All", "04009401": "My Computer",
        "04002302": "Web Home", "04002102": "Search Computer", "01e22c1b": "Maximize",
        "01e22c11": "Minimize", "0100e307": "Show Desktop", "0100e315": "Run",
        "08000200": "Gun Management", "00000000": "Deactivated"
    })
    readonly property var mouseData2str1: ({
        "0200f000": "左键", "0200f100": "右键", "0200f200": "中键", "0200f400": "前进",
        "0200f300": "后退", "0f002e00": "自动奔跑", "0f000500": "开火模式", "0c01f002": "双击",
        "08010000": "DPI +", "08020000": "DPI -", "08030000": "DPI LOOP",
        "04008301": "多媒体播放键", "0400b500": "下一首", "0400b600": "上一首", "0400b700": "停止",
        "0400cd00": "播放/暂停", "0400e200": "静音", "0400e900": "音量+", "0400ea00": "音量-",
        "0100e011": "新建", "0100e01b": "剪切", "0100e006": "复制", "0100e019": "粘贴",
        "0100e016": "保存", "0100e013": "打印", "0100e009": "查找", "0100e01c": "重复",
        "0100e01d": "撤销", "0100e004": "全选", "04009401": "我的电脑", "04002302": "浏览器-主页",
        "04002102": "搜索", "01e22c1b": "最大化", "01e22c11": "最小化", "0100e307": "显示桌面",
        "0100e315": "运行", "08000101": "枪键开关", "00000000": "按键关闭"
    })

    function keycodeTostr(keycode) {
        return keycode2str[keycode] ?? ""
    }
    function strTokeycode(str) {
        return str2keycode[str]
    }
    function mousecodeTostr(mousecode) {
        return mousecode2str[mousecode]
    }
    function strTomousecode(str) {
        return str2mousecode[str]
    }
}
