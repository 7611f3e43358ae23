// Where the data folder is: beside a writable program as before, in the user's own
// folder (seeded once from the installed one) when the program's folder is read-only.

#include <datapath.h>

#include <QtTest>

using namespace Qt::StringLiterals;

static void write(const QString &path, const QByteArray &content)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

static QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class TestDataPath : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(program.isValid() && home.isValid());
        write(program.filePath(u"modules/setting/apConfig.bin"_s), "[J2]\nprofileNo=2\n");
        write(program.filePath(u"modules/setting/name.bin"_s), "[macro]\n");
        write(program.filePath(u"modules/setting/pD.bin"_s), "[sensor]\njmgd=2\n");
        write(program.filePath(u"modules/gun/gunData.bin"_s), "[gun]\n");
        write(program.filePath(u"modules/i18n/lang_025044.ini"_s), "[lang]\n");
        write(program.filePath(u"modules/img/trayIcon.ico"_s), "ico");
        QVERIFY(QFile::setPermissions(program.filePath(u"modules/setting/apConfig.bin"_s), QFile::ReadOwner | QFile::ReadGroup));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
        user = home.filePath(u"orvane-g7/modules"_s);
    }

    void cleanup()
    {
        for (const QString &dir : {program.filePath(u"modules"_s), program.filePath(u"modules/setting"_s)})
            QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(chooseDataFolder(program.path()), QString()); // back to beside the program
    }

    void readOnlyProgramFolderUsesSeededUserFolder_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("resolved");   // "~" stands for the user's modules/ folder
        QTest::newRow("profile") << u"./modules/setting/p1.bin"_s << u"~/setting/p1.bin"_s;
        QTest::newRow("application settings") << u"./modules/setting/apConfig.bin"_s << u"~/setting/apConfig.bin"_s;
        QTest::newRow("name lists") << u"./modules/setting/name.bin"_s << u"~/setting/name.bin"_s;
        QTest::newRow("macro folder") << u"./modules/macro/"_s << u"~/macro/"_s;
        QTest::newRow("recoil data") << u"./modules/gun/gunData.bin"_s << u"~/gun/gunData.bin"_s;
        QTest::newRow("default profile stays installed") << u"./modules/setting/pD.bin"_s << u"./modules/setting/pD.bin"_s;
        QTest::newRow("language stays installed") << u"./modules/i18n/lang_025044.ini"_s << u"./modules/i18n/lang_025044.ini"_s;
        QTest::newRow("tray icon stays installed") << u"./modules/img/trayIcon.ico"_s << u"./modules/img/trayIcon.ico"_s;
        QTest::newRow("updater stays installed") << u"./update/3336.exe"_s << u"./update/3336.exe"_s;
    }
    void readOnlyProgramFolderUsesSeededUserFolder()
    {
        QFETCH(QString, relative);
        QFETCH(QString, resolved);
        makeReadOnly();
        QCOMPARE(dataPath(relative), resolved.replace(u"~"_s, user));
        // Seeded with the user's files only, each one the user may change.
        QCOMPARE(read(user + u"/setting/apConfig.bin"_s), QByteArray("[J2]\nprofileNo=2\n"));
        QVERIFY(QFileInfo(user + u"/setting/apConfig.bin"_s).permissions() & QFile::WriteOwner);
        QCOMPARE(read(user + u"/gun/gunData.bin"_s), QByteArray("[gun]\n"));
        QVERIFY(QFileInfo(user + u"/macro"_s).isDir());
        for (const char *installedOnly : {"/setting/pD.bin", "/i18n", "/img"})
            QVERIFY(!QFileInfo::exists(user + QLatin1String(installedOnly)));
    }

    void seedingKeepsTheUsersFiles()
    {
        makeReadOnly();
        write(user + u"/setting/apConfig.bin"_s, "[J2]\nprofileNo=4\n");
        QVERIFY(QFile::remove(user + u"/setting/name.bin"_s));
        QCOMPARE(chooseDataFolder(program.path()), user);   // the next start
        QCOMPARE(read(user + u"/setting/apConfig.bin"_s), QByteArray("[J2]\nprofileNo=4\n"));
        QCOMPARE(read(user + u"/setting/name.bin"_s), QByteArray("[macro]\n"));
        QCOMPARE(read(program.filePath(u"modules/setting/apConfig.bin"_s)), QByteArray("[J2]\nprofileNo=2\n"));
    }

private:
    void makeReadOnly()
    {
        for (const QString &dir : {program.filePath(u"modules/setting"_s), program.filePath(u"modules"_s)})
            QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup));
        QCOMPARE(chooseDataFolder(program.path()), user);
    }
    QTemporaryDir program, home;
    QString user;
};

QTEST_GUILESS_MAIN(TestDataPath)
#include "tst_datapath.moc"
