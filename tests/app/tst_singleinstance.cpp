// Two real processes: the program, and this test in two roles. Started with
// "--first" it is a first copy that prints the message it receives; with
// "--send <message>" it is a second copy.

#include <qtsinglecoreapplication.h>

#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdio>

class TestSingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit TestSingleInstance(QtSingleCoreApplication *app) : app(app) {}

private slots:
    void secondCopyHandsOverItsMessage_data();
    void secondCopyHandsOverItsMessage();
    void absurdMessageLengthIsRefused();
    void programSecondStartHandsOverAndKilledFirstDoesNotBlock();

private:
    // Starts the program from an unrelated folder; true once it works beside its executable.
    bool startProgram(QProcess &program)
    {
        program.setWorkingDirectory(elsewhere.path());
        program.start(install.filePath(QStringLiteral("orvane-g7")), {});
        program.waitForStarted();
        for (QDeadlineTimer deadline(20000); !deadline.hasExpired(); QThread::msleep(20)) {
            if (program.state() == QProcess::Running
                && QFile::symLinkTarget(QStringLiteral("/proc/%1/cwd").arg(program.processId())) == install.path())
                return true;
        }
        return false;
    }
    // Starts the program once more; its exit code, and its time in ms.
    int secondProgram(qint64 *elapsedMs)
    {
        QProcess second;
        second.setWorkingDirectory(elsewhere.path());
        QElapsedTimer timer;
        timer.start();
        second.start(install.filePath(QStringLiteral("orvane-g7")), {});
        const bool finished = second.waitForFinished(15000);
        *elapsedMs = timer.elapsed();
        return finished && second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
    }
    static bool copyExecutable(const QString &from, const QString &to)
    {
        return QFile::copy(from, to) && QFile::setPermissions(to, QFile::permissions(from));
    }

    QtSingleCoreApplication *app;
    QTemporaryDir install, elsewhere;
};

void TestSingleInstance::secondCopyHandsOverItsMessage_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("fromOtherPath");
    QTest::newRow("non-ASCII") << QStringLiteral("Grüße 你好") << false;
    // 200 kB on the wire arrive in pieces; still under Linux's limit for one argument.
    QTest::newRow("large") << QString(100000, QLatin1Char('x')) << false;
    // A copy at another path has another identity and runs alone.
    QTest::newRow("copy at another path") << QStringLiteral("not for you") << true;
}

void TestSingleInstance::secondCopyHandsOverItsMessage()
{
    QFETCH(QString, message);
    QFETCH(bool, fromOtherPath);
    const QString copy = install.filePath(QStringLiteral("copy-of-test"));
    QVERIFY(!fromOtherPath || QFile::exists(copy) || copyExecutable(QCoreApplication::applicationFilePath(), copy));
    QSignalSpy received(app, &QtSingleCoreApplication::messageReceived);
    QProcess second;
    second.start(fromOtherPath ? copy : QCoreApplication::applicationFilePath(), {QStringLiteral("--send"), message});
    QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
    QCOMPARE(second.exitCode(), fromOtherPath ? 2 : 0);
    QCOMPARE(received, fromOtherPath ? QList<QVariantList>() : QList<QVariantList>{{message}});
}

void TestSingleInstance::absurdMessageLengthIsRefused()
{
    QSignalSpy received(app, &QtSingleCoreApplication::messageReceived);
    QLocalSocket hostile;
    hostile.connectToServer(app->id());
    QVERIFY(hostile.waitForConnected(2000));
    // A QString header announcing 2 GB.
    hostile.write(QByteArray::fromHex("80000000") + QByteArray(64, 'x'));
    QVERIFY(hostile.waitForBytesWritten(2000));
    QTRY_COMPARE(hostile.state(), QLocalSocket::UnconnectedState);
    QCOMPARE(received.size(), 0);
}

void TestSingleInstance::programSecondStartHandsOverAndKilledFirstDoesNotBlock()
{
    // A first copy of this test holds the identity of install/orvane-g7; then
    // the program takes its place on disk and is started a second time.
    const QString program = install.filePath(QStringLiteral("orvane-g7"));
    QVERIFY(copyExecutable(QCoreApplication::applicationFilePath(), program));
    QProcess first, killed, next;
    first.start(program, {QStringLiteral("--first")});
    QVERIFY(first.waitForReadyRead(10000));
    QVERIFY(QFile::remove(program) && copyExecutable(QStringLiteral(G7_RUNTIME_DIR "/orvane-g7"), program));
    qint64 elapsed = 0;
    QCOMPARE(secondProgram(&elapsed), 1);
    // The first copy answered; the second did not sit out its 5000 ms time-out.
    QVERIFY2(elapsed < 4000, qPrintable(QString::number(elapsed)));
    QVERIFY(first.waitForFinished(5000));
    QCOMPARE(first.readAllStandardOutput(), QByteArray("ready\nreceived []\n"));

    // A killed program leaves its lock file and socket behind; the next start takes over.
    QVERIFY(startProgram(killed));
    ::kill(pid_t(killed.processId()), SIGKILL);
    QVERIFY(killed.waitForFinished());
    QVERIFY(startProgram(next));
    // No mouse here and no --simulate: one line tells the user about the option.
    QByteArray console;
    QTRY_VERIFY_WITH_TIMEOUT((console += next.readAllStandardError()).contains("--simulate"), 5000);
    QCOMPARE(secondProgram(&elapsed), 1);
    QVERIFY2(elapsed < 4000, qPrintable(QString::number(elapsed)));
    QCOMPARE(next.state(), QProcess::Running);
    next.kill();
    next.waitForFinished();
}

int main(int argc, char **argv)
{
    QtSingleCoreApplication app(argc, argv);
    if (argc > 2 && qstrcmp(argv[1], "--send") == 0)
        return !app.isRunning() ? 2 : app.sendMessage(QString::fromUtf8(argv[2]), 5000) ? 0 : 3;
    if (argc > 1 && qstrcmp(argv[1], "--first") == 0) {
        QObject::connect(&app, &QtSingleCoreApplication::messageReceived, [](const QString &message) {
            std::printf("received [%s]\n", qPrintable(message));
            QCoreApplication::quit();
        });
        std::printf("ready\n");
        std::fflush(stdout);
        return app.exec();
    }
    TestSingleInstance test(&app);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleinstance.moc"
