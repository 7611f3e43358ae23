#include "gundata.h"
#include "inivalues.h"
#include "macrofiles.h"
#include "namelists.h"
#include "profilestore.h"
#include "storefile.h"
#include "tempdatafolder.h"
#include "tmpfsmount.h"

#include <QSettings>
#include <QTest>

using Operation = std::function<void()>;
Q_DECLARE_METATYPE(Operation)

static const char gunFile[] = "modules/gun/gunData.bin";

// The [gunData] section as a plain INI reader sees it: "name=value" lines, sorted.
static QStringList gunSection(const QByteArray &text)
{
    QStringList lines;
    bool inside = false;
    for (const QByteArray &raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith('['))
            inside = line == "[gunData]";
        else if (inside && line.contains('='))
            lines.append(line.section('=', 0, 0).trimmed() + '=' + line.section('=', 1).trimmed());
    }
    lines.sort();
    return lines;
}

static const QByteArray gunInstalled = "[gunData]\nGun0=L-Click, 10, 0, 0, 0\nAK=L-Click, 30, -2, 5, 12\n";

static QStringList settingsText(const QString &file)
{
    QFile in(file);
    in.open(QIODevice::ReadOnly);
    return QString::fromUtf8(in.readAll()).split('\n', Qt::SkipEmptyParts);
}

class tst_MacroStore : public QObject
{
    Q_OBJECT

private slots:
    // Each row stores a list and reads it back as a page of another copy would: a fresh file
    // object, the list form, the sentinel dropped.
    void nameLists_data()
    {
        QTest::addColumn<int>("type"); QTest::addColumn<QStringList>("stored"); QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("read");
        QTest::newRow("one macro") << 0 << QStringList{"Macro_0"} << "macroName=Macro_0, loaderzenith"
                                   << QStringList{"Macro_0"};
        QTest::newRow("two macros") << 0 << QStringList{"Macro_0", "x"} << "macroName=Macro_0, x"
                                    << QStringList{"Macro_0", "x"};
        QTest::newRow("sentinel as third") << 0 << QStringList{"a", "b", "loaderzenith"}
                                           << "macroName=a, b, loaderzenith"
                                           << QStringList{"a", "b", "loaderzenith"};
        QTest::newRow("one gun") << 1 << QStringList{"Gun0"} << "gunName=Gun0, loaderzenith" << QStringList{"Gun0"};
        QTest::newRow("profiles") << 2 << QStringList{"Standard0", "profile_10"}
                                  << "profileName=Standard0, profile_10" << QStringList{"Standard0", "profile_10"};
        QTest::newRow("reserved") << 3 << QStringList{"g"} << "selectGun=g, loaderzenith" << QStringList{"g"};
        QTest::newRow("empty removes") << 0 << QStringList{} << "" << QStringList{};
        QTest::newRow("type 7 writes nothing") << 7 << QStringList{"a", "b"} << "" << QStringList{};
    }
    void nameLists()
    {
        QFETCH(int, type); QFETCH(QStringList, stored); QFETCH(QString, line); QFETCH(QStringList, read);
        TempDataFolder data;
        QVERIFY(data.writeFile("modules/setting/name.bin", "[macro]\nmacroName=old, older\n"));
        NameLists::write(type, stored);
        const QStringList text = settingsText(NameLists::file());
        if (!line.isEmpty())
            QVERIFY2(text.contains(line), qPrintable(text.join('|')));
        QCOMPARE(text.contains("macroName=old, older"), type != 0);

        const auto other = StoreFile::open(data.filePath("modules/setting/name.bin"));
        const QString key = type == 7 ? "macro/macroName" : NameLists::key(type);
        const QStringList names = NameLists::withoutSentinel(IniValues::toList(other->value(key)));
        QCOMPARE(names, (type == 7 ? QStringList{"old", "older"} : read));
        QCOMPARE(NameLists::withoutSentinel(NameLists::read(type)), read);
    }

    void profileEntries()
    {
        const NameLists::ProfileEntry entry = NameLists::splitProfileEntry("profile_10");
        QCOMPARE(entry.name, QString("profile_1"));
        QCOMPARE(entry.number, 0);
        QCOMPARE(NameLists::splitProfileEntry(NameLists::profileEntry("Standard", 5)).number, 5);
        QCOMPARE(NameLists::splitProfileEntry("abc").number, -1);
        TempDataFolder data;
        // The installed list: one profile behind the sentinel.
        QVERIFY(data.copyFromSource("modules/setting/name.bin"));
        const QStringList installed = NameLists::withoutSentinel(NameLists::read(NameLists::Profiles));
        QCOMPARE(installed, QStringList{"Standard0"});
        QCOMPARE(NameLists::splitProfileEntry(installed.first()).name, QString("Standard"));
        QCOMPARE(NameLists::withoutSentinel(NameLists::read(NameLists::Macros)), QStringList{});
        // A bare single value (written by hand) reads as no list at all.
        QVERIFY(data.writeFile("modules/setting/name.bin", "[profile]\nprofileName=Standard0\n"));
        QCOMPARE(NameLists::read(2), QVariantList{});
    }

    // A name that may not become a file name touches nothing, whichever slot gets it.
    void unsafeNames_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"../x", "a/b", "..", "a\\b", "C:x", "x\x01y", " x", "x.", "", "loaderzenith"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void unsafeNames()
    {
        QFETCH(QString, name);
        TempDataFolder data;
        QVERIFY(data.writeFile("modules/macro/ok.bin", "[config]\ntotal=0\n"));
        QVERIFY(data.writeFile("modules/x.bin", "outside"));
        QVERIFY(data.writeFile("modules/macro/a/b.bin", "[config]\ntotal=0\n"));
        const auto before = TmpfsMount::filesBelow(data.filePath(""));
        ProfileStore profiles;

        QVERIFY(!MacroFiles::create(name, 0));
        QVERIFY(!MacroFiles::save(name, {"1,A"}, 1));
        MacroFiles::setIndex(name, 3);
        QVERIFY(!MacroFiles::rename(profiles, "ok", name));
        QVERIFY(!MacroFiles::rename(profiles, name, "y"));
        QVERIFY(!MacroFiles::remove(name));
        QCOMPARE(MacroFiles::load(name), QStringList{});
        QCOMPARE(MacroFiles::loadIndex(name), 0u);
        QCOMPARE(MacroFiles::loadType(name), 0);

        QCOMPARE(TmpfsMount::filesBelow(data.filePath("")), before);
    }

    void macroFiles()
    {
        TempDataFolder data;
        QDir().mkpath("modules/setting");
        QDir().mkpath("modules/macro");
        ProfileStore profiles;
        for (const char *name : {"M0", "M1", "M2"})
            QVERIFY(MacroFiles::create(name, uint(name[1] - '0')));   // the number of macros before it
        QCOMPARE(MacroFiles::loadIndex("M2"), 2u);
        QCOMPARE(MacroFiles::loadType("M2"), -1);
        QCOMPARE(MacroFiles::load("M1"), QStringList{"1"});

        QVERIFY(!MacroFiles::save("absent", {"1,A"}, 1));
        QVERIFY(!QFile::exists("modules/macro/absent.bin"));
        QVERIFY(MacroFiles::save("M1", {"1,A", "0,50", "2,A"}, 7));
        QCOMPARE(MacroFiles::load("M1"), (QStringList{"1,A", "0,50", "2,A", "7"}));
        QVERIFY(MacroFiles::save("M1", {"1,B"}, 3));
        QCOMPARE(MacroFiles::load("M1"), (QStringList{"1,B", "3"}));
        // Another reader sees the entry as one text, not a list.
        QCOMPARE(StoreFile::open("modules/macro/M1.bin")->value("macro/0"), QVariant("1,B"));
        MacroFiles::setIndex("M1", 5);
        QCOMPARE(MacroFiles::loadIndex("M1"), 5u);
        MacroFiles::setIndex("absent", 5);
        QVERIFY(!QFile::exists("modules/macro/absent.bin"));
        // Uses and renames in profiles 0..5; profile 6 is not looked at.
        for (int p : {0, 1, 5, 6})
            profiles.profileSettings(p)->setValue("macro/3", "M1");
        profiles.profileSettings(1)->setValue("macro/10", "M1");
        profiles.profileSettings(1)->setValue("macro/2", "M2");
        QCOMPARE(MacroFiles::uses(profiles, "M1"), (QStringList{"Name", "3", "10", "3", "3"}));
        QCOMPARE(MacroFiles::uses(profiles, "none"), QStringList{"Name"});

        QVERIFY(!MacroFiles::rename(profiles, "M1", "M2"));   // taken: neither the file nor a reference moves
        QCOMPARE(MacroFiles::uses(profiles, "M2"), (QStringList{"Name", "2"}));
        QCOMPARE(MacroFiles::uses(profiles, "M1"), (QStringList{"Name", "3", "10", "3", "3"}));
        QVERIFY(QFile::exists("modules/macro/M1.bin"));
        QVERIFY(MacroFiles::rename(profiles, "M1", "Fresh"));
        QVERIFY(!QFile::exists("modules/macro/M1.bin"));
        QCOMPARE(MacroFiles::load("Fresh"), (QStringList{"1,B", "3"}));
        QCOMPARE(profiles.profileSettings(6)->value("macro/3"), QVariant("M1"));
        QVERIFY(!MacroFiles::rename(profiles, "M1", "Other"));

        QVERIFY(MacroFiles::remove("Fresh"));
        QVERIFY(!MacroFiles::remove("Fresh"));
        QCOMPARE(MacroFiles::load("Fresh"), QStringList{});
    }

    // Macro 2 of 4 deleted while profile 1 is current.
    void renumbering()
    {
        TempDataFolder data;
        QDir().mkpath("modules/setting");
        ProfileStore profiles;
        profiles.curProfile = 1;
        const QVariantList before[7] = {{9, 0, 3, 0}, {9, 0, 2, 0}, {9, 0, 1, 7}, {1, 0, 2, 0},
                                        {9, 0, 2, 0}, {9, 0, 4, 0}, {9, 0, 2, 0}};
        for (int p : {0, 1, 4, 5})
            for (int k = 0; k < 7; ++k)
                profiles.profileSettings(p)->setValue(QString("keydefine_J2/%1").arg(k),
                                                      IniValues::forStorage(before[k]));
        profiles.profileSettings(0)->setValue("keydefine_J2/7", IniValues::forStorage(QVariantList{9, 0, 2, 0}));
        MacroFiles::renumberAfterDelete(profiles, 2);
        const QVariantList after[7] = {{9, 0, 2, 0}, {1, 0, 0xF1, 0}, {9, 0, 1, 7}, {1, 0, 2, 0},
                                       {1, 0, 0xF3, 0}, {9, 0, 3, 0}, {7, 0, 2, 0}};
        for (int p : {0, 1, 4, 5}) {
            profiles.profileSettings(p)->sync();
            const auto other = StoreFile::open(ProfileStore::profileFile(p));
            for (int k = 0; k < 7; ++k) {
                QVariantList got;
                for (const QVariant &v : IniValues::toList(other->value(QString("keydefine_J2/%1").arg(k))))
                    got.append(v.toInt());
                const bool changed = p == 0 || p == 4;
                QVERIFY2(got == (changed ? after[k] : before[k]), qPrintable(QString("p%1 k%2").arg(p).arg(k)));
            }
        }
        QCOMPARE(IniValues::toList(profiles.profileSettings(0)->value("keydefine_J2/7")).at(2).toInt(), 2);
    }

    // Each operation on the installed file, and the [gunData] lines it leaves.
    void gunOperations_data()
    {
        QTest::addColumn<Operation>("operation"); QTest::addColumn<QStringList>("section");
        const QStringList untouched = {"AK=L-Click, 30, -2, 5, 12", "Gun0=L-Click, 10, 0, 0, 0"};
        QTest::newRow("save new") << Operation([] { GunData::save({"Gun1", "L-Click", 20, -5, 3, 0}); })
                                  << QStringList{"AK=L-Click, 30, -2, 5, 12", "Gun0=L-Click, 10, 0, 0, 0",
                                                 "Gun1=L-Click, 20, -5, 3, 0"};
        QTest::newRow("save over") << Operation([] { GunData::save({"AK", "L-Click", "255", "127", "-127", "255"}); })
                                   << QStringList{"AK=L-Click, 255, 127, -127, 255", "Gun0=L-Click, 10, 0, 0, 0"};
        QTest::newRow("delete") << Operation([] { GunData::modify(0, {"AK"}); })
                                << QStringList{"Gun0=L-Click, 10, 0, 0, 0"};
        QTest::newRow("delete absent") << Operation([] { GunData::modify(0, {"M4"}); }) << untouched;
        QTest::newRow("rename") << Operation([] { GunData::modify(1, {"M4", "L-Click", 15, 1, -1, 3, "Gun0"}); })
                                << QStringList{"AK=L-Click, 30, -2, 5, 12", "M4=L-Click, 15, 1, -1, 3"};
        QTest::newRow("rename same") << Operation([] { GunData::modify(1, {"AK", "L-Click", 40, 0, 9, 0, "AK"}); })
                                     << QStringList{"AK=L-Click, 40, 0, 9, 0", "Gun0=L-Click, 10, 0, 0, 0"};
        QTest::newRow("rename short") << Operation([] { GunData::modify(1, {"M4", "L-Click", 15, 1, -1, 3}); })
                                      << untouched;
        QTest::newRow("type 2") << Operation([] { GunData::modify(2, {"AK", "L-Click", 1, 1, 1, 1, "AK"}); })
                                << untouched;
        QTest::newRow("type -1") << Operation([] { GunData::modify(-1, {"AK"}); }) << untouched;
        QTest::newRow("save short") << Operation([] { GunData::save({"Gun2", "L-Click", 10}); }) << untouched;
        for (const char *name : {"a/b", "../x", "a\\b", "", " lead", "x=y", "[gunData]", "tab\there"}) {
            QTest::addRow("save \"%s\"", name)
                    << Operation([name] { GunData::save({name, "L-Click", 10, 0, 0, 0}); }) << untouched;
            QTest::addRow("rename to \"%s\"", name)
                    << Operation([name] { GunData::modify(1, {name, "L-Click", 10, 0, 0, 0, "AK"}); }) << untouched;
            QTest::addRow("delete \"%s\"", name) << Operation([name] { GunData::modify(0, {name}); }) << untouched;
        }
    }
    void gunOperations()
    {
        QFETCH(Operation, operation); QFETCH(QStringList, section);
        TempDataFolder data;
        QVERIFY(data.writeFile(gunFile, gunInstalled));
        operation();
        QCOMPARE(gunSection(data.readFile(gunFile)), section);
    }

    void gunReads()
    {
        TempDataFolder data;
        QVERIFY(data.writeFile(gunFile, gunInstalled + "Bare=L-Click\n"));
        QCOMPARE(GunData::get("AK"), (QVariantList{"L-Click", "30", "-2", "5", "12"}));
        QCOMPARE(GunData::get("M4"), QVariantList());
        QCOMPARE(GunData::get("Bare"), QVariantList());   // a single value is no list
        QCOMPARE(GunData::get("../AK"), QVariantList());
        GunData::save({"步枪", "L-Click", 10, 0, 0, 0});
        QCOMPARE(GunData::get("步枪"), (QVariantList{"L-Click", "10", "0", "0", "0"}));
    }

    // The file is installation data: without it nothing is written and nothing read.
    void gunMissingFile()
    {
        TempDataFolder data;
        GunData::save({"Gun0", "L-Click", 10, 0, 0, 0});
        GunData::modify(1, {"Gun1", "L-Click", 10, 0, 0, 0, "Gun0"});
        GunData::modify(0, {"Gun0"});
        QCOMPARE(GunData::get("Gun0"), QVariantList());
        QVERIFY(!QFile::exists(data.filePath(gunFile)));
        QVERIFY(!QDir(data.filePath("modules/gun")).exists());
    }
};

QTEST_MAIN(tst_MacroStore)
#include "tst_macrostore.moc"
