#include "myqquickview.h"
#include "pagerig.h"
#include "storefile.h"

#include <QtTest>

// The key panel, its function menu and the key dialog on the real page, read back from the trace
// and the profile; X11 input reaching the page is checked in app/x11_inputhook.
class tst_KeyPages : public QObject
{
    Q_OBJECT

    QScopedPointer<PageRig> rig;

private slots:
    void init()
    {
        // Rows tagged Chinese run in Chinese, every other case in English.
        const bool chinese = QByteArray(QTest::currentDataTag()).contains("Chinese");
        rig.reset(new PageRig(1, chinese ? "ChineseSimplified" : "English"));
        // A fresh installation: the installed data without any profile file.
        if (QByteArray(QTest::currentDataTag()).contains("fresh"))
            QVERIFY(QFile::remove(rig->data.filePath("modules/setting/p1.bin")));
        // Entries another tool wrote; entry 6 belongs to no button of this model.
        if (QByteArray(QTest::currentDataTag()).contains("stored entries")) {
            const auto profile = StoreFile::open(rig->data.filePath("modules/setting/p1.bin"));
            const QList<QVariantList> entries{{2, 0, 240, 0}, {0, 0, 0, 0}, {10, 0, 1, 2}, {12, 240, 0, 0}, {1, 0, 58, 0},
                                              {2, 0, 240, 0}, {9, 1, 5, 2}};
            for (int k = 0; k < entries.size(); ++k)
                profile->setValue(QString("keydefine_J2/%1").arg(k), entries[k]);
            profile->setValue("macro/2", "m1");
            profile->setValue("color_J2/ledEffect", QVariantList{3, 0, 1, 0, 0, 0});   // a black colour
        }
        QVERIFY(rig->start());
    }
    void cleanup() { rig.reset(); }

    void assignFromMenu_data()
    {
        QTest::addColumn<QStringList>("labels");   // button 4 before, then after
        QTest::newRow("English") << QStringList{"Forward", "Volume Up"};
        QTest::newRow("Chinese") << QStringList{"前进", "音量+"};
        QTest::newRow("English, fresh installation") << QStringList{"Forward", "Volume Up"};
    }
    void assignFromMenu()
    {
        QFETCH(QStringList, labels);
        QCOMPARE(rig->text("keyText3"), labels[0]);
        rig->click("keyRow3");
        QVERIFY(rig->shown("keyMenuMain"));
        QCOMPARE(rig->item("keyMenuMain")->position(), QPointF(249, 194));
        // Each parent entry opens its own sub-menu and closes the others; "Back" closes them all.
        const QStringList parents{"5", "6", "7", "8"};
        for (const QString &parent : parents) {
            rig->hover("menuEntry" + parent);
            for (const QString &other : parents)
                QCOMPARE(rig->shown("subMenu" + other), other == parent);
            rig->shot("keymenu-sub" + parent);
        }
        rig->hover("menuEntry4");
        QVERIFY(!rig->shown("subMenu8"));

        const int before = rig->matrices().size();
        rig->hover("menuEntry6");
        rig->click("menuEntry23");   // Multimedia, "Volume Up"
        QVERIFY(!rig->shown("keyMenuMain"));
        QCOMPARE(rig->text("keyText3"), labels[1]);
        QCOMPARE(rig->matrices().size(), before + 1);
        // Left and right click go out as they were; every row of the profile is four numbers.
        const QByteArray sent = rig->matrices().last();
        QCOMPARE(sent.left(16).toHex(' '), QByteArray("00 f0 00 02 00 f1 00 02 00 f2 00 02 00 e9 00 04"));
        QCOMPARE(rig->profileLine(3), QString("3=4, 0, 233, 0"));
        static const QRegularExpression numbers("^\\d+=\\d+, \\d+, \\d+, \\d+$");
        for (int k = 0; k < 16; ++k)
            QVERIFY2(numbers.match(rig->profileLine(k)).hasMatch(), qPrintable(rig->profileLine(k)));
        // Button 1 is the only left button: choosing another function for it is refused and sends nothing.
        rig->click("keyRow0");
        rig->click("menuEntry1");
        QVERIFY(!rig->shown("keyMenuMain"));
        QCOMPARE(rig->matrices().size(), before + 1);
        QCOMPARE(rig->profileLine(0), QString("0=2, 0, 240, 0"));
    }

    // Their labels, and the matrix and lighting a change sends with every other entry as stored; of two left
    // buttons one may change.
    void storedEntries_data()
    {
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("English, stored entries")
            << QStringList{"Left Button", "Deactivated", "Macro: m1", "Fire Key", "Button AssignmentF1", "Volume Up"};
        QTest::newRow("Chinese, stored entries") << QStringList{"左键", "禁用", "宏：m1", "火力键", "按键设置F1", "音量+"};
    }
    void storedEntries()
    {
        QFETCH(QStringList, labels);
        const int mark = rig->traceLength();
        rig->click("keyRow5");
        rig->hover("menuEntry6");
        rig->click("menuEntry23");   // Multimedia, "Volume Up"
        QStringList shown;
        for (int k = 0; k < 6; ++k)
            shown << rig->text(QString("keyText%1").arg(k));
        QCOMPARE(shown, labels);
        // Type 9 goes out one higher than the page holds it, as stored.
        QCOMPARE(rig->matrices().last().left(28).toHex(' '), QByteArray("00 f0 00 02 00 00 00 00 02 01 00 0a 00 00 f0 0c "
                 "00 3a 00 01 00 e9 00 04 02 05 01 09"));
        // The lighting follows; its stored black goes out as red with colour index 7.
        const QStringList sent = rig->reports(mark);
        QVERIFY2(sent.value(3).startsWith("data-out 00 FF 00 00 00 00 FF ") && sent.value(4) == "feature-out 00 06 03 07 32 08 01 00 00",
                 qPrintable(sent.join('\n')));
    }

    // The key dialog stands in the middle of the page and assigns the key the hook relays (X11 input: app/x11_inputhook);
    // a key without a name assigns nothing.
    void keyDialog_data()
    {
        QTest::addColumn<int>("usage"); QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("line");   // button 3's entry in p1.bin afterwards
        QTest::newRow("F5") << 0x3E << "F5" << "2=1, 0, 62, 0";
        QTest::newRow("a key without a name") << 0x80 << "" << "2=2, 0, 242, 0";
    }
    void keyDialog()
    {
        QFETCH(int, usage); QFETCH(QString, name); QFETCH(QString, line);
        const int before = rig->matrices().size();
        rig->click("keyRow2");
        rig->click("menuEntry10");   // "Assign Keyboard Key"
        QVERIFY(rig->shown("singleKeyMain") && rig->shown("mainMask") && !rig->shown("keyMenuMain"));
        QQuickItem *dialog = rig->item("singleKeyMain");
        QCOMPARE(dialog->position(), QPointF((1000 - dialog->width()) / 2, (640 - dialog->height()) / 2));
        QMetaObject::invokeMethod(rig->view->rootObject(), "detectKeyboard", Q_ARG(QVariant, true), Q_ARG(QVariant, usage));
        QCOMPARE(rig->text("singleKeyName"), name);
        rig->shot("keydialog");
        rig->click("singleKeyOk");
        QVERIFY(!rig->shown("singleKeyMain") && !rig->shown("mainMask"));
        QCOMPARE(rig->matrices().size(), before + !name.isEmpty());
        QCOMPARE(rig->profileLine(2), line);
        if (name.isEmpty())
            return;
        QCOMPARE(rig->text("keyText2"), "Button Assignment" + name);
        // Entry bytes 1, 0, usage, 0 reach the mouse reversed.
        QCOMPARE(rig->matrices().last().mid(8, 4).toHex(' '), QByteArray("00 3e 00 01"));
    }

    // The view tabs under the mouse picture: each button's highlight shows, while its row is pointed at,
    // in the view it lies in (buttons 4 and 5 on the side).
    void highlightsByView()
    {
        for (const int tab : {1, 0}) {   // the side first: the page starts with the top view
            rig->click(QString("viewTab%1").arg(tab));
            QVERIFY(rig->item("mousePicture")->property("source").toString().contains(tab ? "mouseSide" : "mouseTop"));
            QStringList lit;
            for (int key = 0; key < 6; ++key) {
                rig->hover(QString("keyRow%1").arg(key));
                for (int shown = 0; shown < 6; ++shown) {
                    if (rig->shown(QString("keyHighlight%1").arg(shown)))
                        lit << QString("%1:%2").arg(key).arg(shown);
                }
                if (key == 3)
                    rig->shot(QString("mouse-view%1").arg(tab));
            }
            QCOMPARE(lit.join(' '), QString(tab ? "3:3 4:4" : "0:0 1:1 2:2 5:5"));
        }
    }
};

QTEST_MAIN(tst_KeyPages)
#include "tst_keypages.moc"
