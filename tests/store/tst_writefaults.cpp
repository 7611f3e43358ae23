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
#include <QTest>

#include <unistd.h>

namespace {

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

class tst_WriteFaults : public QObject
{
    Q_OBJECT
private slots:
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
            // No temporary file left behind.
            for (const QString &name : QDir(data.filePath("modules/setting")).entryList(QDir::Files | QDir::Hidden))
                QVERIFY2(name.endsWith(".bin"), qPrintable(name));
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
    tst_WriteFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_writefaults.moc"
