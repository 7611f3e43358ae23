import QtQuick
import "../common"

// Button-assignment panel: one line per mouse button with its function, and the
// page's copy of the 16-entry key matrix.
Frame {
    id: keyMatrix

    property var keyMatrixLang: ["Macro: ", "Deactivated", "Keyboard Key-", "Button Assignment",
                                 "Button ", "Fire Key", "", "", "", ""]
    // What a row falls back to when its macro is deleted.
    readonly property var defalutValue: ["0100f000", "0100f100", "0100f200", "0100f400", "0100f300",
        "07000100", "07000200", "00000000", "00000000", "00000000", "00000000", "00000000", "00000000",
        "00000000", "04000100", "04000200"]
    readonly property int rowCount: 16
    readonly property int lineCount: 9
    // Collaborators, set by the page.
    property Item mouseView
    property Item lighting
    property QtObject keyNames

    signal clickKeyMatrix(int index)
    signal enterBtn(int index)
    signal leaveBtn(int index)

    title: keyMatrixLang[3] ?? ""
    bodyHeight: 141

    // Two lower-case hex digits; a missing value (NaN) matches no entry text.
    function hex2(value) {
        var s = Number(value).toString(16)
        return s.length < 2 ? "0" + s : s
    }

    function keyCodetoText(tmp0, tmp1, tmp2, tmp3) {
        if (tmp0 === 0x0A)
            return (keyMatrixLang[0] ?? "") + ui_View.getMacroKey(tmp3)
        if (tmp0 === 0 && tmp1 === 0 && tmp2 === 0 && tmp3 === 0)
            return keyMatrixLang[1] ?? ""
        if (tmp0 === 1 && tmp1 === 0 && tmp3 === 0)
            return (keyMatrixLang[3] ?? "") + keyMatrix.keyNames.keycodeTostr(tmp2)
        if (tmp0 === 12 && tmp1 === 240)
            return keyMatrixLang[5] ?? ""
        var names = mainIten.language === 1 ? keyMatrix.keyNames.mouseData2str1 : keyMatrix.keyNames.mouseData2str
        return names[hex2(tmp0) + hex2(tmp1) + hex2(tmp2) + hex2(tmp3)] ?? ""
    }

    function setRow(index, tmp0, tmp1, tmp2, tmp3) {
        keyModel.set(index, { keyCode0: tmp0, keyCode1: tmp1, keyCode2: tmp2, keyCode3: tmp3,
                              keyText: keyCodetoText(tmp0, tmp1, tmp2, tmp3) })
    }

    function init(isSendData) {
        var read = []
        for (var i = 0; i < rowCount; ++i) {
            var d = ui_View.getKeydefine(i)
            var b = [0, 1, 2, 3].map(j => Number(d[j]))
            // Type 9 is kept one higher on the mouse than the page shows it.
            if (b[0] === 0x09)
                b[2] -= 1
            setRow(i, b[0], b[1], b[2], b[3])
            for (var j = 0; j < 4; ++j)
                read.push(d[j])
        }
        if (isSendData)
            ui_View.mouseSetKeyMatrix(read)
    }

    function checkLeftKey() {
        var count = 0
        for (var i = 0; i < rowCount; ++i) {
            var row = keyModel.get(i)
            if (row.keyCode0 === 0x02 && row.keyCode2 === 0xF0)
                ++count
        }
        return count
    }

    // Whether the row took the change; a refused change is not sent either.
    function modifyData(index, tmp0, tmp1, tmp2, tmp3) {
        if (index < 0 || index >= rowCount)
            return false
        var row = keyModel.get(index)
        // Some button always keeps the left click.
        if (row.keyCode0 === 0x02 && row.keyCode2 === 0xF0 && checkLeftKey() < 2)
            return false
        setRow(index, tmp0, tmp1, tmp2, tmp3)
        return true
    }

    function refreashUI() {
        var list = []
        for (var i = 0; i < rowCount; ++i) {
            var r = keyModel.get(i)
            setRow(i, r.keyCode0, r.keyCode1, r.keyCode2, r.keyCode3)
            list.push(r.keyCode0, r.keyCode1, r.keyCode2 + (r.keyCode0 === 0x09 ? 1 : 0), r.keyCode3)
        }
        ui_View.mouseSetKeyMatrix(list)
        keyMatrix.lighting.refresh()
    }

    function deleteMacroProc(macroName) {
        for (var i = 0; i < lineCount; ++i) {
            if (!isShown(i) || keyModel.get(i).keyText !== (keyMatrixLang[0] ?? "") + macroName)
                continue
            var e = defalutValue[i]
            setRow(i, parseInt(e.substr(0, 2), 16), parseInt(e.substr(2, 2), 16),
                   parseInt(e.substr(4, 2), 16), parseInt(e.substr(6, 2), 16))
            refreashUI()
        }
    }

    function isShown(index) {
        return index < 6 || keyMatrix.mouseView.keyCount > index
    }

    function getx(index) {
        return 249
    }
    function gety(index) {
        return index >= 0 && index < 8 ? 131 + 21 * index : 299
    }

    ListModel {
        id: keyModel
        objectName: "keyModel"
        Component.onCompleted: {
            for (var i = 0; i < keyMatrix.rowCount; ++i)
                append({ keyCode0: 0, keyCode1: 0, keyCode2: 0, keyCode3: 0, keyText: "" })
        }
    }

    Column {
        x: 6
        y: 4
        spacing: 1
        Repeater {
            model: keyModel
            Rectangle {
                required property int index
                required property string keyText
                objectName: "keyRow" + index
                visible: index < keyMatrix.lineCount && keyMatrix.isShown(index)
                width: 230
                height: 20
                color: rowArea.containsMouse || keyMatrix.mouseView.selectKey === index ? "#40c01818" : "transparent"
                Text {
                    x: 4
                    anchors.verticalCenter: parent.verticalCenter
                    text: (keyMatrix.keyMatrixLang[4] ?? "") + (parent.index + 1)
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontMinSize
                    color: "#b0b0b0"
                }
                Text {
                    objectName: "keyText" + parent.index
                    x: 66
                    width: parent.width - x - 4
                    anchors.verticalCenter: parent.verticalCenter
                    horizontalAlignment: Text.AlignRight
                    elide: Text.ElideRight
                    text: parent.keyText
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontMinSize
                    color: Theme.fontColor
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onEntered: keyMatrix.enterBtn(parent.index)
                    onExited: keyMatrix.leaveBtn(parent.index)
                    onClicked: {
                        keyMatrix.clickFrame()
                        keyMatrix.clickKeyMatrix(parent.index)
                    }
                }
            }
        }
    }
}
