import QtQuick

// Profile manager: the list of the user's profiles (at most six, numbers
// 0..5), a context menu to delete, rename, copy, load and save them, and the
// New and Delete buttons. The main page reacts to changeProfile and closeUI.
Rectangle {
    id: profile

    property int profileNo: -1
    readonly property int maxProfiles: 6
    property var menuTexts: ["Delete", "Edit", "Copy", "Load", "Save", "Link to application…"]
    property alias currentIndex: profileList.currentIndex
    property int editIndex: -1
    readonly property int rowHeight: 18

    signal changeProfile(int tmpProfileNo)
    signal closeUI()
    signal listViewFocus()
    signal doubleClick()
    signal linkApplications(int tmpProfileNo)

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

    // Whether another page has the function yet.
    function hasFunction(page, name) {
        return !!page && typeof page[name] === "function"
    }

    function init() {
        menuTexts = [lang(21, "Delete"), lang(22, "Edit"), lang(23, "Copy"), lang(24, "Load"), lang(25, "Save"),
                     lang(49, "Link to application…")]
        var stored = ui_View.getNameList(2)
        if (stored.length === 2 && String(stored[1]) === "loaderzenith")
            stored = [stored[0]]
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

    // The first profile number 0..5 no entry has; 6 (p7.bin) when all are taken.
    function firstFreeNumber() {
        for (var n = 0; n < maxProfiles; ++n) {
            var used = false
            for (var i = 0; i < profileModel.count; ++i)
                used = used || profileModel.get(i).profileNo === n
            if (!used)
                return n
        }
        return maxProfiles
    }

    function firstFreeName(prefix, suffix) {
        for (var n = 0; n < 12; ++n)
            if (!nameUsed(prefix + n + suffix, -1))
                return prefix + n + suffix
        return prefix + 12 + suffix
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
        var name = firstFreeName("profile_", "")
        var number = firstFreeNumber()
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
        // Its applications no longer switch to it.
        if (typeof ui_Links !== "undefined" && ui_Links)
            ui_Links.unlinkProfile(profileModel.get(index).profileNo)
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
        var name = firstFreeName(source.profileName + "(", ")")
        var destination = firstFreeNumber()
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
        var stored = ui_View.getNameList(0)
        for (var j = 0; j < stored.length; ++j)
            names.push(String(stored[j]))
        if (names.length === 2 && names[1] === "loaderzenith")
            names.pop()
        return names
    }

    function loadIntoCurrent() {
        var loaded = ui_View.loadProfile(profileNo)
        ui_View.loadProfileMacroData(profileNo)
        var editor = typeof macroEditorMain !== "undefined" ? macroEditorMain : null
        for (var i = 0; i < 16; ++i) {
            var definition = ui_View.getKeydefine(i)
            if (definition.length >= 4 && parseInt(definition[0]) === 0x0A && hasFunction(editor, "sendMacro"))
                editor.sendMacro(i, ui_View.getMacroKey(parseInt(definition[3])))
        }
        if (!loaded)
            return
        var pages = [typeof keyMatrixMain !== "undefined" ? keyMatrixMain : null,
                     typeof xySettingMain !== "undefined" ? xySettingMain : null,
                     typeof dpiSettingMain !== "undefined" ? dpiSettingMain : null,
                     typeof lightControlMain !== "undefined" ? lightControlMain : null,
                     typeof reportRateMain !== "undefined" ? reportRateMain : null,
                     typeof mouseRateMain !== "undefined" ? mouseRateMain : null,
                     typeof doubleRateMain !== "undefined" ? doubleRateMain : null,
                     typeof scrollRateMain !== "undefined" ? scrollRateMain : null]
        // The loaded lighting first: the panels before it light the mouse with what it shows, and store it.
        if (hasFunction(pages[3], "init"))
            pages[3].init(false)
        for (var p = 0; p < pages.length; ++p) {
            if (hasFunction(pages[p], "init"))
                pages[p].init(true)
        }
        if (hasFunction(editor, "init"))
            editor.init()
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
        else if (cmd === 5)
            linkApplications(profileNo)
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
        width: 130
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
