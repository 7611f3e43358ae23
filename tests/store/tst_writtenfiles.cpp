#include "gundata.h"
#include "macrofiles.h"
#include "namelists.h"
#include "profileexchange.h"
#include "profilestore.h"
#include "storefile.h"
#include "tempdatafolder.h"
#include "tmpfsmount.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <unistd.h>

namespace {

// A data folder with the installed files, a profile 0 using macro "Alpha" on button 3, and these macros stored in
// this order, each pressing A once, with their name list.
void install(TempDataFolder &data, const QStringList &macros)
{
    QVERIFY(data.copyFromSource("modules/setting/apConfig.bin") && data.copyFromSource("modules/setting/pD.bin"));
    QVERIFY(data.writeFile("modules/setting/p1.bin",
                           "[keydefine_J2]\n3=10, 0, 1, 3\n[macro]\n3=Alpha\n[sensor]\nreportRate_J2=4\n"));
    for (int i = 0; i < macros.size(); ++i) {
        QVERIFY(MacroFiles::create(macros[i], uint(i)));
        QVERIFY(MacroFiles::save(macros[i], {"1,A"}, 1));
    }
    QVERIFY(NameLists::write(NameLists::Macros, macros));
}

// This program as a child (as another user where we are root, so that file permissions count): what it
// printed; its exit code, -1 unless it ended normally.
QString runSelf(const QStringList &arguments, bool asNobody, int *exitCode,
                const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.setProcessEnvironment(env);
    const QString self = QCoreApplication::applicationFilePath();
    if (asNobody && geteuid() == 0)
        child.start("setpriv", QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", self} + arguments);
    else
        child.start(self, arguments);
    const bool ended = child.waitForFinished(30000) && child.exitStatus() == QProcess::NormalExit;
    *exitCode = ended ? child.exitCode() : -1;
    return QString::fromLocal8Bit(child.readAll());
}

// More than the one page a full disk has left, less than QSaveFile's buffer: it fails at the final flush.
const QString blob(8000, QLatin1Char('b'));

// The child: one operation of the store in folder, then what it returned.
int storeOperation(const QString &operation, const QString &folder)
{
    QDir::setCurrent(folder);
    bool ok = false;
    {
        ProfileStore profiles;
        if (operation == "permissions") {   // a profile value, a profile copy and the name list
            profiles.setValue(QStringLiteral("soak/gen"), 999);
            profiles.copyProfile(1, 0);
            ok = NameLists::write(NameLists::Macros, {QStringLiteral("x"), QStringLiteral("y")});
        } else if (operation == "profile value") {
            profiles.setValue(QStringLiteral("soak/gen"), 8);
            ok = StoreFile::sync(*profiles.currentSettings());
        } else if (operation == "factory reset") {
            ok = profiles.resetProfile(0);
        } else if (operation == "import") {
            // Read, but not stored: the caller must not call the file unreadable.
            ProfileExchange::ImportFailure why = ProfileExchange::ImportFailure::None;
            ok = ProfileExchange::importProfile(profiles, 1, QStringLiteral("hand.pf"), &why)
                 || why != ProfileExchange::ImportFailure::NotStored;
        } else if (operation == "export") {
            ok = ProfileExchange::exportProfile(profiles.currentSettings(), QStringLiteral("keep.pf"), {"m"});
        }
    }
    if (operation == "macro save")
        ok = MacroFiles::save(QStringLiteral("m"), {QStringLiteral("1,A"), blob}, 3);
    else if (operation == "macro create")
        ok = MacroFiles::create(QStringLiteral("n"), 1);
    else if (operation == "name list")
        ok = NameLists::write(NameLists::Macros, {QStringLiteral("m"), blob});
    else if (operation == "recoil data")
        ok = GunData::save({QStringLiteral("Gun0"), blob, 10, 0, 0, 0});
    printf("%s: %s\n", qPrintable(operation), ok ? "written" : "failed");
    return 0;
}

} // namespace

// The macro files, name lists and recoil data as the store keeps them, the profile exchange that carries them, and
// what every writer does where it cannot write.
class tst_WrittenFiles : public QObject
{
    Q_OBJECT

private slots:
    // Written by hand (CRLF lines): names present are overwritten, the later of two winning; the list stops at 100.
    void handWrittenMerge()
    {
        TempDataFolder data;
        QStringList held;
        for (int i = 0; i < 97; ++i)
            held << "held" + QString::number(i);
        install(data, held);
        ProfileStore store;
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
        install(data, {"Keep"});
        ProfileStore store;
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

    // A hostile file: what is safe comes in, the rest is named once each (which files it may write: fuzz/pf); typed
    // values quoted or in a list (Qt's own reader would decode them) stay out of the profile the next start reads.
    void hostile()
    {
        TempDataFolder data;
        install(data, {"Old"});
        ProfileStore store;
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
        ProfileStore next;
        next.setCurrentProfile(1);
        QCOMPARE(next.value("sensor/reportRate_J2").toInt(), 2);
        for (const char *key : {"keydefine_J2/0", "color_J2/ledEffect", "color_J2/type0", "color_J2/type1", "profile/7",
                                "profile/8"})
            QVERIFY2(!next.value(key).isValid(), key);
    }

    // Macro lists stored in turn, each as its line in the file, read back without the sentinel only where it is one
    // (a single macro, gun or profile list as the pages store it: qml/macroeditor, qml/panels, bridge/bridgeview;
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

    // A place the store cannot write: the program says so, keeps running, and the good file there is unchanged.
    void unwritablePlaces()
    {
        for (const QString fault : {"read-only", "directory", "unreadable"}) {
            TempDataFolder data;
            const QByteArray good = "[soak]\ngen=7\nblob=keep\n";
            QVERIFY(data.writeFile("modules/setting/p1.bin", good));
            const auto mode = [&](const char *path, int bits) {
                QFile::setPermissions(data.filePath(path), QFileDevice::Permissions(bits));
            };
            for (const char *folder : {".", "modules", "modules/setting"})
                mode(folder, 0x7777);
            mode("modules/setting/p1.bin", fault == "read-only" ? 0x4444 : fault == "directory" ? 0x6666 : 0x2222);
            if (fault == "read-only")
                mode("modules/setting", 0x5555);
            for (const char *name : {"modules/setting/p2.bin", "modules/setting/name.bin"})
                QVERIFY(fault != "directory" || QDir().mkpath(data.filePath(name)));
            int exitCode = -1;
            const QString output = runSelf({"--store-operation", "permissions", data.filePath(".")}, true, &exitCode);
            const QString expected = fault == "directory" ? "Cannot write" : "Store file not readable or not written";
            QVERIFY2(exitCode == 0 && output.contains(expected), qPrintable(fault + ": " + output));
            mode("modules/setting", 0x7777);
            if (fault != "directory")
                QCOMPARE(data.readFile("modules/setting/p1.bin"), good);
        }
    }

    void fullDisk_data()
    {
        QTest::addColumn<bool>("tmpfs"); QTest::addColumn<QString>("operation"); QTest::addColumn<int>("freePages");
        QTest::addColumn<QString>("message");
        // "shim": the message where the failure is injected below QSaveFile, reaching the staged import copy too.
        const struct { const char *operation; int freePages; const char *message, *shim = nullptr; } cases[] = {
            {"profile value", 1, "Store file not readable or not written: %1/modules/setting/p1.bin (access)"},
            {"factory reset", 1, "Cannot write %1/modules/setting/p1.bin - No space left on device"},
            // The staged copy takes the last page; the profile itself then finds none.
            {"import", 1, "Cannot write %1/modules/setting/p2.bin - No space left on device",
             "Profile import cannot stage hand.pf"},
            {"export", 1, "Cannot write keep.pf - No space left on device"},
            {"macro save", 1, "Cannot write ./modules/macro/m.bin - No space left on device"},
            {"macro create", 0, "Cannot write ./modules/macro/n.bin - No space left on device"},
            {"name list", 1, "Cannot write ./modules/setting/name.bin - No space left on device"},
            {"recoil data", 1, "Cannot write ./modules/gun/gunData.bin - No space left on device"},
        };
        for (bool tmpfs : {true, false})
            for (const auto &c : cases)
                QTest::addRow("%s, %s", tmpfs ? "tmpfs" : "ENOSPC below QSaveFile", c.operation)
                        << tmpfs << c.operation << c.freePages << QString(!tmpfs && c.shim ? c.shim : c.message);
    }
    // A replacing write out of room says so and fails; the files keep their bytes and no temporary file is left.
    void fullDisk()
    {
        QFETCH(bool, tmpfs); QFETCH(QString, operation); QFETCH(int, freePages); QFETCH(QString, message);
        TempDataFolder data;
        const QString root = QFileInfo(data.filePath(".")).canonicalFilePath() + QStringLiteral("/disk");
        QVERIFY(QDir().mkpath(root));
        std::unique_ptr<TmpfsMount> disk;
        if (tmpfs) {
            disk.reset(new TmpfsMount(root));
            if (!disk->mounted())
                QSKIP(qPrintable("a tmpfs cannot be mounted here: " + disk->error()));
        }
        const auto write = [&](const QString &relative, const QByteArray &contents) { return data.writeFile("disk/" + relative, contents); };
        const QByteArray profile = "[soak]\ngen=7\nblob=" + QByteArray(6000, 'p') + "\n";
        QVERIFY(write("modules/setting/p1.bin", profile));
        // Every profile there: a missing one would be made from pD.bin as the store opens.
        for (int p = 2; p <= 10; ++p)
            QVERIFY(write(QStringLiteral("modules/setting/p%1.bin").arg(p), "[soak]\ngen=" + QByteArray::number(p) + "\n"));
        QVERIFY(write("modules/setting/pD.bin", "[soak]\ngen=0\nblob=" + QByteArray(6000, 'd') + "\n"));
        QVERIFY(write("modules/setting/name.bin", "[macro]\nmacroName=m, loaderzenith\n"));
        QVERIFY(write("modules/macro/m.bin", "[config]\ntotal=0\nrepeat=1\n"));
        QVERIFY(write("modules/gun/gunData.bin", "[gunData]\nGun0=L-Click, 10, 0, 0, 0\n"));
        QVERIFY(write("keep.pf", "[soak]\ngen=1\n"));
        QVERIFY(write("hand.pf", "[sensor]\nreportRate_J2=8\nblob=" + QByteArray(900, 'h') + "\n"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (tmpfs) {
            QVERIFY(disk->fillUpTo(freePages));
        } else {
            env.insert("LD_PRELOAD", QStringLiteral(G7_FULL_DISK_SHIM));
            env.insert("G7_FULL_DISK_DIR", root);
            // A preloaded library comes before the sanitizer's runtime.
            env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        }
        const QMap<QString, QByteArray> before = TmpfsMount::filesBelow(root);
        int exitCode = -1;
        const QString output = runSelf({"--store-operation", operation, root}, false, &exitCode, env);
        message.replace("%1", root);
        QVERIFY2(exitCode >= 0 && output.contains(operation + ": failed") && output.contains(message), qPrintable(output));
        QCOMPARE(TmpfsMount::filesBelow(root), before);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--store-operation") == 0)
        return storeOperation(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    tst_WrittenFiles test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_writtenfiles.moc"
