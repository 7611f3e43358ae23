// The files a user finds: the log (every debug line, never more than 1 MiB, one older copy), the data folder.

#include <datapath.h>
#include <devicelog.h>
#include <logfile.h>
#include <tempdatafolder.h>

#include <QtTest>

using namespace Qt::StringLiterals;

// Every line ends with a line break.
static QByteArrayList linesOf(const QString &path)
{
    QFile f(path);
    const QByteArray text = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    return text.isEmpty() ? QByteArrayList() : text.chopped(1).split('\n');
}

class TestUserFiles : public QObject
{
    Q_OBJECT
private slots:
    void rotation_data()
    {
        QTest::addColumn<int>("lineLength");   // without the newline
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("older");    // lines in the copy put aside, full when it was
        QTest::addColumn<int>("newest");   // lines in the log
        QTest::newRow("exactly the limit") << 1023 << 1024 << 0 << 1024;
        QTest::newRow("odd line length") << 777 << 4000 << 1347 << 1306;
    }
    void rotation()
    {
        QFETCH(int, lineLength);
        QFETCH(int, lines);
        QFETCH(int, older);
        QFETCH(int, newest);
        const auto numbered = [lineLength](int from, int count) {
            QByteArrayList texts;
            for (int i = from; i < from + count; ++i)
                texts << (QByteArray::number(i).rightJustified(8, '0') + ' ').leftJustified(lineLength, 'x');
            return texts;
        };
        QTemporaryDir dir;
        const QString path = dir.filePath(u"state/orvane-g7/orvane-g7.log"_s);
        {
            LogFile log(path);
            for (const QByteArray &line : numbered(0, lines))
                QVERIFY(log.append(QString::fromLatin1(line)));
        }
        QCOMPARE(QDir(dir.filePath(u"state/orvane-g7"_s)).entryList(QDir::Files).size(), older ? 2 : 1);
        QCOMPARE(linesOf(path + u".1"_s), numbered(lines - newest - older, older));
        QCOMPARE(linesOf(path), numbered(lines - newest, newest));
    }

    // Installed, it gets the debug lines and the console still does; an unwritable place is said once, on the console.
    void messageHandler()
    {
        QTemporaryDir dir;
        static QStringList console;   // what reached the handler installed before the log's
        // As the console shows it (its pattern names a category other than the default one).
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            console << qFormatLogMessage(type, context, message);
        });
        {
            LogFile log(dir.filePath(u"orvane-g7.log"_s));
            LogFile::install(&log);
            qCDebug(lcDevice) << "Device Connect";
            qWarning("cmd Failed 07H");
        }
        qDebug("after the log is gone");
        const QString stamp = u"\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3} "_s;
        const QByteArray log = linesOf(dir.filePath(u"orvane-g7.log"_s)).join('\n');
        QVERIFY2(QRegularExpression(u"^%1debug: Device Connect\n%1warning: cmd Failed 07H$"_s.arg(stamp))
                     .match(QString::fromUtf8(log)).hasMatch(), log.constData());
        QCOMPARE(console, QStringList({u"Device Connect"_s, u"cmd Failed 07H"_s, u"after the log is gone"_s}));
        console.clear();
        QFile blocker(dir.filePath(u"file"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        {
            LogFile log(blocker.fileName() + u"/orvane-g7.log"_s);
            LogFile::install(&log);
            qDebug("one");
            qDebug("two");
        }
        // The system's reason in the user's language, as the log file gets it.
        const QString said = u"cannot write the log file %1/orvane-g7.log: %2"_s.arg(blocker.fileName(),
                                                                                   qt_error_string(ENOTDIR));
        QCOMPARE(console, QStringList({said, u"one"_s, u"two"_s}));
        qInstallMessageHandler(nullptr);
    }

    // Where the data folder is: beside a writable program as before, in the user's own
    // folder (seeded once from the installed one) when the program's folder is read-only.
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

QTEST_GUILESS_MAIN(TestUserFiles)
#include "tst_userfiles.moc"
