import QtQuick
import "../common"

// Profile manager: the list of the user's profiles (at most six, numbers
// 0..5), a context menu to delete, rename, copy, load and save them, and the
// New and Delete buttons. The main page reacts to changeProfile and closeUI.
// This holds the list; what it shows is made the first time it opens.
Rectangle {
    id: profile

    property int profileNo: -1
    // Another profile was made current since the panel opened: closing sends it.
    property bool switched: false
    // Holds the macro list that Save exports; set by the page.
    property Item macroEditor
    readonly property int maxProfiles: 6
    property var menuTexts: ["Delete", "Edit", "Copy", "Load", "Save", "Link to application…"]
    property int currentIndex: -1
    property int editIndex: -1
    // What the name field shows while a row is renamed.
    property string editText: ""
    property bool menuOpen: false
    property point menuAt
    readonly property int rowHeight: 18
    readonly property int listHeight: Math.max(rowHeight, Math.min(profileModel.count * rowHeight, 544))

    signal changeProfile(int tmpProfileNo)
    signal closeUI()
    signal listViewFocus()
    signal doubleClick()
    // After Load: whether a file was loaded; the macros go out again either way.
    signal profileLoaded(bool loaded)
    // A row was made current; the list shows it at once, with the list's pending changes.
    signal indexSelected(int index)
    signal linkApplications(int tmpProfileNo)

    width: 242
    // Title bar, list and buttons with their gaps.
    height: 18 + 6 + listHeight + 8 + 25 + 8
    visible: false
    color: Theme.dialogColor
    border.color: Theme.dialogBorder

    ListModel { id: profileModel }
    property alias profileModel: profileModel

    function lang(i, fallback) {
        var texts = mainIten.mainLang
        return texts && texts[i] !== undefined ? texts[i] : fallback
    }

    function selectIndex(index) {
        currentIndex = index
        indexSelected(index)
    }

    function init() {
        menuTexts = [lang(21, "Delete"), lang(22, "Edit"), lang(23, "Copy"), lang(24, "Load"), lang(25, "Save"),
                     lang(49, "Link to application…")]
        var stored = pageRules.withoutSentinel(ui_View.getNameList(2))
        profileModel.clear()
        var selected = 0
        for (var i = 0; i < stored.length; ++i) {
            var entry = String(stored[i])
            var number = parseInt(entry.slice(-1))
            // An entry without a number keeps its last character when stored again.
            profileModel.append({ profileName: entry.slice(0, -1), profileNo: isNaN(number) ? -1 : number,
                                  tail: entry.slice(-1) })
            if (number === profileNo)
                selected = profileModel.count - 1
        }
        selectIndex(profileModel.count > 0 ? selected : -1)
        // Shown, not stored: start-up writes nothing the user did not change.
        if (mainIten.language === 0 && profileModel.count > 0)
            profileModel.setProperty(0, "profileName", "Standard")
    }

    // The listed name of profile number; empty when no entry has it.
    function nameOf(number) {
        for (var i = 0; i < profileModel.count; ++i)
            if (profileModel.get(i).profileNo === number)
                return profileModel.get(i).profileName
        return ""
    }

    function storeList() {
        var texts = []
        for (var i = 0; i < profileModel.count; ++i)
            texts.push(profileModel.get(i).profileName
                       + (profileModel.get(i).profileNo >= 0 ? profileModel.get(i).profileNo : profileModel.get(i).tail))
        ui_View.updataNameList(2, texts)
    }

    function nameUsed(name, exceptIndex) {
        for (var i = 0; i < profileModel.count; ++i)
            if (i !== exceptIndex && profileModel.get(i).profileName === name)
                return true
        return false
    }

    // One role of every entry, for the name rules.
    function column(role) {
        var values = []
        for (var i = 0; i < profileModel.count; ++i)
            values.push(profileModel.get(i)[role])
        return values
    }

    // The row listing profile `number`; -1 when none does.
    function rowOf(number) {
        return column("profileNo").indexOf(number)
    }

    function signalSelection() {
        if (currentIndex >= 0)
            changeProfile(profileModel.get(currentIndex).profileNo)
    }

    function selectRow(index) {
        // A click into the row being renamed keeps the field open.
        if (index === editIndex)
            return
        leaveEdit()
        selectIndex(index)
        signalSelection()
    }

    function appendEntry(name, number) {
        profileModel.append({ profileName: name, profileNo: number })
        selectIndex(profileModel.count - 1)
        storeList()
    }

    function newProfile() {
        leaveEdit()
        var name = pageRules.firstFreeName(column("profileName"), "profile_", "")
        var number = pageRules.firstFreeProfile(column("profileNo"))
        if (profileModel.count < maxProfiles)
            appendEntry(name, number)
        ui_View.resetProfile(number)
        signalSelection()
    }

    // The button keeps the last entry; the menu command does not.
    function deleteProfile(fromMenu) {
        leaveEdit()
        var index = currentIndex
        if (index < 0 || (!fromMenu && profileModel.count <= 1))
            return
        // Its applications no longer switch to it.
        if (ui_Links)
            ui_Links.unlinkProfile(profileModel.get(index).profileNo)
        profileModel.remove(index)
        selectIndex(Math.min(index, profileModel.count - 1))
        storeList()
        signalSelection()
    }

    function startEdit() {
        if (currentIndex < 0)
            return
        editIndex = currentIndex
        doubleClick()
    }

    function commitEdit(text) {
        var index = editIndex
        editIndex = -1
        if (index < 0 || index >= profileModel.count)
            return
        var name = String(text).trim()
        if (name.length === 0 || nameUsed(name, index) || name === profileModel.get(index).profileName)
            return
        profileModel.setProperty(index, "profileName", name)
        storeList()
    }

    function leaveEdit() {
        if (editIndex >= 0)
            commitEdit(editText)
        editIndex = -1
    }

    function copySelected() {
        var index = currentIndex
        if (index < 0)
            return
        var source = profileModel.get(index)
        var name = pageRules.firstFreeName(column("profileName"), source.profileName + "(", ")")
        var destination = pageRules.firstFreeProfile(column("profileNo"))
        ui_View.copyProfile(destination, source.profileNo)
        if (profileModel.count < maxProfiles) {
            appendEntry(name, destination)
            signalSelection()
        }
    }

    function macroNames() {
        var names = []
        var model = macroEditor.macroListModel
        for (var i = 0; i < model.count; ++i)
            names.push(String(model.get(i).macroName))
        return names
    }

    // Load: a profile exchange file into the current profile, `file` or one the user picks.
    function loadIntoCurrent(file) {
        var loaded = file ? ui_View.loadProfileFile(profileNo, file) : ui_View.loadProfile(profileNo)
        ui_View.loadProfileMacroData(profileNo)
        profileLoaded(loaded)
    }

    function menuCmd(cmd) {
        menuOpen = false
        if (cmd === 0)
            deleteProfile(true)
        else if (cmd === 1)
            startEdit()
        else if (cmd === 2)
            copySelected()
        else if (cmd === 3)
            loadIntoCurrent()
        else if (cmd === 4)
            ui_View.saveProfile(profileNo, macroNames())
        else if (cmd === 5)
            linkApplications(profileNo)
    }

    function openMenu(x, y) {
        menuAt = Qt.point(Math.min(x, width - 100), y)
        menuOpen = true
    }

    // The command line's hand-off, as a user would do it here: `number` chosen in the list and sent
    // as the list closes, even when it was current already; -1 makes a new profile as New does.
    // Returns the profile then current, or -1 when all six are in use.
    function commandLineSwitch(number) {
        if (number < 0) {
            if (profileModel.count >= maxProfiles)
                return -1
            newProfile()
            return profileNo
        }
        switched = true
        selectRow(rowOf(number))
        closePanel()
        return profileNo
    }

    function closePanel() {
        leaveEdit()
        menuOpen = false
        closeUI()
    }

    // A press on the mask behind the panel.
    function profileEditorFocus() {
        leaveEdit()
        menuOpen = false
    }

    MouseArea {
        anchors.fill: parent
        onPressed: profile.profileEditorFocus()
    }

    FirstUseLoader {
        shown: profile.visible
        sourceComponent: Item {
            Rectangle {
                id: titleBar
                width: parent.width
                height: 18
                color: "#1a1a1a"

                Rectangle {
                    width: 3
                    height: parent.height
                    color: "#c01818"
                }
                Text {
                    objectName: "profileTitle"
                    x: 7
                    anchors.verticalCenter: parent.verticalCenter
                    text: profile.lang(19, "Profiles")
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontNormalSize
                    color: Theme.fontColor
                }
                Text {
                    id: closeGlyph
                    anchors.right: parent.right
                    anchors.rightMargin: 7
                    anchors.verticalCenter: parent.verticalCenter
                    text: "×"
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontNormalSize + 2
                    color: closeArea.containsMouse ? "#ff4040" : Theme.fontColor
                }
                MouseArea {
                    id: closeArea
                    objectName: "profileClose"
                    anchors.right: parent.right
                    width: 24
                    height: parent.height
                    hoverEnabled: true
                    onClicked: profile.closePanel()
                }
            }

            ListView {
                id: profileList
                objectName: "profileList"
                x: 4
                y: 18 + 6
                width: parent.width - 8
                height: profile.listHeight
                clip: true
                interactive: false
                model: profile.profileModel
                currentIndex: profile.currentIndex
                onCurrentIndexChanged: profile.currentIndex = currentIndex

                Connections {
                    target: profile
                    function onIndexSelected(index) { profileList.currentIndex = index }
                }

                delegate: Rectangle {
                    id: row
                    required property int index
                    required property string profileName
                    objectName: "profileRow" + index
                    width: profileList.width
                    height: profile.rowHeight
                    color: ListView.isCurrentItem ? Theme.menuBorder : (rowArea.containsMouse ? Theme.buttonColor : "transparent")

                    Text {
                        objectName: "profileRowName" + row.index
                        x: 6
                        anchors.verticalCenter: parent.verticalCenter
                        visible: profile.editIndex !== row.index
                        text: row.profileName
                        font.family: Theme.fontFamily
                        font.pixelSize: Theme.fontNormalSize
                        color: Theme.fontColor
                    }
                    MouseArea {
                        id: rowArea
                        anchors.fill: parent
                        hoverEnabled: true
                        acceptedButtons: Qt.LeftButton | Qt.RightButton
                        onPressed: profile.listViewFocus()
                        onClicked: (mouse) => {
                            profile.menuOpen = false
                            profile.selectRow(row.index)
                            if (mouse.button === Qt.RightButton) {
                                var p = row.mapToItem(profile, mouse.x, mouse.y)
                                profile.openMenu(p.x, p.y)
                            }
                        }
                        onDoubleClicked: (mouse) => {
                            if (mouse.button !== Qt.LeftButton)
                                return
                            profile.selectRow(row.index)
                            profile.startEdit()
                        }
                    }
                    Rectangle {
                        anchors.fill: parent
                        visible: profile.editIndex === row.index
                        color: "#2a2a2a"
                        border.color: "#c0c0c0"
                        TextInput {
                            id: nameEditor
                            objectName: "profileEditor"
                            x: 5
                            width: parent.width - 10
                            anchors.verticalCenter: parent.verticalCenter
                            font.family: Theme.fontFamily
                            font.pixelSize: Theme.fontNormalSize
                            color: Theme.fontColor
                            selectByMouse: true
                            maximumLength: 32
                            onTextChanged: if (profile.editIndex === row.index) profile.editText = text
                            onAccepted: profile.commitEdit(text)
                            onActiveFocusChanged: {
                                if (!activeFocus && profile.editIndex === row.index)
                                    profile.commitEdit(text)
                            }
                        }
                        onVisibleChanged: {
                            if (visible) {
                                nameEditor.text = row.profileName
                                nameEditor.selectAll()
                                nameEditor.forceActiveFocus()
                            }
                        }
                    }
                }
            }

            Row {
                anchors.horizontalCenter: parent.horizontalCenter
                y: profileList.y + profileList.height + 8
                spacing: 20
                DialogButton {
                    objectName: "profileNew"
                    text: profile.lang(20, "New")
                    onClicked: {
                        profile.menuOpen = false
                        profile.newProfile()
                    }
                }
                DialogButton {
                    objectName: "profileDelete"
                    text: profile.lang(21, "Delete")
                    onClicked: {
                        profile.menuOpen = false
                        profile.deleteProfile(false)
                    }
                }
            }

            TextMenu {
                objectName: "profileMenu"
                x: profile.menuAt.x
                y: profile.menuAt.y
                width: 100
                z: 10
                visible: profile.menuOpen
                rows: profile.menuTexts
                rowName: "profileMenuRow"
                onPicked: (index) => profile.menuCmd(index)
            }
        }
    }
}
