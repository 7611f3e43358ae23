#include "gundata.h"
#include "macrofiles.h"
#include "namelists.h"
#include "profileexchange.h"
#include "profilestore.h"
#include "storefile.h"
#include "tempdatafolder.h"
#include "tmpfsmount.h"

#include <QRegularExpression>
#include <QTest>

// A data folder with the installed files, a profile 0 using macro "Alpha" on button 3.
static void install(TempDataFolder &data)
{
    QVERIFY(data.copyFromSource("modules/setting/apConfig.bin") && data.copyFromSource("modules/setting/pD.bin"));
    QVERIFY(data.writeFile("modules/setting/p1.bin",
                           "[keydefine_J2]\n3=10, 0, 1, 3\n[macro]\n3=Alpha\n[sensor]\nreportRate_J2=4\n"));
}

// These macros stored in this order, each pressing A once, and their name list.
static bool storeMacros(const QStringList &names)
{
    for (int i = 0; i < names.size(); ++i)
        if (!MacroFiles::create(names[i], uint(i)) || !MacroFiles::save(names[i], {"1,A"}, 1))
            return false;
    return NameLists::write(NameLists::Macros, names);
}

// The macro files, name lists and recoil data as the store keeps them, and the profile exchange that carries them.
class tst_ProfileExchange : public QObject
{
    Q_OBJECT

private slots:
    // Written by hand (CRLF lines): names present are overwritten, the later of two winning; the list stops at 100.
    void handWrittenMerge()
    {
        TempDataFolder data;
        install(data);
        ProfileStore store;
        QStringList held;
        for (int i = 0; i < 97; ++i)
            held << "held" + QString::number(i);
        QVERIFY(storeMacros(held));
        QVERIFY(data.writeFile("hand.pf", "[sensor]\r\nreportRate_J2=8\r\n\r\n[profile]\r\nname=new0, held5, new1, held5, new2, "
                               "new3, new4\r\n0=1\r\n1=\"1,A\", \"0,20\", \"2,A\", 5\r\n2=9\r\n3=\"3,MS-R\", 4\r\n4=5\r\n5=6\r\n6=7\r\n"));
        QVERIFY(ProfileExchange::importProfile(store, 0, data.filePath("hand.pf")));
        QTest::ignoreMessage(QtDebugMsg, "Profile import skips 2 new macros: the macro list is full at 100");
        QVERIFY(ProfileExchange::importMacros(store.profileSettings(0)));
        QCOMPARE(NameLists::withoutSentinel(NameLists::read(NameLists::Macros)),
                 held + QStringList({"new0", "new1", "new2"}));
        QCOMPARE((QList<QStringList>{MacroFiles::load("held5"), MacroFiles::load("held6"), MacroFiles::load("new1")}),
                 (QList<QStringList>{{"3,MS-R", "4"}, {"1,A", "1"}, {"9"}}));
        QVERIFY(!QFile::exists(MacroFiles::fileFor("new3")) && !QFile::exists(MacroFiles::fileFor("new4")));
        QCOMPARE(store.value("sensor/reportRate_J2").toInt(), 8);
    }

    // Files that cannot be read, tried in turn, leave the profile and the name list byte for byte as they were.
    void unreadable()
    {
        TempDataFolder data;
        install(data);
        ProfileStore store;
        QVERIFY(storeMacros({"Keep"}));
        const std::pair<QByteArray, QStringList> cases[] = {   // no contents: no file at all
            {QByteArray(), {"Profile import cannot read .*bad.pf"}},
            {QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR=", 18), {"Profile import refuses .* not a profile text file"}},
            {"just some words\nand more\n",
             {"skips line 1 just some words - no value", "skips line 2 and more - no value",
              "Profile import finds no profile settings in .*"}},
            {"[profile]\nnames=\xe9\n[General]\nreportRate_J2=4\n[sensor]\n03=1\n",
             {"Profile import skips 3 unknown keys, the first \"profile/names\"",
              "Profile import finds no profile settings in .*"}},
            {QByteArray(ProfileExchange::maxFileSize + 1, 'a'), {"Profile import refuses .* it has 8388609 bytes"}}};
        for (const auto &[contents, messages] : cases) {
            QVERIFY(contents.isEmpty() || data.writeFile("bad.pf", contents));
            const auto before = TmpfsMount::filesBelow(data.filePath(""));
            for (const QString &message : messages)
                QTest::ignoreMessage(QtDebugMsg, QRegularExpression(message));
            QVERIFY(!ProfileExchange::importProfile(store, 0, data.filePath("bad.pf")));
            QVERIFY(ProfileExchange::importMacros(store.profileSettings(0)));
            QCOMPARE(TmpfsMount::filesBelow(data.filePath("")), before);
            QCOMPARE(store.value("macro/3").toString(), QStringLiteral("Alpha"));
        }
    }

    // A hostile file: what is safe comes in, the rest is named once each, nothing lands outside the data folder; typed
    // values quoted or in a list (Qt's own reader would decode them) stay out of the profile the next start reads.
    void hostile()
    {
        TempDataFolder data;
        install(data);
        ProfileStore store;
        QVERIFY(storeMacros({"Old"}));
        QByteArray pf = "[sensor]\nreportRate_J2=2\n[keydefine_J2\n0=9, 9, 9, 9\n[color_J2]\nledEffect=@Variant(\\0\\0\\0\\x7f)\n"
                        "type0=1, @Variant(\\0\\0\\0\\x7f)\ntype1=\"@Variant(\\0\\0\\0\\x7f)\"\n"
                        "[profile]\nname=../x, /tmp/y, a\\\\b, ctl\\x1, \"\", C:evil, ok1, big, brk, ok2, Old";
        const int bad = 11;   // entries before m0
        for (int i = 0; i < 10000; ++i)
            pf += ", m" + QByteArray::number(i);
        pf += "\n6=\"1,B\", 2\n";
        pf += "7=\"1,A\", " + QByteArray(1024 * 1024, '1') + "\n";
        pf += "8=\"1,A\", \"2,A, 1\n";
        pf += "9=\"0,20\", 65535\n10=\"1,C\", 3\n";
        for (int i = 0; i < 10000; ++i)
            pf += QByteArray::number(bad + i) + "=" + QByteArray::number(i % 100) + "\n";
        QVERIFY(data.writeFile("outside/hostile.pf", pf));
        const auto before = TmpfsMount::filesBelow(data.filePath(""));
        for (const char *line : {"3 \\[keydefine_J2 - broken section line", "4 0=9, 9, 9, 9 - key under a broken",
                 "6 ledEffect=@Variant.* - typed value", "12 7=.* - value of 1048585 bytes",
                 "13 8=.* - broken quoting"})
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QString("Profile import skips line ") + line));
        QTest::ignoreMessage(QtDebugMsg, "Profile import skips 2 typed values, the first under color_J2/type0");
        QVERIFY(ProfileExchange::importProfile(store, 1, data.filePath("outside/hostile.pf")));
        QTest::ignoreMessage(QtDebugMsg, "Profile import takes the first 100 of 10011 macros");
        for (const char *name : {"\"../x\"", "\"/tmp/y\"", "\"a\\\\b\"", "\"ctl\\u0001\"", "\"\"", "\"C:evil\""})
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QString("Profile import skips macro \\d ")
                                                                + QRegularExpression::escape(name) + " - not a safe file name"));
        QTest::ignoreMessage(QtDebugMsg, "Profile import skips macro 7 \"big\" - no events stored");
        QTest::ignoreMessage(QtDebugMsg, "Profile import skips macro 8 \"brk\" - no events stored");
        QVERIFY(ProfileExchange::importMacros(store.profileSettings(1)));
        QStringList expectedNames{"Old", "ok1", "ok2"};
        for (int i = 0; i < 100 - bad; ++i)
            expectedNames << "m" + QString::number(i);
        QCOMPARE(NameLists::withoutSentinel(NameLists::read(NameLists::Macros)), expectedNames);
        QCOMPARE((QList<QStringList>{MacroFiles::load("ok1"), MacroFiles::load("Old"), MacroFiles::load("m88")}),
                 (QList<QStringList>{{"1,B", "2"}, {"1,C", "3"}, {"88"}}));
        // Only the profile, the name list and the new macro files changed, all below modules/.
        auto changed = TmpfsMount::filesBelow(data.filePath(""));
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            if (changed.value(it.key()) == it.value())
                changed.remove(it.key());
        QStringList expectedFiles{"modules/macro/Old.bin", "modules/setting/name.bin", "modules/setting/p2.bin"};
        for (const QString &name : expectedNames.mid(1))
            expectedFiles << "modules/macro/" + name + ".bin";
        expectedFiles.sort();
        QCOMPARE(changed.keys(), expectedFiles);
        ProfileStore next;
        next.setCurrentProfile(1);
        QCOMPARE(next.value("sensor/reportRate_J2").toInt(), 2);
        for (const char *key : {"keydefine_J2/0", "color_J2/ledEffect", "color_J2/type0", "color_J2/type1", "profile/7",
                                "profile/8"})
            QVERIFY2(!next.value(key).isValid(), key);
    }

    // Macro lists stored in turn, each as its line in the file, read back without the sentinel only where it is one
    // (a single macro, gun or profile list as the pages store it: qml/macroeditor, qml/panels, bridge/profilepage;
    // the other lists in the file kept: app/cli).
    void nameLists()
    {
        TempDataFolder data;
        for (const QStringList &stored : {QStringList{"Macro_0", "x"}, QStringList{"a", "b", "loaderzenith"}}) {
            NameLists::write(NameLists::Macros, stored);
            const QStringList text = QString(data.readFile(NameLists::file())).split('\n', Qt::SkipEmptyParts);
            QVERIFY2(text.contains("macroName=" + stored.join(", ")), qPrintable(text.join('|')));
            QCOMPARE(NameLists::withoutSentinel(NameLists::read(NameLists::Macros)), stored);
        }
        // An entry without a number claims no profile (entries split and made, the installed one too: app/cli).
        QCOMPARE(NameLists::splitProfileEntry("abc").number, -1);
    }

    // A rename moves the references of profiles 0..5 along, not those of profile 6; a missing macro gets no file
    // (its saving, numbering, renaming and deletion, unsafe names refused, on the page: qml/macroeditor); a deletion
    // renumbers the key entries of profiles 0..4 but the current one.
    void renameAndRenumbering()
    {
        TempDataFolder data;
        ProfileStore profiles;
        QVERIFY(MacroFiles::create("M1", 0));
        QVERIFY(!MacroFiles::save("absent", {"1,A"}, 1));
        MacroFiles::setIndex("absent", 5);
        QVERIFY(!QFile::exists("modules/macro/absent.bin"));
        for (int p : {0, 1, 5, 6})
            profiles.profileSettings(p)->setValue("macro/3", "M1");
        profiles.profileSettings(1)->setValue("macro/10", "M1");
        QVERIFY(MacroFiles::rename(profiles, "M1", "Fresh"));
        QCOMPARE(MacroFiles::uses(profiles, "Fresh"), (QStringList{"Name", "3", "10", "3", "3"}));
        QCOMPARE(profiles.profileSettings(6)->value("macro/3"), QVariant("M1"));
        QVERIFY(!MacroFiles::rename(profiles, "M1", "Other"));
        // Macro 2 of 4 deleted while profile 1 is current.
        profiles.curProfile = 1;
        const QStringList before{"9, 0, 3, 0", "9, 0, 2, 0", "9, 0, 1, 7", "1, 0, 2, 0", "9, 0, 2, 0", "9, 0, 4, 0",
                                 "9, 0, 2, 0"};
        for (int p : {0, 1, 4, 5})
            for (int k = 0; k < 7; ++k)
                profiles.profileSettings(p)->setValue(QString("keydefine_J2/%1").arg(k), before[k].split(", "));
        profiles.profileSettings(0)->setValue("keydefine_J2/7", QStringList{"9", "0", "2", "0"});
        MacroFiles::renumberAfterDelete(profiles, 2);
        const QStringList after{"9, 0, 2, 0", "1, 0, 241, 0", "9, 0, 1, 7", "1, 0, 2, 0", "1, 0, 243, 0", "9, 0, 3, 0",
                                "7, 0, 2, 0"};
        for (int p : {0, 1, 4, 5}) {   // as another copy of this tool reads them
            profiles.profileSettings(p)->sync();
            const auto other = StoreFile::open(ProfileStore::profileFile(p));
            QStringList keys;
            for (int k = 0; k < 7; ++k)
                keys << other->value(QString("keydefine_J2/%1").arg(k)).toStringList().join(", ");
            QCOMPARE(keys, p == 0 || p == 4 ? after : before);
        }
        QCOMPARE(profiles.profileSettings(0)->value("keydefine_J2/7"), QVariant(QStringList{"9", "0", "2", "0"}));
    }

    // Without the file, which is installation data, nothing is written and nothing read; unsafe names and an absent
    // entry leave the installed file as it was (saving, renaming and deleting on the recoil page: qml/panels); reads.
    void gunData()
    {
        TempDataFolder data;
        const QByteArray gunInstalled = "[gunData]\nGun0=L-Click, 10, 0, 0, 0\nAK=L-Click, 30, -2, 5, 12\n";
        GunData::save({"Gun0", "L-Click", 10, 0, 0, 0});
        GunData::modify(1, {"Gun1", "L-Click", 10, 0, 0, 0, "Gun0"});
        QCOMPARE(GunData::get("Gun0"), QVariantList());
        QVERIFY(!QDir(data.filePath("modules/gun")).exists());
        QVERIFY(data.writeFile("modules/gun/gunData.bin", gunInstalled));
        GunData::modify(0, {"M4"});
        GunData::modify(1, {"a/b", "L-Click", 1, 0, 0, 0, "AK"});
        for (const char *name : {"a/b", "../x", "a\\b", "", " lead", "x=y", "[gunData]", "tab\there"})
            GunData::save({name, "L-Click", 10, 0, 0, 0});
        QCOMPARE(data.readFile("modules/gun/gunData.bin"), gunInstalled);
        GunData::save({"步枪", "L-Click", 10, 0, 0, 0});
        QCOMPARE((QList<QVariantList>{GunData::get("AK"), GunData::get("M4"), GunData::get("../AK"),
                                      GunData::get("步枪")}),
                 (QList<QVariantList>{{"L-Click", "30", "-2", "5", "12"}, {}, {}, {"L-Click", "10", "0", "0", "0"}}));
    }
};

QTEST_GUILESS_MAIN(tst_ProfileExchange)
#include "tst_profileexchange.moc"
