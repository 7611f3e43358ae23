#include "macrofiles.h"
#include "namelists.h"
#include "profileexchange.h"
#include "profilestore.h"
#include "storefile.h"
#include "tempdatafolder.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Each generation writes a large value made of its own number, so a file cut
// anywhere reads as damaged: a missing key, or a blob that does not match.
QString blobFor(int generation)
{
    return QString::number(generation).repeated(4000);
}

// The child's work: every write path of the store, generation after
// generation, until it is killed.
int writeForever(const QString &folder)
{
    QDir::setCurrent(folder);
    ProfileStore profiles;
    // Each child goes on from what the one before left behind.
    for (int gen = profiles.value(QStringLiteral("soak/gen")).toInt() + 1;; ++gen) {
        const QString blob = blobFor(gen);
        profiles.setValue(QStringLiteral("soak/gen"), gen);
        profiles.setValue(QStringLiteral("soak/blob"), blob);
        StoreFile::sync(*profiles.currentSettings());
        profiles.copyProfile(1, 0);                                    // temporary file and rename
        MacroFiles::save(QStringLiteral("m"), {QStringLiteral("1,A"), blob}, gen);
        NameLists::write(NameLists::Macros, {QStringLiteral("m"), blob, QString::number(gen)});
    }
}

// The generation a whole file holds, or -1 when the file is damaged.
int generationOf(const QString &path, const QString &genKey, const QString &blobKey)
{
    const auto file = StoreFile::open(path);
    const QVariant gen = file->value(genKey);
    const QVariant blob = file->value(blobKey);
    if (!gen.isValid() || !blob.isValid())
        return -1;
    return blob.toString() == blobFor(gen.toInt()) ? gen.toInt() : -1;
}

// Runs the child as another user where we are root, so that file permissions count.
QProcess *startSelf(const QStringList &arguments)
{
    auto *child = new QProcess;
    child->setProcessChannelMode(QProcess::MergedChannels);
    if (geteuid() == 0) {
        child->setProgram(QStringLiteral("setpriv"));
        child->setArguments(QStringList{"--reuid=65534", "--regid=65534", "--clear-groups",
                                        QCoreApplication::applicationFilePath()} + arguments);
    } else {
        child->setProgram(QCoreApplication::applicationFilePath());
        child->setArguments(arguments);
    }
    child->start();
    return child;
}

// The child for the permission cases: touches every store file once, then reads them back.
int touchOnce(const QString &folder)
{
    QDir::setCurrent(folder);
    {
        ProfileStore profiles;
        profiles.setValue(QStringLiteral("soak/gen"), 999);
        profiles.copyProfile(1, 0);
    }
    MacroFiles::save(QStringLiteral("m"), {QStringLiteral("1,B")}, 2);
    NameLists::write(NameLists::Macros, {QStringLiteral("x"), QStringLiteral("y")});
    // Still a working program: what can be read is read.
    ProfileStore again;
    printf("read back: %s\n", qPrintable(again.value(QStringLiteral("soak/gen")).toString()));
    return 0;
}

// Bytes the "full disk" child may write into any one file.
constexpr rlim_t diskRoom = 64 * 1024;

// The child for the full disk: every store write of something larger than the
// room left, then a read of what is there.
int writeToFullDisk(const QString &folder)
{
    std::signal(SIGXFSZ, SIG_IGN);   // a write past the limit then fails with EFBIG instead of killing us
    const rlimit room{diskRoom, diskRoom};
    setrlimit(RLIMIT_FSIZE, &room);
    QDir::setCurrent(folder);
    const QString big(int(diskRoom), QLatin1Char('x'));
    {
        ProfileStore profiles;
        profiles.setValue(QStringLiteral("soak/blob"), big);
        StoreFile::sync(*profiles.currentSettings());
        profiles.replaceProfile(1, QStringLiteral("big.bin"));
        ProfileExchange::exportProfile(profiles.currentSettings(), QStringLiteral("out.pf"), {QStringLiteral("m")});
    }
    MacroFiles::save(QStringLiteral("m"), {QStringLiteral("1,A"), big}, 3);
    NameLists::write(NameLists::Macros, {QStringLiteral("m"), big});
    ProfileStore again;
    printf("read back: %s\n", qPrintable(again.value(QStringLiteral("soak/gen")).toString()));
    return 0;
}

} // namespace

class tst_WriteFaults : public QObject
{
    Q_OBJECT
private slots:
    void killDuringWrites();
    void unwritablePlaces_data();
    void unwritablePlaces();
    void fullDisk();
};

// A writer killed at random moments never leaves a damaged profile, macro or
// name list: every file holds one whole generation.
void tst_WriteFaults::killDuringWrites()
{
    TempDataFolder data;
    QVERIFY(data.writeFile("modules/macro/m.bin", "[config]\ntotal=0\n"));
    QDir().mkpath(data.filePath("modules/setting"));
    int lastSeen = 0;
    for (int round = 0; round < 12; ++round) {
        std::unique_ptr<QProcess> child(new QProcess);
        child->start(QCoreApplication::applicationFilePath(), {"--write-forever", data.filePath(".")});
        QVERIFY(child->waitForStarted());
        // The first writer must get its first generation out: under the sanitizers its start alone
        // can outlast the random wait, and a missing file is not a damaged one.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(data.filePath("modules/setting/p1.bin")), 20000);
        QTest::qWait(60 + QRandomGenerator::global()->bounded(120));
        ::kill(pid_t(child->processId()), SIGKILL);
        QVERIFY(child->waitForFinished());
        QCOMPARE(child->exitStatus(), QProcess::CrashExit);

        const int p1 = generationOf(data.filePath("modules/setting/p1.bin"), "soak/gen", "soak/blob");
        QVERIFY2(p1 > 0, qPrintable(QString("round %1: p1.bin damaged").arg(round)));
        const QString p2 = data.filePath("modules/setting/p2.bin");
        if (QFile::exists(p2))
            QVERIFY2(generationOf(p2, "soak/gen", "soak/blob") > 0, "p2.bin damaged");
        const auto macro = StoreFile::open(data.filePath("modules/macro/m.bin"));
        if (macro->contains("config/repeat")) {
            const int gen = macro->value("config/repeat").toInt();
            QCOMPARE(macro->value("macro/1").toString(), blobFor(gen));
        }
        const auto names = StoreFile::open(data.filePath("modules/setting/name.bin"));
        const QStringList list = names->value(NameLists::key(NameLists::Macros)).toStringList();
        if (!list.isEmpty()) {
            QCOMPARE(list.size(), 3);
            QCOMPARE(list.at(1), blobFor(list.at(2).toInt()));
        }
        lastSeen = p1;
    }
    qInfo("killed 12 writers, the last one in generation %d", lastSeen);
    QVERIFY(lastSeen > 12);   // the writers got through more than one generation each on average
}

void tst_WriteFaults::unwritablePlaces_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("read-only data folder") << "read-only";
    QTest::newRow("a directory where a file should be") << "directory";
    QTest::newRow("a file without read permission") << "unreadable";
}

// A place the store cannot write: the program says so, keeps running, and the
// good file that was there is unchanged.
void tst_WriteFaults::unwritablePlaces()
{
    QFETCH(QString, fault);
    TempDataFolder data;
    const QByteArray good = "[soak]\ngen=7\nblob=keep\n";
    QVERIFY(data.writeFile("modules/setting/p1.bin", good));
    QVERIFY(data.writeFile("modules/macro/m.bin", "[config]\ntotal=0\n"));
    const QString setting = data.filePath("modules/setting");
    QFile::setPermissions(data.filePath("."), QFileDevice::Permissions(0x7777));
    QFile::setPermissions(data.filePath("modules"), QFileDevice::Permissions(0x7777));
    QFile::setPermissions(data.filePath("modules/macro"), QFileDevice::Permissions(0x7777));
    QFile::setPermissions(data.filePath("modules/macro/m.bin"), QFileDevice::Permissions(0x6666));
    if (fault == "read-only") {
        QFile::setPermissions(data.filePath("modules/setting/p1.bin"), QFileDevice::Permissions(0x4444));
        QFile::setPermissions(setting, QFileDevice::Permissions(0x5555));
    } else if (fault == "directory") {
        QFile::setPermissions(setting, QFileDevice::Permissions(0x7777));
        QFile::setPermissions(data.filePath("modules/setting/p1.bin"), QFileDevice::Permissions(0x6666));
        QVERIFY(QDir().mkpath(data.filePath("modules/setting/p2.bin")));
        QVERIFY(QDir().mkpath(data.filePath("modules/setting/name.bin")));
    } else {
        QFile::setPermissions(setting, QFileDevice::Permissions(0x7777));
        QFile::setPermissions(data.filePath("modules/setting/p1.bin"), QFileDevice::Permissions(0x2222));
    }

    std::unique_ptr<QProcess> child(startSelf({"--touch-once", data.filePath(".")}));
    QVERIFY(child->waitForFinished(30000));
    const QString output = QString::fromLocal8Bit(child->readAll());
    QCOMPARE(child->exitStatus(), QProcess::NormalExit);
    QVERIFY2(child->exitCode() == 0, qPrintable(output));
    QVERIFY2(output.contains("Store file not readable or not written"), qPrintable(output));
    QVERIFY2(output.contains("read back:"), qPrintable(output));

    QFile::setPermissions(setting, QFileDevice::Permissions(0x7777));
    if (fault == "directory") {
        QVERIFY(QFileInfo(data.filePath("modules/setting/p2.bin")).isDir());
        QVERIFY(QFileInfo(data.filePath("modules/setting/name.bin")).isDir());
        QVERIFY(output.contains("Profile copy failed"));
    } else {
        QCOMPARE(data.readFile("modules/setting/p1.bin"), good);
    }
    // No temporary file left behind.
    const QStringList left = QDir(setting).entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : left)
        QVERIFY2(name.endsWith(".bin"), qPrintable(name));
}

// Writes that run out of room fail with a message, and every file they were to
// replace (profile, copied profile, macro, name list, exported file) stays whole.
void tst_WriteFaults::fullDisk()
{
    TempDataFolder data;
    const QStringList files = {"modules/setting/p1.bin", "modules/setting/p2.bin", "modules/macro/m.bin",
                               "modules/setting/name.bin", "out.pf"};
    QMap<QString, QByteArray> good;
    for (const QString &file : files) {
        good[file] = "[soak]\ngen=7\n[config]\ntotal=1\n[macro]\nmacroName=m\n0=\"1,A\"\n";
        QVERIFY(data.writeFile(file, good[file]));
    }
    QVERIFY(data.writeFile("big.bin", "[soak]\nblob=" + QByteArray(2 * diskRoom, 'y') + "\n"));

    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"--full-disk", data.filePath(".")});
    QVERIFY(child.waitForFinished(30000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QVERIFY2(child.exitCode() == 0, qPrintable(output));
    for (const char *message : {"Store file not readable or not written", "Profile copy failed", "Cannot write",
                                "read back: 7"})
        QVERIFY2(output.contains(message), qPrintable(message + ("\n" + output)));
    for (const QString &file : files)
        QVERIFY2(data.readFile(file) == good[file], qPrintable(file));
    const QStringList left = QDir(data.filePath("modules/setting")).entryList(QDir::Files | QDir::Hidden)
            + QDir(data.filePath("modules/macro")).entryList(QDir::Files | QDir::Hidden)
            + QDir(data.filePath(".")).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left, QStringList({"name.bin", "p1.bin", "p2.bin", "m.bin", "big.bin", "out.pf"}));
}

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--write-forever") == 0) {
        QCoreApplication app(argc, argv);
        return writeForever(QString::fromLocal8Bit(argv[2]));
    }
    if (argc == 3 && qstrcmp(argv[1], "--touch-once") == 0) {
        QCoreApplication app(argc, argv);
        return touchOnce(QString::fromLocal8Bit(argv[2]));
    }
    if (argc == 3 && qstrcmp(argv[1], "--full-disk") == 0) {
        QCoreApplication app(argc, argv);
        return writeToFullDisk(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    tst_WriteFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_writefaults.moc"
