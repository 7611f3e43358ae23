#include "languagerows.h"
#include "myqquickview.h"
#include "pagerig.h"
#include "profilesender.h"
#include "storefile.h"

// The profile page of the real page; profiles 1..6 hold their number as report rate.
struct Page : PageRig
{
    explicit Page(const QByteArray &nameList, const QString &language = "English", int model = 1,
                  const QByteArray &two = {})
        : PageRig(model, language)
    {
        QVERIFY(data.writeFile("modules/setting/name.bin", "[profile]\nprofileName=" + nameList + "\n"));
        for (int p = 1; p <= 6; ++p)
            QVERIFY(data.writeFile(QString("modules/setting/p%1.bin").arg(p),
                                   "[sensor]\nreportRate_J2=" + QByteArray::number(p) + "\n"));
        if (!two.isEmpty())
            QVERIFY(data.writeFile("modules/setting/p2.bin", two));
        QVERIFY(start());
        panel = item("profileMain");
    }

    void pick(int row, Qt::MouseButton button = Qt::LeftButton) { click("profileRow" + QString::number(row), button); }
    void menu(int command)
    {
        click("profileRow" + QString::number(panel->property("currentIndex").toInt()), Qt::RightButton);
        click("profileMenuRow" + QString::number(command));
    }
    void open()
    {
        if (!panel->isVisible())
            click("profileBtn");
    }
    QString names() const { return fileValue("modules/setting/name.bin", "profile", "profileName"); }
    QString namesAndCurrent() const { return names() + " @" + QString::number(view->store.curProfile); }
    QByteArray profileFile(int n) const { return data.readFile(QString("modules/setting/p%1.bin").arg(n)); }

    QQuickItem *panel = nullptr;
};

class tst_ProfilePage : public QObject
{
    Q_OBJECT

private slots:
    // New, Copy, rename and Delete by clicks: the name list and the profile files afterwards.
    void commands()
    {
        Page page("Standard0, loaderzenith");
        page.open();
        page.click("profileNew");
        QCOMPARE(page.namesAndCurrent(), QString("Standard0, profile_01 @1"));
        QCOMPARE(page.profileFile(2), page.data.readFile("modules/setting/pD.bin"));
        page.pick(0);
        page.menu(2);   // Copy
        QCOMPARE(page.namesAndCurrent(), QString("Standard0, profile_01, Standard(0)2 @2"));
        QCOMPARE(page.profileFile(3), page.profileFile(1));
        page.pick(0);
        page.menu(2);
        QCOMPARE(page.names(), QString("Standard0, profile_01, Standard(0)2, Standard(1)3"));
        // Double-click: a name in use is ignored, a free one taken on Enter.
        QTest::mouseDClick(page.view.get(), Qt::LeftButton, {}, page.centre("profileRow2"));
        QTest::mouseRelease(page.view.get(), Qt::LeftButton, {}, page.centre("profileRow2"));
        QTRY_VERIFY(page.panel->property("editIndex").toInt() == 2);
        QTest::keySequence(page.view.get(), QKeySequence::SelectAll);
        QTest::keyClicks(page.view.get(), "profile_0");
        QTest::keyClick(page.view.get(), Qt::Key_Return);
        QCOMPARE(page.names(), QString("Standard0, profile_01, Standard(0)2, Standard(1)3"));
        page.menu(1);   // Edit
        QTRY_VERIFY(page.panel->property("editIndex").toInt() == 2);
        QTest::keySequence(page.view.get(), QKeySequence::SelectAll);
        QTest::keyClicks(page.view.get(), "Work");
        page.pick(0);   // leaving the field keeps the name too
        QCOMPARE(page.names(), QString("Standard0, profile_01, Work2, Standard(1)3"));
        // A name still being typed when the panel's one close mark is clicked is kept; the panel opens as a list again.
        int marks = 0;
        for (QQuickItem *it : page.panel->findChildren<QQuickItem *>())
            marks += it->isVisible() && QStringList{"×", "X", "x"}.contains(it->property("text").toString());
        QCOMPARE(marks, 1);
        page.pick(2);
        page.menu(1);
        QTRY_VERIFY(page.panel->property("editIndex").toInt() == 2);
        QTest::keySequence(page.view.get(), QKeySequence::SelectAll);
        QTest::keyClicks(page.view.get(), "Home");
        page.click("profileClose");
        QVERIFY(!page.panel->isVisible());
        QCOMPARE(page.names(), QString("Standard0, profile_01, Home2, Standard(1)3"));
        QTRY_VERIFY_WITH_TIMEOUT(page.view->isEnabled(), 5000);   // the lock after a profile switch
        page.open();
        QCOMPARE(page.panel->property("editIndex").toInt(), -1);
        QVERIFY(!page.shown("profileEditor"));
        // Delete keeps the profile files; the button keeps the last entry, the menu does not.
        const QByteArray p3 = page.profileFile(3);
        page.pick(2);
        page.click("profileDelete");
        QCOMPARE(page.namesAndCurrent(), QString("Standard0, profile_01, Standard(1)3 @3"));
        QCOMPARE(page.profileFile(3), p3);
        page.click("profileDelete");
        page.click("profileDelete");
        QCOMPARE(page.names(), QString("Standard0, loaderzenith"));
        page.click("profileDelete");
        QCOMPARE(page.names(), QString("Standard0, loaderzenith"));
        page.menu(0);
        QVERIFY(!page.data.readFile("modules/setting/name.bin").contains("profileName"));
    }

    // Each flow that sends a whole profile, one after the other: its requests by command code in order, and the very
    // reports the command line's sender makes for the same flow and profile.
    void flows_data()
    {
        QTest::addColumn<int>("model"); QTest::addColumn<QStringList>("commands");
        // Switch to Two: keys, axes, DPI (the current stage asked first), lighting refresh, stage colours, the effect
        // with its red palette, report rate, lift-off height, closing refresh. Load cancelled: Two's macro alone.
        // Reset: lighting second. Load: macro first, no lift-off. Model 0 has no lift-off.
        QTest::newRow("model 1") << 1 << QStringList{"03 0B 87 08 07 0C 06 0A 06 0C 06 01 04 0C 06", "05",
                                                     "03 06 0C 06 0B 87 08 07 0C 06 0A 01 04 0C 06",
                                                     "05 03 0B 87 08 07 0C 06 0A 06 0C 06 01"};
        QTest::newRow("model 0") << 0 << QStringList{"03 0B 87 08 07 0C 06 0A 06 0C 06 01 0C 06", "05",
                                                     "03 06 0C 06 0B 87 08 07 0C 06 0A 01 0C 06",
                                                     "05 03 0B 87 08 07 0C 06 0A 06 0C 06 01"};
    }
    void flows()
    {
        QFETCH(int, model); QFETCH(QStringList, commands);
        // Two differs from the factory profile in keys (button 3 plays M1), axes, DPI, lighting and lift-off.
        const QByteArray two = "[keydefine_J2]\n0=1, 0, 4, 0\n3=10, 0, 1, 0\n[macro]\n0=M1\n[XYSensitive]\n0=2\n1=7\n"
                               "[sensor]\njmgd=3\ndpi_Select=1, 1, 0, 1, 1, 0, 0, 0\n"
                               "[color_J2]\nledEffect=3, 0, 2, 0, 128, 255\n";
        Page page("Standard0, Two1", "English", model, two);
        QVERIFY(page.data.writeFile("modules/macro/M1.bin", "[config]\nindex=0\ntotal=1\nrepeat=2\ndid=-1\n[macro]\n0=\"1,A\"\n"));
        QVERIFY(page.data.writeFile("in.pf", "[keydefine_J2]\n3=10, 0, 1, 3\n[macro]\n3=Hand\n[color_J2]\nledEffect=5, 0, 1, 0, 255, 0\n"
                                             "[profile]\nname=Hand\n0=\"1,A\", \"0,50\", 3\n"));
        using namespace ProfileSendPlan;
        for (const Flow flow : {Switch, Macros, Reset, Load}) {
            page.view->chooseProfileToLoad = [&page, flow](QWidget *) {
                return flow == Load ? page.data.filePath("in.pf") : QString();
            };
            QTRY_VERIFY_WITH_TIMEOUT(page.view->isEnabled(), 5000);   // the lock after a switch
            page.open();
            if (flow == Switch)
                page.pick(1);
            const int before = page.traceLength();
            if (flow == Switch || flow == Reset)
                page.click("profileClose");   // before the reset: nothing switched, nothing sent
            if (flow == Reset) {
                page.click("restBtn");
                page.click("resetOk");
            } else if (flow != Switch) {
                page.menu(3);
            }
            const QStringList sent = page.reports(before);
            const QRegularExpression block("^feature-out 00 (\\w\\w) .*");
            QCOMPARE(sent.filter(block).replaceInStrings(block, "\\1").join(' '), commands.takeFirst());
            ProfileSender::send(flow, page.view->store, *page.hid);
            QCOMPARE(page.reports(before).mid(sent.size()), sent);
        }
    }

    // Save and Load from the menu: the macros travel with the file and come back after a wipe. Switching and closing
    // locks the page 1200 ms and re-sends the new profile as the page's own re-init does.
    void switchSaveAndLoad()
    {
        Page page("Standard0, Two1");
        QVERIFY(page.data.writeFile("modules/macro/M1.bin", "[config]\nindex=0\ntotal=1\nrepeat=2\ndid=-1\n[macro]\n0=\"1,A\"\n"));
        QVERIFY(page.data.writeFile("modules/macro/M2.bin", "[config]\nindex=1\ntotal=0\nrepeat=1\ndid=-1\n"));
        StoreFile::open("modules/setting/name.bin")->setValue("macro/macroName", QStringList{"M1", "M2"});
        QMetaObject::invokeMethod(page.item("macroEditorMain"), "init");   // the editor's list is what Save exports
        const QString pf = page.data.filePath("out/exported.pf");
        QVERIFY(page.data.writeFile("out/exported.pf", "stale=1\n"));   // an earlier export is replaced
        page.view->chooseProfileToSave = [&](QWidget *) { return pf; };
        // The exported profile lights green Neon; the profile it is loaded into shows red until then.
        page.view->store.profileSettings(0)->setValue("color_J2/ledEffect", QVariantList{2, 0, 1, 0, 255, 0});
        page.open();
        page.menu(4);
        QVERIFY(page.data.readFile("out/exported.pf").contains("name=M1, M2") && !page.data.readFile("out/exported.pf").contains("stale"));
        QVERIFY(QFile::remove(page.data.filePath("modules/macro/M1.bin")));
        QVERIFY(QFile::remove(page.data.filePath("modules/macro/M2.bin")));
        StoreFile::open("modules/setting/name.bin")->remove("macro");
        const int before = page.traceLength();
        page.pick(1);
        // Loading without sending, but a report rate that differs is a change the mouse follows.
        const QStringList onSwitch = page.reports(before);
        QCOMPARE(onSwitch.size(), 4);
        QVERIFY2(onSwitch.first().startsWith("feature-out 00 01 02 "), qPrintable(onSwitch.join('\n')));
        QCOMPARE(StoreFile::open("modules/setting/apConfig.bin")->value("J2/profileNo").toInt(), 1);
        page.click("profileClose");
        QVERIFY(!page.panel->isVisible() && !page.item("mainMask")->isVisible());
        QVERIFY(!page.view->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(page.view->isEnabled(), 3000);
        page.open();
        page.view->chooseProfileToLoad = [&](QWidget *) { return pf; };
        page.menu(3);
        QCOMPARE(page.view->loadMacroIni("M1"), QStringList({"1,A", "2"}));
        QCOMPARE(page.view->loadMacroIni("M2"), QStringList({"1"}));
        QCOMPARE(page.view->loadMacroIndex("M2").toInt(), 1);   // the list's order, as the editor numbers them
        QCOMPARE(page.profileFile(2).contains("reportRate_J2=1"), true);   // profile 0's settings, now in profile 1
        // The panels re-sent after the load keep the loaded lighting, not the one shown before.
        QVERIFY2(page.profileFile(2).contains("ledEffect=2, 0, 1, 0, 255, 0"), page.profileFile(2).constData());
        // A cancelled dialog changes no profile.
        const QByteArray p2 = page.profileFile(2);
        page.view->chooseProfileToLoad = [](QWidget *) { return QString(); };
        page.menu(3);
        QCOMPARE(page.profileFile(2), p2);
    }

    // With six profiles New resets p7.bin and Copy overwrites it; the list stays at six.
    void sixProfiles_data()   // the menu, then the first entry: "Standard" in English only, shown but not stored
    {
        languageRows({"Delete", "Edit", "Copy", "Load", "Save", "Link to application…", "Standard"},
                     {"删除", "编辑", "复制", "载入", "保存", "关联应用程序…", "Alpha"});
    }
    void sixProfiles()
    {
        QFETCH(QString, language); QFETCH(QStringList, texts);
        Page page("Alpha0, profile_01, Work2, D3, E4, F5", language);
        page.open();
        QCOMPARE(page.panel->property("menuTexts").toStringList() << page.text("profileRowName0"), texts);
        page.click("profileNew");
        QCOMPARE(page.profileFile(7), page.data.readFile("modules/setting/pD.bin"));
        page.pick(3);
        page.menu(2);
        QCOMPARE(page.profileFile(7), page.profileFile(4));
        QCOMPARE(page.namesAndCurrent(), QString("Alpha0, profile_01, Work2, D3, E4, F5 @3"));
        page.pick(1, Qt::RightButton);
        const QImage shot = page.view->grabFramebuffer();
        const QPoint at = page.centre("profileMenuRow4");
        QVERIFY2(shot.pixelColor(at.x() - 40, at.y()).red() > 90, qPrintable(shot.pixelColor(at).name()));
    }
};

QTEST_MAIN(tst_ProfilePage)
#include "tst_profilepage.moc"
