import QtQuick

// Profile manager: the list of the user's profiles (at most six, numbers
// 0..5), a context menu to delete, rename, copy, load and save them, and the
// New and Delete buttons. The main page reacts to changeProfile and closeUI.
Rectangle {
    id: profile

    property int profileNo: -1
    readonly property int maxProfiles: 6
    property var menuTexts: ["Delete", "Edit", "Copy", "Load", "Save"]
    property alias currentIndex: profileList.currentIndex
    property int editIndex: -1
    readonly property int rowHeight: 18

    signal changeProfile(int tmpProfileNo)
    signal closeUI()
    signal listViewFocus()
    signal doubleClick()
    // After Load: whether a file was loaded; the macros go out again either way.
    signal profileLoaded(bool loaded)

    width: 242
    height: titleBar.height + 6 + profileList.height + 8 + newBtn.height + 8
    visible: false
    color: "#1e1e1e"
    border.color: "#4e3434"

    ListModel { id: profileModel }
    property alias profileModel: profileModel

    function lang(i, fallback) {
        var texts = mainIten.mainLang
        return texts && texts[i] !== undefined ? texts[i] : fallback
    }

    function init() {
        menuTexts = [lang(21, "Delete"), lang(22, "Edit"), lang(23, "Copy"), lang(24, "Load"), lang(25, "Save")]
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
        profileList.currentIndex = profileModel.count > 0 ? selected : -1
        // Shown, not stored: start-up writes nothing the user did not change.
        if (mainIten.language === 0 && profileModel.count > 0)
            profileModel.setProperty(0, "profileName", "Standard")
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
        if (profileList.currentIndex >= 0)
            changeProfile(profileModel.get(profileList.currentIndex).profileNo)
    }

    function selectRow(index) {
        // A click into the row being renamed keeps the field open.
        if (index === editIndex)
            return
        leaveEdit()
        profileList.currentIndex = index
        signalSelection()
    }

    function appendEntry(name, number) {
        profileModel.append({ profileName: name, profileNo: number })
        profileList.currentIndex = profileModel.count - 1
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
        var index = profileList.currentIndex
        if (index < 0 || (!fromMenu && profileModel.count <= 1))
            return
        profileModel.remove(index)
        profileList.currentIndex = Math.min(index, profileModel.count - 1)
        storeList()
        signalSelection()
    }

    function startEdit() {
        if (profileList.currentIndex < 0)
            return
        editIndex = profileList.currentIndex
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
        if (editIndex >= 0 && profileList.currentItem && profileList.currentItem.editor)
            commitEdit(profileList.currentItem.editor.text)
        editIndex = -1
    }

    function copySelected() {
        var index = profileList.currentIndex
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
        var model = typeof macroEditorMain !== "undefined" ? macroEditorMain.macroListModel : undefined
        if (model && model.count !== undefined) {
            for (var i = 0; i < model.count; ++i)
                names.push(String(model.get(i).macroName))
            return names
        }
        // Until the editor has its list: the stored macro list is the same order.
        return pageRules.withoutSentinel(ui_View.getNameList(0))
    }

    // Load: a profile exchange file into the current profile, `file` or one the user picks.
    function loadIntoCurrent(file) {
        var loaded = file ? ui_View.loadProfileFile(profileNo, file) : ui_View.loadProfile(profileNo)
        ui_View.loadProfileMacroData(profileNo)
        profileLoaded(loaded)
    }

    function menuCmd(cmd) {
        profileMenu.visible = false
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
    }

    function openMenu(x, y) {
        profileMenu.x = Math.min(x, width - profileMenu.width)
        profileMenu.y = y
        profileMenu.visible = true
    }

    function closePanel() {
        leaveEdit()
        profileMenu.visible = false
        closeUI()
    }

    // A press on the mask behind the panel.
    function profileEditorFocus() {
        leaveEdit()
        profileMenu.visible = false
    }

    MouseArea {
        anchors.fill: parent
        onPressed: profile.profileEditorFocus()
    }

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
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize
            color: mainIten.fontColor
        }
        Text {
            id: closeGlyph
            anchors.right: parent.right
            anchors.rightMargin: 7
            anchors.verticalCenter: parent.verticalCenter
            text: "×"
            font.family: mainIten.fontFamily
            font.pixelSize: mainIten.fontNormalSize + 2
            color: closeArea.containsMouse ? "#ff4040" : mainIten.fontColor
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
        y: titleBar.height + 6
        width: parent.width - 8
        height: Math.max(profile.rowHeight, Math.min(count * profile.rowHeight, 544))
        clip: true
        interactive: false
        model: profileModel
        currentIndex: -1

        delegate: Rectangle {
            id: row
            required property int index
            required property string profileName
            property alias editor: nameEditor

            objectName: "profileRow" + index
            width: profileList.width
            height: profile.rowHeight
            color: ListView.isCurrentItem ? "#8f2020" : (rowArea.containsMouse ? "#4f1717" : "transparent")

            Text {
                objectName: "profileRowName" + row.index
                x: 6
                anchors.verticalCenter: parent.verticalCenter
                visible: profile.editIndex !== row.index
                text: row.profileName
                font.family: mainIten.fontFamily
                font.pixelSize: mainIten.fontNormalSize
                color: mainIten.fontColor
            }
            MouseArea {
                id: rowArea
                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onPressed: profile.listViewFocus()
                onClicked: (mouse) => {
                    profileMenu.visible = false
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
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontNormalSize
                    color: mainIten.fontColor
                    selectByMouse: true
                    maximumLength: 32
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
        Repeater {
            model: [{ label: profile.lang(20, "New"), name: "profileNew" },
                    { label: profile.lang(21, "Delete"), name: "profileDelete" }]
            Rectangle {
                id: button
                required property var modelData
                required property int index
                objectName: modelData.name
                width: 88
                height: 25
                border.color: "#4e3434"
                color: buttonArea.containsMouse ? "#761212" : "#4f1717"
                Text {
                    anchors.centerIn: parent
                    text: button.modelData.label
                    font.family: mainIten.fontFamily
                    font.pixelSize: mainIten.fontNormalSize
                    color: mainIten.fontColor
                }
                MouseArea {
                    id: buttonArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: {
                        profileMenu.visible = false
                        if (button.index === 0)
                            profile.newProfile()
                        else
                            profile.deleteProfile(false)
                    }
                }
            }
        }
    }
    // Kept for the size of the panel.
    Item { id: newBtn; height: 25 }

    Rectangle {
        id: profileMenu
        objectName: "profileMenu"
        width: 100
        height: profile.menuTexts.length * 21 + 2
        border.color: "#8f2020"
        color: "#6f2929"
        visible: false
        z: 10

        Column {
            y: 1
            Repeater {
                model: profile.menuTexts
                Rectangle {
                    required property string modelData
                    required property int index
                    objectName: "profileMenuRow" + index
                    width: profileMenu.width
                    height: 21
                    color: menuArea.containsMouse ? "#8f2020" : "transparent"
                    Text {
                        x: 6
                        anchors.verticalCenter: parent.verticalCenter
                        text: parent.modelData
                        font.family: mainIten.fontFamily
                        font.pixelSize: mainIten.fontMinSize + 1
                        color: mainIten.fontColor
                    }
                    MouseArea {
                        id: menuArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: profile.menuCmd(parent.index)
                    }
                }
            }
        }
    }
}
