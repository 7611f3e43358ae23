#include "languagerows.h"
#include "myqquickview.h"
#include "pagerig.h"
#include "storefile.h"
#include "tmpfsmount.h"

#include <QtTest>

// The key panel, its menu and dialogs and the macro editor on the real page, read back from the trace and the files;
// key edges arrive as the hook relays them (X11 input: app/x11_desktop), the record timer's ticks set between them.
class tst_MacroEditor : public QObject
{
    Q_OBJECT

    QScopedPointer<PageRig> rig;

    QObject *editor() { return rig->item("macroEditorMain"); }
    void tick(const QString &name) { rig->clickAt(name, {7, rig->item(name)->height() / 2}); }   // its check mark
    void key(bool down, int usage, int ticks = 0)
    {
        editor()->setProperty("macroRecordCount", ticks);
        QMetaObject::invokeMethod(rig->view->rootObject(), "detectKeyboard", Q_ARG(QVariant, down),
                                  Q_ARG(QVariant, usage));
    }
    int events() { return editor()->property("eventModel").value<QObject *>()->property("count").toInt(); }
    QString macroFile(const QString &name) { return QString::fromUtf8(rig->data.readFile("modules/macro/" + name + ".bin")); }
    QStringList macroBlocks() { return sentMacroBlocks(rig->traceFile()); }
    // The saved entries as the file lists them, without the loop count.
    QStringList savedEntries(const QString &name)
    {
        const QStringList all = rig->view->loadMacroIni(name);
        return all.mid(0, all.size() - 1);
    }
    // Slot and the 192 bytes of a macro block: `head` in hex, then zeros.
    static QString block(int slot, const QByteArray &head)
    {
        QByteArray bytes = QByteArray::fromHex(head);
        bytes.resize(192, '\0');
        return QString("%1: %2").arg(slot, 2, 10, QChar('0')).arg(QString::fromLatin1(bytes.toHex(' ')));
    }

private slots:
    void init()
    {
        const bool chinese = QByteArray(QTest::currentDataTag()).contains("Chinese");
        rig.reset(new PageRig(1, chinese ? "ChineseSimplified" : "English"));
    }
    void cleanup() { rig.reset(); }

    // Record button idle, recording; the key label; a refused name; a macro whose file cannot be made.
    void recordAndAssign_data()
    {
        languageRows({"Start Record", "Stop Record", "Macro: Macro_0",
                      "Name refused: 1 to 64 visible characters, none of / \\ : * ? \" < > |, no \"..\", "
                      "not \"loaderzenith\", and not the name of another file",
                      "Cannot create a macro: its file could not be written (disk full or folder read-only)"},
                     {"开始录制", "停止录制", "宏：Macro_0",
                      "名称不可用：须为 1 至 64 个可见字符，不含 / \\ : * ? \" < > |，不含“..”，不能是“loaderzenith”，也不能与其他文件同名",
                      "无法新建宏：宏文件无法写入（磁盘已满或文件夹只读）"});
    }
    void recordAndAssign()
    {
        QFETCH(QStringList, texts);
        QVERIFY(rig->start());
        rig->click("macroBtn");
        QVERIFY(rig->shown("mainMask"));
        rig->click("macroNew");
        tick("recTimeCheck");   // the delays saved below need it
        rig->click("macroRecord");
        QCOMPARE(rig->text("macroRecord"), texts[1]);
        // a, b, c typed: the first edge gets no delay, every later one the ticks since the one before.
        const QList<std::array<int, 3>> edges{{1, 4, 7}, {0, 4, 9}, {1, 5, 3}, {0, 5, 12}, {1, 6, 1}, {0, 6, 8}};
        for (const auto &e : edges)
            key(e[0], e[1], e[2]);
        rig->click("macroRecord");
        QCOMPARE(rig->text("macroRecord"), texts[0]);
        const QStringList recorded{"1,A", "0,90", "2,A", "0,30", "1,B", "0,120", "2,B", "0,10", "1,C", "0,80", "2,C"};
        QCOMPARE(savedEntries("Macro_0"), recorded);
        // Macro_1, looping 300 times, is the one shown while Macro_0 is assigned.
        rig->click("macroNew");
        tick("loopsCheck");
        rig->click("loopField");
        QTest::keyClick(rig->view.get(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(rig->view.get(), "300");
        QTest::keyClick(rig->view.get(), Qt::Key_Return);
        QVERIFY(macroFile("Macro_1").contains("repeat=300"));
        rig->click("macroEditorOk");
        for (const char *step : {"keyRow4", "menuEntry11", "macroKeyName", "macroChoice0", "macroKeyOk"})
            rig->click(step);   // Macro_0 for button 5, through the menu's "Macro"
        QCOMPARE(rig->text("keyText4"), texts[2]);
        QCOMPARE(rig->matrices().last().mid(16, 4).toHex(' '), QByteArray("04 01 00 0a"));
        QCOMPARE(macroBlocks(), QStringList{block(4, "00 01 01 04 da 04 1e 05 f8 05 0a 06 81 06 00 00")});
        // The shown macro keeps its own loop count.
        rig->click("macroBtn");
        QCOMPARE(rig->text("loopField"), QString("300"));
        // A later edit is saved and sent again to button 5's slot; its loop count too.
        rig->click("macroRow0");
        rig->click("eventRow2", Qt::RightButton);
        rig->click("eventMenu3");   // Insert Right Button after "A up"
        QCOMPARE(savedEntries("Macro_0").mid(2, 3), (QStringList{"2,A", "3,MS-R", "4,MS-R"}));
        QCOMPARE(macroBlocks().mid(1), QStringList{block(4, "00 01 01 04 da 04 01 f1 81 f1 1e 05 f8 05 0a 06 81 06 00 00")});
        rig->click("macroNew");   // Macro_2
        // Renamed by double-click and typing: a refused name is said so and changes nothing; a used one is ignored.
        const auto rename = [&](int row, const QString &name) {
            QTest::mouseDClick(rig->view.get(), Qt::LeftButton, {}, rig->centre("macroRow" + QString::number(row)));
            QTest::keyClick(rig->view.get(), Qt::Key_A, Qt::ControlModifier);
            QTest::sendKeyEvent(QTest::Click, rig->view.get(), Qt::Key_unknown, name, {});
            QTest::keyClick(rig->view.get(), Qt::Key_Return);
            rig->clickAt("macroEditorMain", QPointF(320, 420));   // elsewhere: the next click is no double-click
        };
        for (const QString bad : {"../x", "a/b", "ab\u061Ccd", "loaderzenith"}) {
            rename(1, bad);
            QCOMPARE(rig->text("macroMessage"), texts[3]);
        }
        QCOMPARE(QDir(rig->data.filePath("modules/macro")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{"Macro_0.bin", "Macro_1.bin", "Macro_2.bin"}));
        rename(1, "Macro_2");
        QCOMPARE(rig->view->getNameList(0), (QVariantList{"Macro_0", "Macro_1", "Macro_2"}));
        rename(1, "Boss");
        QCOMPARE(rig->view->getNameList(0), (QVariantList{"Macro_0", "Boss", "Macro_2"}));
        QVERIFY(QFile::exists(rig->data.filePath("modules/macro/Boss.bin")) && !QFile::exists(rig->data.filePath("modules/macro/Macro_1.bin")));
        QVERIFY(rig->text("macroMessage").isEmpty());
        // Button 2 uses Boss: deleting it resets the button, renumbers the rest and their files.
        rig->view->setMacroKey(1, "Boss");
        QVERIFY(rig->item("keyMatrixMain")->metaObject()->invokeMethod(rig->item("keyMatrixMain"), "modifyData",
                Q_ARG(QVariant, 1), Q_ARG(QVariant, 0x0A), Q_ARG(QVariant, 0), Q_ARG(QVariant, 1), Q_ARG(QVariant, 1)));
        rig->click("macroRow1");
        rig->click("macroDelete");
        QCOMPARE(rig->view->getNameList(0), (QVariantList{"Macro_0", "Macro_2"}));
        QCOMPARE(rig->view->loadMacroIndex("Macro_2").toInt(), 1);
        QVERIFY(!QFile::exists(rig->data.filePath("modules/macro/Boss.bin")));
        QCOMPARE(rig->matrices().last().mid(4, 4).toHex(' '), QByteArray("00 f1 00 01"));
        rig->click("macroNew");   // Macro_1 again: a freed number is taken again
        // A macro whose file cannot be made is not listed and the page says so; later every listed macro has its file.
        {
            TmpfsMount disk(rig->data.filePath("modules/macro"));
            if (!disk.mounted())
                QSKIP(qPrintable("a tmpfs cannot be mounted here: " + disk.error()));
            QVERIFY(disk.fillUpTo(0));
            rig->click("macroNew");
            QCOMPARE(rig->text("macroMessage"), texts[4]);
        }
        rig->click("macroNew");
        QCOMPARE(rig->view->getNameList(0), (QVariantList{"Macro_0", "Macro_2", "Macro_1", "Macro_3"}));
        for (const char *name : {"Macro_0", "Macro_2", "Macro_1", "Macro_3"})
            QVERIFY2(macroFile(name).contains(name == QString("Macro_0") ? "total=13" : "total=0"), name);
        QVERIFY(rig->text("macroMessage").isEmpty());
    }

    void limits_data()
    {
        QTest::addColumn<int>("ticks");      // between edges
        QTest::addColumn<int>("accepted");   // of 64 edges
        QTest::addColumn<bool>("refused");   // the page says why
        QTest::addColumn<QString>("tooLong");   // the key dialog's refusal of a longer macro
        QTest::newRow("fast keys: 60 edges") << 3 << 60 << false
            << "Macro too long for the mouse (over 192 bytes); the button keeps its function";
        QTest::newRow("200 ms apart: what fits 192 bytes, Chinese") << 20 << 48 << true
            << QString::fromUtf8("宏太长，鼠标无法保存（超过 192 字节）；按键保持原功能");
    }
    void limits()
    {
        QFETCH(int, ticks); QFETCH(int, accepted); QFETCH(bool, refused);
        QVERIFY(rig->start());
        rig->click("macroBtn");
        rig->click("macroNew");
        rig->view->setMacroKey(4, "Macro_0");
        tick("recTimeCheck");
        rig->click("macroRecord");
        for (int i = 0; i < 64; ++i)
            key(i % 2 == 0, 0x04 + (i / 2) % 26, ticks);
        QCOMPARE(rig->text("macroMessage").contains("192"), refused);
        rig->click("macroRecord");
        const QStringList saved = savedEntries("Macro_0");
        QCOMPARE(saved.filter(QRegularExpression("^[12],")).size(), accepted);
        // The one block the mouse got ends in its two closing zeros inside the 192 bytes.
        const QStringList blocks = macroBlocks();
        QCOMPARE(blocks.size(), 1);
        QVERIFY2(blocks.first().startsWith("04: 00 01 01 04 ") && blocks.first().endsWith(" 00 00"), qPrintable(blocks.first()));
        // The insert commands take one more pair while the estimate is below 126 and the encoding fits.
        rig->click("eventRow" + QString::number(events() - 1), Qt::RightButton);
        rig->click("eventMenu1");
        QCOMPARE(savedEntries("Macro_0").size(), saved.size() + (refused ? 0 : 2));
        // A longer macro another tool wrote is refused in the key dialog: nothing changes on the wire or the page.
        const QStringList longer = QString("1,A 2,A ").repeated(100).split(' ', Qt::SkipEmptyParts);
        QVERIFY(rig->view->saveMacroIni("Macro_0", longer, {}, 1).toBool());
        rig->click("macroEditorOk");
        const int mark = rig->traceLength();
        const QString label = rig->text("keyText3");
        for (const char *step : {"keyRow3", "menuEntry11", "macroKeyName", "macroChoice0", "macroKeyOk"})   // Macro_0 for button 4
            rig->click(step);
        QVERIFY(rig->shown("macroTooLong"));
        QFETCH(QString, tooLong);
        QCOMPARE(rig->text("macroTooLong"), tooLong);
        QCOMPARE(rig->reports(mark), QStringList());
        QCOMPARE(rig->text("keyText3"), label);
        QCOMPARE(rig->view->getMacroKey(3), QVariant(0));
        rig->click("macroKeyCancel");
        QVERIFY(!rig->shown("macroKeyMain"));
    }

    void editingAndCancel()
    {
        QVERIFY(rig->start());
        rig->click("macroBtn");
        rig->click("macroNew");
        rig->click("macroRecord");
        key(true, 0x04), key(false, 0x04);
        rig->click("macroRecord");
        rig->click("eventRow1", Qt::RightButton);
        rig->click("eventMenu4");   // Insert Delay before "A up", the recording's only delay with Rec Time off
        QCOMPARE(savedEntries("Macro_0"), (QStringList{"1,A", "0,50", "2,A"}));
        QCOMPARE(rig->text("eventText1"), QString("50 ms"));
        // A delay edited to a number is kept.
        QTest::mouseDClick(rig->view.get(), Qt::LeftButton, {}, rig->centre("eventRow1"));
        QTest::keyClick(rig->view.get(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(rig->view.get(), "1500");
        QTest::keyClick(rig->view.get(), Qt::Key_Return);
        QCOMPARE(savedEntries("Macro_0"), (QStringList{"1,A", "0,1500", "2,A"}));
        rig->click("eventRow0", Qt::RightButton);
        rig->click("eventMenu5");   // Insert Keys
        key(true, 0x2C);
        QCOMPARE(rig->text("insertKeyName"), QString("Space"));
        rig->click("insertKeyOk");
        QCOMPARE(savedEntries("Macro_0"), (QStringList{"1,Space", "2,Space", "1,A", "0,1500", "2,A"}));
        rig->click("eventRow0", Qt::RightButton);
        rig->click("eventMenu0");   // Delete
        QCOMPARE(savedEntries("Macro_0"), (QStringList{"2,Space", "1,A", "0,1500", "2,A"}));
        // A loop count stored keeps its field enabled for the checks below.
        tick("loopsCheck");
        rig->click("loopField");
        QTest::keyClick(rig->view.get(), Qt::Key_End);
        QTest::keyClicks(rig->view.get(), "2");
        QTest::keyClick(rig->view.get(), Qt::Key_Return);
        // Cancel while recording asks; its Cancel goes on recording, its OK drops the recording.
        rig->click("macroRecord");
        key(true, 0x05);
        rig->click("macroEditorCancel");
        rig->click("cancelRecordCancel");
        QVERIFY(!rig->shown("cancelQuestion") && editor()->property("isInputting").toBool());
        rig->click("macroEditorOk");
        rig->click("cancelRecordOk");
        QVERIFY(!rig->shown("macroEditorMain") && !rig->shown("mainMask"));
        // Recording while a field is in use (a delay being edited, the loop count focused, a name being edited): the
        // key (which reaches the page too, as on X11) changes no field, nothing is saved or sent until Stop Record,
        // and the cancel question's OK gets the stored macro back.
        rig->view->setMacroKey(4, "Macro_0");   // every save is sent to slot 4 too
        rig->click("macroBtn");
        const QByteArray file = rig->data.readFile("modules/macro/Macro_0.bin");
        const int blocks = macroBlocks().size();
        for (const QString field : {"delayEdit2", "loopField", "macroNameEdit0"}) {
            if (field == "loopField")
                rig->click("loopField");
            else
                QTest::mouseDClick(rig->view.get(), Qt::LeftButton, {},
                                   rig->centre(field == "delayEdit2" ? "eventRow2" : "macroRow0"));
            QVERIFY2(rig->item(field)->hasActiveFocus(), qPrintable(field));
            const QString before = rig->text(field);
            rig->click("macroRecord");
            QTest::keyClick(rig->view.get(), Qt::Key_1);
            key(true, 0x1E);
            key(false, 0x1E);
            QCOMPARE(events(), 2);
            if (field != "delayEdit2")   // a delay's field goes with its row
                QCOMPARE(rig->text(field), before);
            QCOMPARE(rig->data.readFile("modules/macro/Macro_0.bin"), file);
            QCOMPARE(macroBlocks().size(), blocks);
            rig->click("macroEditorCancel");
            rig->click("cancelRecordOk");
            rig->click("macroBtn");
            QCOMPARE(events(), 4);
        }
    }

    // A function from the menu; the key dialog, standing in the middle of the page, assigns the key the hook relays
    // (one without a name, nothing); each button's highlight shows, while its row is pointed at, in the view tab it
    // lies in (buttons 4 and 5: side).
    // Button 4 before, then after; button 3 after F5.
    void keyPanel_data() { languageRows({"Forward", "Volume Up", "Button AssignmentF5"}, {"前进", "音量+", "按键设置F5"}); }
    void keyPanel()
    {
        QFETCH(QStringList, texts);
        if (QByteArray(QTest::currentDataTag()) == "English")   // a fresh installation: no profile file yet
            QVERIFY(QFile::remove(rig->data.filePath("modules/setting/p1.bin")));
        QVERIFY(rig->start());
        QCOMPARE(rig->text("keyText3"), texts[0]);
        rig->click("keyRow3");
        QCOMPARE(rig->item("keyMenuMain")->position(), QPointF(249, 194));   // its sub-menus: panels/defaultPage
        const int before = rig->matrices().size();
        rig->hover("menuEntry6");
        rig->click("menuEntry23");   // Multimedia, "Volume Up"
        QCOMPARE(rig->text("keyText3"), texts[1]);
        // Left and right click go out as they were (the profile's rows as stored: bridge/bridgeview).
        const QByteArray sent = rig->matrices().last();
        QCOMPARE(sent.left(16).toHex(' '), QByteArray("00 f0 00 02 00 f1 00 02 00 f2 00 02 00 e9 00 04"));
        const auto entry = [&](int k) {
            return rig->fileValue("modules/setting/p1.bin", "keydefine_J2", QString::number(k));
        };
        // Button 1 is the only left button: choosing another function for it is refused and sends nothing.
        rig->click("keyRow0");
        rig->click("menuEntry1");
        QVERIFY(!rig->shown("keyMenuMain"));
        QCOMPARE(rig->matrices().size(), before + 1);
        QCOMPARE(entry(0), QString("2, 0, 240, 0"));
        for (const auto &[usage, name, line] : {std::tuple{0x80, "", "2, 0, 242, 0"}, {0x3E, "F5", "1, 0, 62, 0"}}) {
            const int matrices = rig->matrices().size();
            rig->click("keyRow2");
            rig->click("menuEntry10");   // "Assign Keyboard Key"
            QVERIFY(rig->shown("singleKeyMain") && rig->shown("mainMask") && !rig->shown("keyMenuMain"));
            QQuickItem *dialog = rig->item("singleKeyMain");
            QCOMPARE(dialog->position(), QPointF((1000 - dialog->width()) / 2, (640 - dialog->height()) / 2));
            key(true, usage);
            QCOMPARE(rig->text("singleKeyName"), QString(name));
            rig->click("singleKeyOk");
            QCOMPARE(rig->matrices().size(), matrices + (*name != 0));
            QCOMPARE(entry(2), QString(line));
        }
        QCOMPARE(rig->text("keyText2"), texts[2]);
        // Entry bytes 1, 0, usage, 0 reach the mouse reversed.
        QCOMPARE(rig->matrices().last().mid(8, 4).toHex(' '), QByteArray("00 3e 00 01"));
        for (const int tab : {1, 0}) {   // the side first: the page starts with the top view
            rig->click(QString("viewTab%1").arg(tab));
            QVERIFY(rig->item("mousePicture")->property("source").toString().contains(tab ? "mouseSide" : "mouseTop"));
            QCOMPARE(rig->item("mousePicture")->property("status").toInt(), 1);   // Ready at once: no empty frame
            QStringList lit;
            for (int key = 0; key < 6; ++key) {
                rig->hover(QString("keyRow%1").arg(key));
                for (int shown = 0; shown < 6; ++shown) {
                    if (rig->shown(QString("keyHighlight%1").arg(shown)))
                        lit << QString("%1:%2").arg(key).arg(shown);
                }
            }
            QCOMPARE(lit.join(' '), QString(tab ? "3:3 4:4" : "0:0 1:1 2:2 5:5"));
        }
    }

    // Their labels, and a change sends the matrix and lighting with every other entry as stored (of two left buttons
    // one may change). Of a name list far beyond the limit the editor takes the first 100 by stored position, and says
    // so once.
    void storedEntries_data()
    {
        languageRows({"Left Button", "Deactivated", "Macro: m1", "Fire Key", "Button AssignmentF1", "Volume Up"},
                     {"左键", "禁用", "宏：m1", "火力键", "按键设置F1", "音量+"});
    }
    void storedEntries()
    {
        QFETCH(QStringList, texts);
        // Entries another tool wrote; entry 6 belongs to no button of this model.
        {
            const auto profile = StoreFile::open(rig->data.filePath("modules/setting/p1.bin"));
            const QList<QVariantList> entries{{2, 0, 240, 0}, {0, 0, 0, 0}, {10, 0, 1, 2}, {12, 240, 0, 0}, {1, 0, 58, 0},
                                              {2, 0, 240, 0}, {9, 1, 5, 2}};
            for (int k = 0; k < entries.size(); ++k)
                profile->setValue(QString("keydefine_J2/%1").arg(k), entries[k]);
            profile->setValue("macro/2", "m1");
            profile->setValue("color_J2/ledEffect", QVariantList{3, 0, 1, 0, 0, 0});   // a black colour
        }
        QStringList names;
        for (int i = 0; i < 20000; ++i)
            names << QString("N%1").arg(i);
        QVERIFY(rig->data.writeFile("modules/setting/name.bin", "[macro]\nmacroName=" + names.join(", ").toLatin1() + "\n"));
        for (const auto &[name, index] : {std::pair{"N0", 2}, {"N1", 0}, {"N2", 1}})
            QVERIFY(rig->data.writeFile(QString("modules/macro/%1.bin").arg(name), "[config]\nindex=" + QByteArray::number(index) + "\n"));
        QTest::ignoreMessage(QtDebugMsg, "Macro list holds 20000 names; the editor takes the first 100 and ignores the rest");
        QVERIFY(rig->start());
        QVariant listed;   // as the editor's list shows them
        QVERIFY(QMetaObject::invokeMethod(editor(), "macroNames", Q_RETURN_ARG(QVariant, listed), Q_ARG(QVariant, -1)));
        const QStringList order = listed.value<QJSValue>().toVariant().toStringList();
        // No file reads as position 0; equal positions keep the list's order.
        QCOMPARE(order.mid(0, 3), (QStringList{"N1", "N3", "N4"}));
        QCOMPARE(order.mid(97), (QStringList{"N99", "N2", "N0"}));
        const int mark = rig->traceLength();
        rig->click("keyRow5");
        rig->hover("menuEntry6");
        rig->click("menuEntry23");   // Multimedia, "Volume Up"
        QStringList shown;
        for (int k = 0; k < 6; ++k)
            shown << rig->text(QString("keyText%1").arg(k));
        QCOMPARE(shown, texts);
        // Type 9 goes out one higher than the page holds it, as stored.
        QCOMPARE(rig->matrices().last().left(28).toHex(' '), QByteArray("00 f0 00 02 00 00 00 00 02 01 00 0a 00 00 f0 0c "
                 "00 3a 00 01 00 e9 00 04 02 05 01 09"));
        // The lighting follows; its stored black goes out as red with colour index 7.
        const QStringList sent = rig->reports(mark);
        QVERIFY2(sent.value(3).startsWith("data-out 00 FF 00 00 00 00 FF ") && sent.value(4) == "feature-out 00 06 03 07 32 08 01 00 00",
                 qPrintable(sent.join('\n')));
    }
};

QTEST_MAIN(tst_MacroEditor)
#include "tst_macroeditor.moc"
