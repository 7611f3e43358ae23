import QtQuick
import "../common"

// The header's help menu: the web address, the updater and the version.
TextMenu {
    property string webAddress: ""

    // The updater is missing: the page says so.
    signal showNotice(string title, string text)

    width: 159
    height: 64
    rows: [webAddress, "update", "verison:1.0"]
    textName: "askRow"

    onPicked: (index) => {
        if (index === 0)
            Qt.openUrlExternally("http://" + webAddress)
        else if (index === 1 && !ui_View.openUpdateExe())
            showNotice(rows[1], mainIten.mainLang[34] ?? "")
        visible = false
    }

    function setRowText(row, text) {
        var r = rows.slice()
        r[row] = text
        rows = r
    }
}
