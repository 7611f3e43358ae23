#include "hid_thread.h"
#include "myqquickview.h"
#include "pauses.h"
#include "recordingpointersettings.h"
#include "tempdatafolder.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

// Each updater is a script that prints 4 MB, as a chatty one does, then notes its name and working
// directory in ran.log beside it.
static const QByteArray updaterScript = "#!/bin/sh\nhead -c 2000000 /dev/zero\nhead -c 2000000 /dev/zero >&2\n"
                                        "echo \"$(basename \"$0\") $(pwd)\" >> ran.log\n";
static const char *const updaters[] = {"3336.exe", "update1.exe", "noLight.exe", "3337.exe"};

struct UpdaterRig
{
    UpdaterRig()
    {
        setSleeper(sleeper);
        QDir().mkpath("modules/setting");
        for (const char *name : updaters) {
            const QString path = QStringLiteral("update/") + name;
            data.writeFile(path, updaterScript);
            QFile(data.filePath(path)).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        view.hid = &hid;
        recordPointerSettings(view);
        hid.monitorRunning = true;
    }
    ~UpdaterRig() { setSleeper(nullptr); }
    // Waits for every updater the view started; what they wrote. Their output is not kept.
    QStringList ran()
    {
        for (QProcess *process : view.findChildren<QProcess *>()) {
            process->waitForFinished(10000);
            if (process->bytesAvailable() != 0 || !process->readAllStandardError().isEmpty())
                return {QStringLiteral("output kept")};
        }
        return QString::fromLocal8Bit(data.readFile("update/ran.log")).split('\n', Qt::SkipEmptyParts);
    }

    TempDataFolder data;
    std::shared_ptr<RecordingSleeper> sleeper = std::make_shared<RecordingSleeper>();
    Hid_Thread hid;
    myQQuickView view;
};

class tst_Updater : public QObject
{
    Q_OBJECT

private slots:
    // The updater of each model starts from its own folder, after the monitor stopped and 500 ms passed.
    void startsTheModelsUpdater_data()
    {
        QTest::addColumn<uint>("did");
        QTest::addColumn<QString>("program");
        QTest::newRow("0") << 0u << "3336.exe";
        QTest::newRow("1") << 1u << "update1.exe";
        QTest::newRow("2") << 2u << "noLight.exe";
        QTest::newRow("3") << 3u << "3337.exe";
        QTest::newRow("4") << 4u << "3336.exe";
        QTest::newRow("huge") << 0xFFFFFFFFu << "3336.exe";
    }
    void startsTheModelsUpdater()
    {
        QFETCH(uint, did);
        QFETCH(QString, program);
        UpdaterRig rig;
        rig.hid.did = did;
        QVERIFY(rig.view.openUpdateExe());
        QVERIFY(!rig.hid.monitorRunning);
        QCOMPARE(rig.sleeper->pauses, QList<int>{500});
        const QString folder = QFileInfo(rig.data.filePath("update")).canonicalFilePath();
        QCOMPARE(rig.ran(), QStringList{program + ' ' + folder});
    }

    void twiceStartsTwo()
    {
        UpdaterRig rig;
        rig.view.openUpdateExe();
        rig.view.openUpdateExe();
        QCOMPARE(rig.ran().size(), 2);
        QCOMPARE(rig.view.findChildren<QProcess *>().size(), 2);
    }

    // A missing or non-executable updater starts nothing and says so (the page then tells the user); the monitor
    // goes on without a pause, so the DPI notices keep coming.
    void nothingToStart_data()
    {
        QTest::addColumn<bool>("remove");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << true << "is missing";
        QTest::newRow("not executable") << false << "is not executable";
    }
    void nothingToStart()
    {
        QFETCH(bool, remove);
        QFETCH(QString, reason);
        UpdaterRig rig;
        rig.hid.did = 3;
        const QString path = rig.data.filePath("update/3337.exe");
        if (remove)
            QFile::remove(path);
        else
            QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        QTest::ignoreMessage(QtDebugMsg,
                             QRegularExpression("^Updater not started: \"./update/3337.exe\" " + reason + "$"));
        QVERIFY(!rig.view.openUpdateExe());
        QVERIFY(rig.hid.monitorRunning);
        QVERIFY(rig.sleeper->pauses.isEmpty());
        QVERIFY(rig.view.findChildren<QProcess *>().isEmpty());
        QVERIFY(rig.ran().isEmpty());
    }
};

QTEST_MAIN(tst_Updater)
#include "tst_updater.moc"
