// Two real processes: this test is the first copy of itself and starts a second
// copy; the program's own start-up is checked by starting the real executable.

#include <qtsinglecoreapplication.h>

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

constexpr char peerOption[] = "--peer";
constexpr int peerNotRunning = 2;
constexpr int peerSendFailed = 3;

// The second copy: hands its message over and says how it went.
int runPeer(int argc, char **argv)
{
    QtSingleCoreApplication app(argc, argv);
    if (!app.isRunning())
        return peerNotRunning;
    const QString message = argc > 2 ? QString::fromUtf8(argv[2]) : QString();
    return app.sendMessage(message, 5000) ? 0 : peerSendFailed;
}

// A private copy of the program, so a copy someone runs from the build folder
// meanwhile is not mistaken for the first instance.
QString programPath()
{
    static QTemporaryDir dir;
    static const QString copy = [] {
        const QString built = QStringLiteral(G7_RUNTIME_DIR "/orvane-g7");
        const QString path = dir.filePath(QStringLiteral("orvane-g7"));
        if (QFile::copy(built, path))
            QFile::setPermissions(path, QFile::permissions(built));
        return path;
    }();
    return copy;
}

QString workingDirectoryOf(qint64 pid)
{
    return QFile::symLinkTarget(QStringLiteral("/proc/%1/cwd").arg(pid));
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit TestSingleInstance(QtSingleCoreApplication *app) : app(app) {}

private slots:
    void secondCopyHandsOverItsMessage_data();
    void secondCopyHandsOverItsMessage();
    void copyAtAnotherPathRunsAlone();
    void absurdMessageLengthIsRefused();
    void programSecondStartExitsWithOne();
    void killedProgramDoesNotBlockNextStart();

private:
    bool startProgram(QProcess &process, const QString &fromDir);
    int startSecondProgram(const QString &fromDir, qint64 *elapsedMs);

    QtSingleCoreApplication *app;
};

void TestSingleInstance::secondCopyHandsOverItsMessage_data()
{
    QTest::addColumn<QString>("message");
    QTest::newRow("empty, as the program sends it") << QString();
    QTest::newRow("non-ASCII") << QStringLiteral("Grüße 你好");
    // 200 kB on the wire arrive in pieces; still under Linux's limit for one argument.
    QTest::newRow("large") << QString(100000, QLatin1Char('x'));
}

void TestSingleInstance::secondCopyHandsOverItsMessage()
{
    QFETCH(QString, message);
    QVERIFY(!app->isRunning());
    QSignalSpy received(app, &QtSingleCoreApplication::messageReceived);

    QProcess peer;
    peer.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(peerOption), message});
    QVERIFY(peer.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(peer.state(), QProcess::NotRunning, 10000);
    QCOMPARE(peer.exitCode(), 0);
    QCOMPARE(received.at(0).at(0).toString(), message);
}

void TestSingleInstance::copyAtAnotherPathRunsAlone()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString copy = dir.filePath(QStringLiteral("copy-of-test"));
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
    QVERIFY(QFile::setPermissions(copy, QFile::permissions(copy) | QFile::ExeOwner));

    QSignalSpy received(app, &QtSingleCoreApplication::messageReceived);
    QProcess peer;
    peer.start(copy, {QString::fromLatin1(peerOption), QStringLiteral("not for you")});
    QVERIFY(peer.waitForFinished(10000));
    QCOMPARE(peer.exitCode(), peerNotRunning);
    QCoreApplication::processEvents();
    QCOMPARE(received.size(), 0);
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

bool TestSingleInstance::startProgram(QProcess &process, const QString &fromDir)
{
    process.setWorkingDirectory(fromDir);
    process.start(programPath(), {});
    if (!process.waitForStarted())
        return false;
    // The program holds the peer by the time it has changed its directory.
    const QString binDir = QFileInfo(programPath()).canonicalPath();
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (process.state() != QProcess::Running)
            return false;
        if (workingDirectoryOf(process.processId()) == binDir)
            return true;
        QThread::msleep(20);
    }
    return false;
}

int TestSingleInstance::startSecondProgram(const QString &fromDir, qint64 *elapsedMs)
{
    QProcess second;
    second.setWorkingDirectory(fromDir);
    QElapsedTimer timer;
    timer.start();
    second.start(programPath(), {});
    if (!second.waitForFinished(15000)) {
        second.kill();
        second.waitForFinished();
        return -1;
    }
    *elapsedMs = timer.elapsed();
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -2;
}

void TestSingleInstance::programSecondStartExitsWithOne()
{
    QVERIFY2(QFile::exists(programPath()), qPrintable(programPath()));
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());

    QProcess first;
    // Started from an unrelated folder, it still works beside its executable.
    QVERIFY(startProgram(first, elsewhere.path()));
    // No mouse here and no --simulate: one line tells the user about the option.
    QByteArray console;
    QTRY_VERIFY_WITH_TIMEOUT((console += first.readAllStandardError()).contains("--simulate"), 5000);

    qint64 elapsed = 0;
    QCOMPARE(startSecondProgram(elsewhere.path(), &elapsed), 1);
    // The first copy answered; the second did not sit out its 5000 ms time-out.
    QVERIFY2(elapsed < 4000, qPrintable(QString::number(elapsed)));
    QCOMPARE(first.state(), QProcess::Running);

    first.kill();
    first.waitForFinished();
}

void TestSingleInstance::killedProgramDoesNotBlockNextStart()
{
    QVERIFY2(QFile::exists(programPath()), qPrintable(programPath()));
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());

    QProcess killed;
    QVERIFY(startProgram(killed, elsewhere.path()));
    ::kill(pid_t(killed.processId()), SIGKILL);
    QVERIFY(killed.waitForFinished());

    // Its lock file and socket are still there; the next start must take over.
    QProcess next;
    QVERIFY(startProgram(next, elsewhere.path()));
    QTest::qWait(500);
    QCOMPARE(next.state(), QProcess::Running);

    qint64 elapsed = 0;
    QCOMPARE(startSecondProgram(elsewhere.path(), &elapsed), 1);
    QVERIFY2(elapsed < 4000, qPrintable(QString::number(elapsed)));

    next.kill();
    next.waitForFinished();
}

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], peerOption) == 0)
        return runPeer(argc, argv);

    QtSingleCoreApplication app(argc, argv);
    TestSingleInstance test(&app);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleinstance.moc"
