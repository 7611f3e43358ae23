import QtQuick
import "../common"
import "gunfields.js" as GunFields

// Recoil editor dialog: the named entries on the left, the fields of the selected one on the right.
// Field edits go into the list when a field is left; the file gets them on New, rename and OK.
// This holds the entries; what it shows is made the first time it opens.
Rectangle {
    id: gunControl

    property var gunControlLang: ["Gun Manager", "Name", "Auxiliary Setting", "Trigger Key",
                                  "Interval Times(MS)", "Deviation", "Run Times", "Unlimited",
                                  "New", "Delete", "OK", "Cancel", "", "", ""]
    property string selectGunName: ""
    property int currentIndex: -1
    readonly property bool hasEntry: currentIndex >= 0 && currentIndex < gunModel.count
    property var checkTexts: ["", "", "", "", ""]
    // "Run Times" chosen: the run count can be typed.
    property bool limitedRuns: false
    // What the fields show: the selected entry's values by role, empty without one.
    property var fields: ({ gunKey: "", gunPeriod: "", gunX: "", gunY: "", gunTimes: "" })
    property alias gunModel: gunModel

    signal closeUI()
    signal entryAppended()

    width: 520
    height: 350
    visible: false
    color: Theme.dialogColor
    border.color: Theme.dialogBorder

    function lang(index) {
        return gunControlLang[index] ?? ""
    }

    function names() {
        var list = []
        for (var i = 0; i < gunModel.count; ++i)
            list.push(gunModel.get(i).gunName)
        return list
    }

    function storeNames() {
        ui_View.updataNameList(1, names())
    }

    function record(index) {
        var e = gunModel.get(index)
        return [e.gunName, e.gunKey, parseInt(e.gunPeriod, 10), parseInt(e.gunX, 10),
                parseInt(e.gunY, 10), parseInt(e.gunTimes, 10)]
    }

    function init() {
        checkTexts = [lang(3), lang(4), lang(5), lang(6), lang(7)]
        gunModel.clear()
        var list = pageRules.withoutSentinel(ui_View.getNameList(1))
        var fields = ["gunKey", "gunPeriod", "gunX", "gunY", "gunTimes"]
        for (var i = 0; i < list.length; ++i) {
            var name = String(list[i])
            var entry = { gunName: name, gunKey: "L-Click", gunPeriod: "10", gunX: "0", gunY: "0", gunTimes: "0" }
            var stored = ui_View.getGunData(name)
            for (var f = 0; f < fields.length && f < stored.length; ++f)
                entry[fields[f]] = String(stored[f])
            gunModel.append(entry)
        }
        var selected = ui_View.getselectGun(0)
        if (selected !== undefined && selected !== null && String(selected) !== "")
            selectGunName = String(selected)
        var at = names().indexOf(selectGunName)
        select(at >= 0 ? at : (gunModel.count > 0 ? 0 : -1))
    }

    // Ends any field edit or rename, so that the list holds what the fields show.
    function gunControlFocus() {
        gunControl.forceActiveFocus()
    }

    function select(index) {
        gunControlFocus()
        currentIndex = index
        loadFields()
    }

    function loadFields() {
        var e = hasEntry ? gunModel.get(currentIndex) : null
        fields = { gunKey: e ? e.gunKey : "", gunPeriod: e ? e.gunPeriod : "", gunX: e ? e.gunX : "",
                   gunY: e ? e.gunY : "", gunTimes: e ? e.gunTimes : "" }
        limitedRuns = !!e && e.gunTimes !== "0"
    }

    function setField(role, text) {
        var f = Object.assign({}, fields)
        f[role] = text
        fields = f
        gunModel.setProperty(currentIndex, role, text)
    }

    function commitField(role, text, clean) {
        if (hasEntry)
            setField(role, clean(text))
    }

    // Choosing "Run Times" always starts again from one run, even when it was chosen already.
    function setUnlimited(unlimited) {
        if (!hasEntry)
            return
        gunControlFocus()
        setField("gunTimes", unlimited ? "0" : "1")
        limitedRuns = !unlimited
    }

    function newEntry() {
        gunControlFocus()
        var name = GunFields.firstFreeName(names())
        if (name === "")
            return
        var entry = Object.assign({ gunName: name }, GunFields.newEntry)
        gunModel.append(entry)
        // The file starts with no deviation; the page's Y reaches it with OK.
        ui_View.saveGundata([name, entry.gunKey, 10, 0, 0, 0])
        storeNames()
        select(gunModel.count - 1)
        entryAppended()
    }

    function rename(index, newName) {
        var oldName = gunModel.get(index).gunName
        if (newName === oldName || !pageRules.isSafeRecoilName(newName) || !GunFields.nameFree(newName, names(), index))
            return
        gunModel.setProperty(index, "gunName", newName)
        ui_View.modifyGundata(1, record(index).concat([oldName]))
        storeNames()
    }

    function deleteEntry() {
        gunControlFocus()
        if (!hasEntry)
            return
        ui_View.modifyGundata(0, [gunModel.get(currentIndex).gunName])
        gunModel.remove(currentIndex)
        storeNames()
        select(Math.min(currentIndex, gunModel.count - 1))
    }

    function accept() {
        gunControlFocus()
        for (var i = 0; i < gunModel.count; ++i)
            ui_View.saveGundata(record(i))
        closeUI()
    }

    function cancel() {
        gunControlFocus()
        closeUI()
    }

    ListModel { id: gunModel }

    // A press on an empty part of the dialog leaves the field being edited.
    MouseArea {
        anchors.fill: parent
        onPressed: gunControl.gunControlFocus()
    }

    FirstUseLoader {
        shown: gunControl.visible
        sourceComponent: Item {
            DialogTitleBar {
                objectName: "gunTitleBar"
                titleName: "gunTitle"
                text: gunControl.lang(0)
                dragged: gunControl
                closable: false
                onPressed: gunControl.gunControlFocus()
            }

            Text {
                x: 16
                y: 42
                text: gunControl.lang(1)
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontNormalSize
                color: Theme.fontColor
            }
            GunEntryList {
                x: 16
                y: 62
                dialog: gunControl
            }
            Row {
                x: 16
                y: 306
                spacing: 10
                DialogButton {
                    objectName: "gunNew"
                    width: 80
                    text: gunControl.lang(8)
                    onClicked: gunControl.newEntry()
                }
                DialogButton {
                    objectName: "gunDelete"
                    width: 80
                    text: gunControl.lang(9)
                    enabled: gunControl.hasEntry
                    enabledLook: enabled
                    onClicked: gunControl.deleteEntry()
                }
            }

            Text {
                x: 204
                y: 42
                text: gunControl.lang(2)
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontNormalSize
                color: Theme.fontColor
            }
            GunEntryFields {
                x: 204
                y: 62
                dialog: gunControl
            }

            Row {
                anchors.right: parent.right
                anchors.rightMargin: 16
                y: 306
                spacing: 12
                DialogButton {
                    objectName: "gunOk"
                    text: gunControl.lang(10)
                    onClicked: gunControl.accept()
                }
                DialogButton {
                    objectName: "gunCancel"
                    text: gunControl.lang(11)
                    onClicked: gunControl.cancel()
                }
            }
        }
    }
}
