// Where the data folder is: beside a writable program as before, in the user's own
// folder (seeded once from the installed one) when the program's folder is read-only.

#include <datapath.h>
#include <tempdatafolder.h>

#include <QtTest>

using namespace Qt::StringLiterals;

class TestDataPath : public QObject
{
    Q_OBJECT
private slots:
    void readOnlyProgramFolderUsesSeededUserFolder()
    {
        TempDataFolder home, program;   // the program's folder is the current one
        for (const char *file : {"setting/name.bin", "setting/pD.bin", "gun/gunData.bin", "i18n/lang_025044.ini", "img/trayIcon.ico"})
            QVERIFY(program.writeFile(u"modules/"_s + QLatin1String(file), QByteArray("[") + file + "]\n"));
        QVERIFY(program.writeFile(u"modules/setting/apConfig.bin"_s, "[J2]\nprofileNo=2\n"));
        QVERIFY(QFile::setPermissions(program.filePath(u"modules/setting/apConfig.bin"_s), QFile::ReadOwner | QFile::ReadGroup));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(u"data"_s)));
        const QString user = home.filePath(u"data/orvane-g7/modules"_s);
        const auto readOnly = [&](bool on) {
            for (const QString &dir : {program.filePath(u"modules/setting"_s), program.filePath(u"modules"_s)})
                QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                                       | (on ? QFile::Permissions() : QFile::Permissions(QFile::WriteOwner))));
            QCOMPARE(chooseDataFolder(QDir::currentPath()), on ? user : QString());
        };
        readOnly(true);
        // The installation's own files, and any outside modules/, are read where they are.
        for (const QString &kept : {u"./modules/setting/pD.bin"_s, u"./modules/i18n/lang_025044.ini"_s,
                                    u"./modules/img/trayIcon.ico"_s, u"./update/3336.exe"_s})
            QCOMPARE(dataPath(kept), kept);
        // Seeded with the user's files only, each one the user may change.
        QCOMPARE(home.readFile(u"data/orvane-g7/modules/setting/apConfig.bin"_s), QByteArray("[J2]\nprofileNo=2\n"));
        QVERIFY(QFileInfo(user + u"/setting/apConfig.bin"_s).permissions() & QFile::WriteOwner);
        QVERIFY(QFileInfo(user + u"/macro"_s).isDir());
        // The next start keeps what the user changed and brings back what the user lost.
        QVERIFY(home.writeFile(u"data/orvane-g7/modules/setting/apConfig.bin"_s, "[J2]\nprofileNo=4\n"));
        QVERIFY(QFile::remove(user + u"/setting/name.bin"_s));
        readOnly(true);
        QCOMPARE(home.readFile(u"data/orvane-g7/modules/setting/apConfig.bin"_s), QByteArray("[J2]\nprofileNo=4\n"));
        QCOMPARE(home.readFile(u"data/orvane-g7/modules/setting/name.bin"_s), QByteArray("[setting/name.bin]\n"));
        readOnly(false);   // back to beside the program
    }
};

QTEST_GUILESS_MAIN(TestDataPath)
#include "tst_datapath.moc"
