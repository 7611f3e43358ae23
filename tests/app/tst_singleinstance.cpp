// Single instance with real processes, copies of this test acting as the program: leftovers in the temporary
// folder, idle peers, a caller gone during its command, a copy-data endpoint out of descriptors.

#include <copydataendpoint.h>
#include <qtsinglecoreapplication.h>

#include <QLocalSocket>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

class TestSingleInstance : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), program));
        // The copies keep their lock and socket in a folder of their own, where the first start shows their names.
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        QVERIFY(startHolder());
        const QStringList locks = QDir(temp.path()).entryList({u"*.lock"_s});
        QCOMPARE(locks.size(), 1);
        lockPath = temp.filePath(locks.first());
        socketPath = lockPath.chopped(5);
    }

    void leftoversDoNotStopStart_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("directory at the lock") << u"lock dir"_s;
        QTest::newRow("directory at the socket") << u"socket dir"_s;
        QTest::newRow("socket and lock file of a killed copy") << u"socket"_s;
        // A temporary folder that cannot hold the socket: the abstract name, said once.
        QTest::newRow("temporary folder too deep for a socket") << u"deep temp"_s;
        QTest::newRow("temporary folder a file") << u"file temp"_s;
    }
    void leftoversDoNotStopStart()
    {
        QFETCH(QString, kind);
        QCOMPARE(QProcess::execute(u"rm"_s, {u"-rf"_s, lockPath, socketPath}), 0);   // the last row's leftover
        if (kind.endsWith(u" dir"_s)) {
            QVERIFY(QDir().mkpath((kind == u"lock dir"_s ? lockPath : socketPath) + u"/inner"_s));
        } else if (kind == u"socket") {   // as a killed copy leaves them, the lock file holding its process id
            QVERIFY(startHolder());
            holder.kill();
            QVERIFY(holder.waitForFinished() && QFileInfo::exists(socketPath));
        }
        const QString folder = temp.filePath(kind == u"deep temp"_s ? QString(100, u'd') : u"plain-file"_s);
        if (kind.endsWith(u" temp"_s)) {
            QFile file(folder);
            QVERIFY(kind == u"deep temp"_s ? QDir().mkpath(folder) : file.open(QIODevice::WriteOnly));
            qputenv("TMPDIR", QFile::encodeName(folder));
        }
        QVERIFY2(startHolder(), "a leftover in the temporary folder stopped the start");
        verifyHandOver();
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        QCOMPARE(holder.readAllStandardError().count("; using the abstract socket name orvane-g7-"), kind.endsWith(u" temp"_s) ? 1 : 0);
    }

    void idlePeersDroppedAndCallerGoneDuringCommand()
    {
        QVERIFY(startHolder());
        // Peers that connect and never send: one says half a message, the rest nothing.
        QLocalSocket peers[40];
        for (QLocalSocket &peer : peers) {
            peer.connectToServer(socketPath);
            QVERIFY(peer.waitForConnected(2000));
        }
        peers[0].write(QByteArray("\0\0\0\x10\0a", 6));
        const auto closed = [](const QLocalSocket &p) { return p.state() == QLocalSocket::UnconnectedState; };
        QTRY_VERIFY_WITH_TIMEOUT(std::all_of(std::begin(peers), std::end(peers), closed), 10000);
        QProcess caller;
        caller.start(program, {u"--command"_s, u"--until-gone"_s});
        QByteArray out;
        QTRY_VERIFY2_WITH_TIMEOUT((out += holder.readAllStandardOutput()).contains("command --until-gone"), out.constData(), 5000);
        // Ctrl+C on the waiting caller while the command still runs.
        QCOMPARE(::kill(pid_t(caller.processId()), SIGINT), 0);
        QVERIFY(caller.waitForFinished(5000));
        verifyHandOver();
    }

    void copyDataEndpointOutOfDescriptors()
    {
        QTemporaryDir runtime;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        // UBSan's type check probes memory through a pipe, which a process out of descriptors cannot make.
        if (qEnvironmentVariableIsSet("UBSAN_OPTIONS"))
            QSKIP("the sanitizer build cannot run out of descriptors (UBSan's type check needs a pipe)");
        QProcess endpoint;
        endpoint.start(program, {u"--copydata"_s});
        QByteArray out, err;
        QTRY_VERIFY2_WITH_TIMEOUT((out += endpoint.readAllStandardOutput()).contains("ready\n"), out.constData(), 5000);
        const QString path = runtime.filePath(u"orvane-g7-copydata"_s);
        // More callers than it has descriptors left: it stops taking them but keeps listening.
        const QByteArray full = "copy-data endpoint cannot take a connection: Too many open files; trying again every 1000 ms";
        {
            QLocalSocket callers[12];
            for (QLocalSocket &caller : callers)
                caller.connectToServer(path);
            QTRY_VERIFY2_WITH_TIMEOUT((err += endpoint.readAllStandardError()).contains(full), err.constData(), 5000);
        }
        QLocalSocket caller;
        caller.connectToServer(path);
        QVERIFY(caller.waitForConnected(2000));
        caller.write(QByteArray("\x0f\x25\0\0\x03\0\0\0abc", 11));   // record 0x250F, 3 bytes
        QTRY_VERIFY2_WITH_TIMEOUT((out += endpoint.readAllStandardOutput()).contains("record 9487 abc\n"), out.constData(), 10000);
        QCOMPARE((err += endpoint.readAllStandardError()).count(full), 1);
        endpoint.kill();
        endpoint.waitForFinished();
    }

private:
    // Starts the copy as the first instance, the one before killed; true once it says it is ready.
    bool startHolder()
    {
        holder.kill();
        holder.waitForFinished();
        holder.start(program, {u"--hold"_s});
        QByteArray out;
        return QTest::qWaitFor([&] { return (out += holder.readAllStandardOutput()).contains("ready\n"); }, 3000);
    }
    // A second start hands over: exits 1 promptly (the destructor kills it after 4 s) and the holder gets the empty message.
    void verifyHandOver()
    {
        QProcess second;
        second.start(program, {u"--hold"_s});
        QVERIFY(second.waitForFinished(4000));
        QCOMPARE(second.exitCode(), 1);
        QByteArray out;
        QTRY_VERIFY2_WITH_TIMEOUT((out += holder.readAllStandardOutput()).contains("received []"), out.constData(), 3000);
    }

    QTemporaryDir install, temp;
    const QString program = install.filePath(u"orvane-g7"_s);
    QString lockPath, socketPath;
    QProcess holder;
};

int main(int argc, char **argv)
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "--hold") {
        // The program's first steps: hand over when another copy runs, else report every message.
        QtSingleCoreApplication app(argc, argv);
        if (app.isRunning()) {
            app.sendMessage(QString(), 5000);
            return 1;
        }
        QObject::connect(&app, &QtSingleCoreApplication::messageReceived, [](const QString &message) {
            QTextStream(stdout) << "received [" << message << "]\n";
        });
        // As a device command does: events are pumped while it runs, here until its caller's connection is gone.
        app.setCommandHandler([&app](const QStringList &args) {
            QTextStream(stdout) << "command " << args.join(u' ') << Qt::endl;
            while (app.findChild<QLocalSocket *>())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            // The device's work allocates meanwhile: memory just freed is written again.
            std::vector<QByteArray> blocks;   // eight of each size from 16 to 1024 bytes, freed on return
            for (int i = 0; i < 8 * 64; ++i)
                blocks.emplace_back(16 * (1 + i / 8), char(0xA5));
            return PeerAnswer{0, u"done\n"_s, QString()};
        });
        QTextStream(stdout) << "ready\n";
        return app.exec();
    }
    if (mode == "--command") {
        // A later copy handing its command over and waiting for the answer.
        QCoreApplication app(argc, argv);
        SingleInstancePeer peer;
        PeerAnswer answer;
        return peer.isRunning() && peer.sendCommand(app.arguments().mid(2), 30000, &answer) ? answer.code : 3;
    }
    if (mode == "--copydata") {
        // The endpoint with room for two more descriptors; it prints each record it gets.
        QCoreApplication app(argc, argv);
        CopyDataEndpoint endpoint;
        endpoint.open();
        QObject::connect(&endpoint, &CopyDataEndpoint::recordReceived, [](quint32 identifier, const QByteArray &bytes) {
            QTextStream(stdout) << "record " << identifier << ' ' << bytes << Qt::endl;
        });
        // New descriptors take the lowest free numbers, and none may reach the limit.
        const int lowestFree = ::dup(0);
        ::close(lowestFree);
        const rlimit limit{rlim_t(lowestFree + 2), rlim_t(lowestFree + 2)};
        ::setrlimit(RLIMIT_NOFILE, &limit);
        QTextStream(stdout) << "ready" << Qt::endl;
        return app.exec();
    }
    QCoreApplication app(argc, argv);
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleinstance.moc"
