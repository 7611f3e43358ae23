import QtQuick
import "../common"

// Asks before the current profile goes back to the factory settings.
NoticeBox {
    signal accepted()
    signal rejected()

    title: mainIten.mainLang[26] ?? ""
    text: mainIten.mainLang[27] ?? ""
    textName: "resetQuestion"
    buttons: [{ name: "resetOk", text: mainIten.mainLang[28] ?? "" },
              { name: "resetCancel", text: mainIten.mainLang[29] ?? "" }]
    draggable: true
    onChosen: (index) => index === 0 ? accepted() : rejected()
}
