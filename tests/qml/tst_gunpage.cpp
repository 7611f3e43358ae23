#include "languagerows.h"
#include "myqquickview.h"
#include "pagerig.h"
#include "storefile.h"

#include <QClipboard>
#include <QtTest>

// The recoil editor on the real page, opened as the main page would, driven by clicks and typing; files read as text.
class tst_GunPage : public QObject
{
    Q_OBJECT

    QScopedPointer<PageRig> rig;

    QQuickItem *dialog() { return rig->item("gunControlMain"); }
    // An empty spot of the dialog, between the button rows.
    void clickEmpty() { rig->clickAt("gunControlMain", QPointF(250, 318)); }
    void typeInto(const QString &field, const QString &typed)
    {
        rig->click(field);
        QTest::keyClick(rig->view.get(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(rig->view.get(), Qt::Key_Delete);
        QTest::keyClicks(rig->view.get(), typed);
    }
    // The name comes from the clipboard: a control character cannot be typed.
    void rename(int index, const QString &name)
    {
        clickEmpty();
        QTest::mouseDClick(rig->view.get(), Qt::LeftButton, {}, rig->centre(QString("gunEntry%1").arg(index)));
        QCoreApplication::processEvents();
        QGuiApplication::clipboard()->setText(name);
        QTest::keyClick(rig->view.get(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(rig->view.get(), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(rig->view.get(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    int selected() { return dialog()->property("currentIndex").toInt(); }
    bool unlimited() { return dialog()->property("limitedRuns").toBool() == false; }
    // The five fields, then "unlimited" or "runs": whether the runs are counted.
    QStringList fields() { return {rig->text("gunKeyField"), rig->text("gunPeriodField"), rig->text("gunXField"),
        rig->text("gunYField"), rig->text("gunTimesField"), unlimited() ? "unlimited" : "runs"}; }
    void openDialog()
    {
        QMetaObject::invokeMethod(rig->view->rootObject(), "openDialog",
                                  Q_ARG(QVariant, QVariant::fromValue<QObject *>(dialog())), Q_ARG(QVariant, true));
    }

    QString gunLine(const QString &name) { return rig->fileValue("modules/gun/gunData.bin", "gunData", name); }
    QString nameLine() { return rig->fileValue("modules/setting/name.bin", "gun", "gunName"); }

    // names: the stored list as its line reads; entries: lines of [gunData].
    bool start(const QString &language, const QString &names, const QStringList &entries, const QString &selectGun = QString())
    {
        rig.reset(new PageRig(1, language));
        if (!selectGun.isEmpty())
            StoreFile::open(rig->data.filePath("modules/setting/p1.bin"))->setValue("selectGun/0", selectGun);
        if ((!names.isEmpty() && !rig->data.writeFile("modules/setting/name.bin", "[gun]\ngunName=" + names.toUtf8() + "\n"))
            || (!rig->data.writeFile("modules/gun/gunData.bin", "[gunData]\n" + entries.join('\n').toUtf8() + "\n"))
            || !rig->start() || rig->shown("gunBtn"))   // the main page keeps its own button hidden
            return false;
        openDialog();   // as that button would
        return rig->shown("gunControlMain") && rig->shown("mainMask");
    }

private slots:
    void cleanup() { rig.reset(); }

    void editAndStore_data() { languageRows({"Gun Manager"}, {"枪械管理器"}); }
    void editAndStore()
    {
        QFETCH(QString, language); QFETCH(QStringList, texts);
        QVERIFY(start(language, "Alpha, Beta", {"Alpha=L-Click, 20, 3, -4, 5", "Beta=L-Click, 30, 0, 0, 0"}, "Beta"));
        QCOMPARE(rig->text("gunTitle"), texts[0]);
        // The profile's entry is the one selected.
        QCOMPARE(fields(), QStringList({"L-Click", "30", "0", "0", "0", "unlimited"}));
        rig->click("gunEntry0");
        QCOMPARE(fields(), QStringList({"L-Click", "20", "3", "-4", "5", "runs"}));
        // New (Gun0): Y -10 on the page (newEntry reads its line in the file).
        rig->click("gunNew");
        QCOMPARE(fields(), QStringList({"L-Click", "10", "0", "-10", "0", "unlimited"}));
        // Rename stores the entry as the page holds it under the new name only.
        rename(2, "Gun7");
        QVERIFY(gunLine("Gun0").isNull());
        QCOMPARE(gunLine("Gun7"), QString("L-Click, 10, 0, -10, 0"));
        const QByteArray before = rig->data.readFile("modules/gun/gunData.bin");
        // A name in use, and one with a control character the file cannot keep as a key, change nothing.
        for (const QString &refused : {QString("Alpha"), QString("Gun") + QChar(0x90)}) {
            rename(2, refused);
            QCOMPARE(rig->text("gunEntryText2"), QString("Gun7"));
            QCOMPARE(rig->data.readFile("modules/gun/gunData.bin"), before);
            QCOMPARE(nameLine(), QString("Alpha, Beta, Gun7"));
        }
        rig->click("gunEntry1");
        rig->click("gunDelete");
        QCOMPARE(selected(), 1);
        QCOMPARE(rig->text("gunEntryText1"), QString("Gun7"));
        QVERIFY(gunLine("Beta").isNull());
        // Edits reach the file with OK.
        rig->click("gunEntry0");
        typeInto("gunPeriodField", "7");
        rig->click("gunUnlimitedOption");
        QCOMPARE(fields(), QStringList({"L-Click", "7", "3", "-4", "0", "unlimited"}));
        rig->click("gunOk");
        QVERIFY(!rig->shown("gunControlMain") && !rig->shown("mainMask"));
        QCOMPARE(gunLine("Alpha"), QString("L-Click, 7, 3, -4, 0"));
        QCOMPARE(gunLine("Gun7"), QString("L-Click, 10, 0, -10, 0"));
        QCOMPARE(nameLine(), QString("Alpha, Gun7"));
    }

    // One page for the whole table: each case starts again from the stored entry; then Cancel, then New.
    void fieldsAndCancel()
    {
        struct Case { const char *field, *typed; bool byEnter; const char *shown, *stored; };   // byEnter, else a click elsewhere
        const Case cases[] = {
            {"gunPeriodField", "", false, "10", "L-Click, 10, 3, -4, 5"},
            {"gunPeriodField", "300", true, "255", "L-Click, 255, 3, -4, 5"},
            {"gunPeriodField", "007", false, "7", "L-Click, 7, 3, -4, 5"},
            {"gunPeriodField", "1x-2", true, "12", "L-Click, 12, 3, -4, 5"},   // letters and minus refused
            {"gunXField", "-", false, "0", "L-Click, 20, 0, -4, 5"},
            {"gunXField", "-200", false, "-127", "L-Click, 20, -127, -4, 5"},
            {"gunXField", "128", true, "127", "L-Click, 20, 127, -4, 5"},
            {"gunYField", "-0", false, "0", "L-Click, 20, 3, 0, 5"},
            {"gunYField", "1-2", true, "12", "L-Click, 20, 3, 12, 5"},   // a minus only in front
            {"gunYField", "-35", false, "-35", "L-Click, 20, 3, -35, 5"},
            {"gunTimesField", "", false, "0", "L-Click, 20, 3, -4, 0"},   // and "Unlimited" chosen
            {"gunTimesField", "999", true, "255", "L-Click, 20, 3, -4, 255"},
        };
        // One entry: the stored list carries the filler the single-entry form needs.
        QVERIFY(start("English", "Alpha, loaderzenith", {}));
        const auto fresh = [this] {
            QVERIFY(rig->data.writeFile("modules/gun/gunData.bin", "[gunData]\nAlpha=L-Click, 20, 3, -4, 5\n"));
            QMetaObject::invokeMethod(dialog(), "init");
            openDialog();
        };
        for (const Case &c : cases) {
            const QString field = c.field;
            const QString what = QString("%1 typed \"%2\"").arg(field, c.typed);
            fresh();
            typeInto(field, c.typed);
            if (c.byEnter)
                QTest::keyClick(rig->view.get(), Qt::Key_Return);
            else
                clickEmpty();
            QVERIFY2(rig->text(field) == c.shown, qPrintable(what + " shows " + rig->text(field)));
            if (field == "gunTimesField")
                QVERIFY2(unlimited() == (QString(c.shown) == "0"), qPrintable(what));
            rig->click("gunOk");
            QVERIFY2(gunLine("Alpha") == c.stored, qPrintable(what + " stored " + gunLine("Alpha")));
            QCOMPARE(nameLine(), QString("Alpha, loaderzenith"));
        }
        // Cancel keeps the page's edits and stores none.
        fresh();
        typeInto("gunPeriodField", "42");
        // A press on the mask outside the dialog ends the edit as well.
        typeInto("gunYField", "55");
        QTest::mouseClick(rig->view.get(), Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(rig->text("gunYField"), QString("55"));
        // "Run Times" sets one run, also when it was chosen already; "Unlimited" sets none.
        QStringList runs;
        for (const char *option : {"gunRunTimesOption", "gunUnlimitedOption", "gunUnlimitedOption", "gunRunTimesOption"}) {
            rig->click(option);
            runs << rig->text("gunTimesField") + (unlimited() ? "u" : "");
        }
        QCOMPARE(runs, QStringList({"1", "0u", "0u", "1"}));
        rig->click("gunCancel");
        QVERIFY(!rig->shown("gunControlMain") && !rig->shown("mainMask"));
        QCOMPARE(gunLine("Alpha"), QString("L-Click, 20, 3, -4, 5"));
        openDialog();
        QCOMPARE(fields(), QStringList({"L-Click", "42", "3", "55", "1", "runs"}));
        // Dragged by its title bar far past the top left corner, it stops at the page's edge.
        const QPoint from = rig->centre("gunTitleBar");
        QTest::mousePress(rig->view.get(), Qt::LeftButton, {}, from);
        QTest::mouseMove(rig->view.get(), from - QPoint(100, 50));
        QCOMPARE(dialog()->position(), QPointF(140, 95));
        QTest::mouseMove(rig->view.get(), from - QPoint(600, 400));
        QTest::mouseRelease(rig->view.get(), Qt::LeftButton, {}, from - QPoint(600, 400));
        QCOMPARE(dialog()->position(), QPointF(0, 0));
        // New takes the first free number of the name list; with all hundred taken it does nothing.
        QStringList all;
        for (int n = 0; n < 100; ++n)
            all << QString("Gun%1").arg(n);
        const std::tuple<QStringList, bool, QString> newCases[] = {   // names, whether gunData.bin exists, created
            {{}, true, "Gun0"}, {{"Gun0", "Gun2"}, true, "Gun1"}, {{"Gun1x", "gun0", "Alpha"}, true, "Gun0"},
            {all, true, ""}, {{"Gun0", "Gun1"}, false, "Gun2"}};
        for (const auto &[names, dataFile, created] : newCases) {
            const QByteArray nameFile = "[gun]\ngunName=" + names.join(", ").toUtf8() + "\n";
            QVERIFY(names.isEmpty() ? QFile::remove(rig->data.filePath("modules/setting/name.bin"))
                                    : rig->data.writeFile("modules/setting/name.bin", nameFile));
            QVERIFY(dataFile ? rig->data.writeFile("modules/gun/gunData.bin", "[gunData]\n")
                             : QFile::remove(rig->data.filePath("modules/gun/gunData.bin")));
            QMetaObject::invokeMethod(dialog(), "init");
            openDialog();
            rig->click("gunNew");
            const QStringList listed = created.isEmpty() ? names : names + QStringList{created};
            QCOMPARE(rig->item("gunList")->property("count").toInt(), listed.size());
            QCOMPARE(nameLine(), listed.join(", ").append(names.isEmpty() ? ", loaderzenith" : ""));
            const QByteArray added = created.isEmpty() ? "" : created.toUtf8() + "=L-Click, 10, 0, 0, 0\n";
            QCOMPARE(rig->data.readFile("modules/gun/gunData.bin"), dataFile ? "[gunData]\n" + added : QByteArray());
            if (created.isEmpty())
                continue;
            QCOMPARE(selected(), names.size());
            QCOMPARE(rig->text(QString("gunEntryText%1").arg(names.size())), created);
            // Without data the entry still works on the page and neither New nor OK stores it.
            rig->click("gunOk");
            if (!dataFile)
                QVERIFY(!QFile::exists(rig->data.filePath("modules/gun/gunData.bin")));
        }
    }
};

QTEST_MAIN(tst_GunPage)
#include "tst_gunpage.moc"
