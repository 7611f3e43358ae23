// Single instance with real processes: copies of this test in a private folder act as the program;
// hostile leftovers in the temporary folder, idle peers, a caller gone during its command, a trace on
// a FIFO; and the copy-data endpoint of a copy that runs out of descriptors.

#include <copydataendpoint.h>
#include <qtsinglecoreapplication.h>
#include <reporttrace.h>

#include <QLocalSocket>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Leaves a socket file at `path` that nobody listens on, as a killed copy does.
bool plantDeadSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path);
    const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return bound;
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void leftoversDoNotStopStart_data();
    void leftoversDoNotStopStart();
    void idlePeersAreDropped();
    void callerGoneDuringCommand();
    void copyDataEndpointOutOfDescriptors();
    void traceTakesRegularFilesOnly();

private:
    // Starts the copy as the first instance; true once it says it is ready.
    bool startHolder(QProcess &holder, int withinMs = 3000)
    {
        holder.setProcessEnvironment(environment);
        holder.start(program, {u"--hold"_s});
        QDeadlineTimer deadline(withinMs);
        QByteArray out;
        while (!out.contains("ready\n") && !deadline.hasExpired()) {
            holder.waitForReadyRead(int(qMax<qint64>(deadline.remainingTime(), 1)));
            out += holder.readAllStandardOutput();
        }
        return out.contains("ready\n");
    }
    // Runs `command` with `args`: its exit code, or -1 when it did not end within `withinMs`.
    int run(const QString &command, const QStringList &args, QByteArray *err = nullptr, int withinMs = 4000)
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(command, args);
        const bool ended = process.waitForFinished(withinMs);
        if (err)
            *err = process.readAllStandardError();
        if (!ended) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        return process.exitCode();
    }
    // A second start hands over: exits 1 promptly and the holder gets the empty message.
    void verifyHandOver(QProcess &holder, const QString &command)
    {
        QCOMPARE(run(command, {u"--hold"_s}), 1);
        QByteArray out;
        QTRY_VERIFY2_WITH_TIMEOUT((out += holder.readAllStandardOutput()).contains("received []"), out.constData(), 3000);
    }

    QTemporaryDir install, temp;
    const QString program = install.filePath(u"orvane-g7"_s);
    QString lockPath, socketPath;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QProcess holder;
};

void TestSingleInstance::initTestCase()
{
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), program));
    // The copies keep their lock and socket in a folder of their own.
    environment.insert(u"TMPDIR"_s, temp.path());
    QProcess id;
    id.setProcessEnvironment(environment);
    id.start(program, {u"--id"_s});
    QVERIFY(id.waitForFinished(5000));
    const QString name = QString::fromUtf8(id.readAllStandardOutput().trimmed());
    QVERIFY(!name.isEmpty());
    socketPath = temp.filePath(name);
    lockPath = socketPath + u".lock"_s;
}

void TestSingleInstance::cleanup()
{
    holder.kill();
    holder.waitForFinished();
}

void TestSingleInstance::leftoversDoNotStopStart_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("garbled lock file") << u"lock"_s << QByteArray("\x01\xff garbage\n\n\x7f", 14);
    QTest::newRow("lock of a live process") << u"lock"_s << QByteArray::number(getpid()) + "\norvane-g7\n"
            + QSysInfo::machineHostName().toUtf8() + '\n';
    QTest::newRow("directory at the lock") << u"lock dir"_s << QByteArray();
    QTest::newRow("directory at the socket") << u"socket dir"_s << QByteArray();
    QTest::newRow("dead socket") << u"socket"_s << QByteArray();
    // A temporary folder that cannot hold the socket: the abstract name, said once.
    QTest::newRow("temporary folder too deep for a socket") << u"deep temp"_s << QByteArray();
    QTest::newRow("temporary folder a file") << u"file temp"_s << QByteArray();
}

void TestSingleInstance::leftoversDoNotStopStart()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, contents);
    for (const QString &path : {lockPath, socketPath}) {
        if (QFileInfo(path).isDir())
            QVERIFY(QDir(path).removeRecursively());
        QFile::remove(path);
    }
    if (kind == u"lock") {
        QFile file(lockPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(contents), contents.size());
    } else if (kind == u"lock dir") {
        QVERIFY(QDir().mkpath(lockPath + u"/inner"_s));
    } else if (kind == u"socket dir") {
        QVERIFY(QDir().mkpath(socketPath + u"/inner"_s));
    } else if (kind == u"socket") {
        QVERIFY(plantDeadSocket(socketPath));
    }
    const QProcessEnvironment usual = environment;
    const QString folder = temp.filePath(kind == u"deep temp"_s ? QString(100, u'd') : u"plain-file"_s);
    if (kind.endsWith(u" temp"_s)) {
        QFile file(folder);
        QVERIFY(kind == u"deep temp"_s ? QDir().mkpath(folder) : file.open(QIODevice::WriteOnly));
        environment.insert(u"TMPDIR"_s, folder);
    }
    QVERIFY2(startHolder(holder), "a leftover in the temporary folder stopped the start");
    verifyHandOver(holder, program);
    environment = usual;
    QCOMPARE(holder.readAllStandardError().count("; using the abstract socket name orvane-g7-"), kind.endsWith(u" temp"_s) ? 1 : 0);
}

void TestSingleInstance::idlePeersAreDropped()
{
    QVERIFY(startHolder(holder));
    // Peers that connect and never send: one says half a message, the rest nothing.
    std::vector<std::unique_ptr<QLocalSocket>> peers;
    for (int i = 0; i < 40; ++i) {
        peers.push_back(std::make_unique<QLocalSocket>());
        peers.back()->connectToServer(socketPath);
        QVERIFY(peers.back()->waitForConnected(2000));
    }
    peers.front()->write(QByteArray("\0\0\0\x10\0a", 6));
    const auto allClosed = [&peers] {
        QCoreApplication::processEvents();
        return std::all_of(peers.begin(), peers.end(), [](const auto &p) {
            return p->state() == QLocalSocket::UnconnectedState;
        });
    };
    QTRY_VERIFY_WITH_TIMEOUT(allClosed(), 10000);
    verifyHandOver(holder, program);
}

void TestSingleInstance::callerGoneDuringCommand()
{
    QVERIFY(startHolder(holder));
    QProcess caller;
    caller.setProcessEnvironment(environment);
    caller.start(program, {u"--command"_s, u"--until-gone"_s});
    QByteArray out;
    QTRY_VERIFY2_WITH_TIMEOUT((out += holder.readAllStandardOutput()).contains("command --until-gone"), out.constData(), 5000);
    // Ctrl+C on the waiting caller while the command still runs.
    QCOMPARE(::kill(pid_t(caller.processId()), SIGINT), 0);
    QVERIFY(caller.waitForFinished(5000));
    verifyHandOver(holder, program);
    QCOMPARE(holder.state(), QProcess::Running);
}

void TestSingleInstance::copyDataEndpointOutOfDescriptors()
{
    QTemporaryDir runtime;
    QProcessEnvironment env = environment;
    env.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
    // UBSan checks an object's type by probing its memory through a pipe, which a process out of
    // descriptors cannot make: every virtual call there is reported, and such a stop cannot be suppressed.
    if (env.contains(u"UBSAN_OPTIONS"_s))
        QSKIP("the sanitizer build cannot run out of descriptors (UBSan's type check needs a pipe)");
    QProcess endpoint;
    endpoint.setProcessEnvironment(env);
    endpoint.start(program, {u"--copydata"_s});
    QByteArray out, err;
    QTRY_VERIFY2_WITH_TIMEOUT((out += endpoint.readAllStandardOutput()).contains("ready\n"), out.constData(), 5000);
    const QString path = runtime.filePath(u"orvane-g7-copydata"_s);
    // More callers than it has descriptors left: it stops taking them but keeps listening.
    std::vector<std::unique_ptr<QLocalSocket>> callers;
    for (int i = 0; i < 12; ++i) {
        callers.push_back(std::make_unique<QLocalSocket>());
        callers.back()->connectToServer(path);
        QVERIFY(callers.back()->waitForConnected(2000));
    }
    const QByteArray full = "copy-data endpoint cannot take a connection: Too many open files; trying again every 1000 ms";
    QTRY_VERIFY2_WITH_TIMEOUT((err += endpoint.readAllStandardError()).contains(full), err.constData(), 5000);
    QVERIFY(QFileInfo(path).exists());
    callers.clear();
    QLocalSocket caller;
    caller.connectToServer(path);
    QVERIFY(caller.waitForConnected(2000));
    QByteArray record(8, '\0');
    qToLittleEndian<quint32>(0x250F, record.data());
    qToLittleEndian<quint32>(3, record.data() + 4);
    caller.write(record + "abc");
    QTRY_VERIFY2_WITH_TIMEOUT((out += endpoint.readAllStandardOutput()).contains("record 9487 abc\n"), out.constData(), 10000);
    QCOMPARE((err += endpoint.readAllStandardError()).count(full), 1);
    endpoint.kill();
    endpoint.waitForFinished();
}

void TestSingleInstance::traceTakesRegularFilesOnly()
{
    const QString fifo = temp.filePath(u"trace.fifo"_s), file = temp.filePath(u"trace.txt"_s);
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QByteArray err;
    // Nobody reads the FIFO: the start must not wait for a reader.
    QCOMPARE(run(program, {u"--trace"_s, fifo}, &err), 1);
    QVERIFY2(err.contains("not a regular file"), err.constData());
    QCOMPARE(run(program, {u"--trace"_s, u"/dev/null"_s}, &err), 1);
    QVERIFY2(err.contains("not a regular file"), err.constData());
    QCOMPARE(run(program, {u"--trace"_s, file}, &err), 0);
    QVERIFY(QFileInfo(file).isFile());
}

int main(int argc, char **argv)
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "--hold" || mode == "--id") {
        // The program's first steps: hand over when another copy runs, else report every message.
        QtSingleCoreApplication app(argc, argv);
        if (mode == "--id") {
            QTextStream(stdout) << app.id() << '\n';
            return 0;
        }
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
            std::vector<void *> blocks;
            for (size_t size = 16; size <= 1024; size += 16) {
                for (int i = 0; i < 8; ++i)
                    blocks.push_back(memset(malloc(size), 0xA5, size));
            }
            for (void *block : blocks)
                free(block);
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
        if (!peer.isRunning() || !peer.sendCommand(app.arguments().mid(2), 30000, &answer))
            return 3;
        QTextStream(stdout) << answer.out;
        return answer.code;
    }
    if (mode == "--copydata") {
        // The endpoint with room for two more descriptors; it prints each record it gets.
        QCoreApplication app(argc, argv);
        CopyDataEndpoint endpoint;
        if (!endpoint.open())
            return 2;
        QObject::connect(&endpoint, &CopyDataEndpoint::recordReceived, [](quint32 identifier, const QByteArray &bytes) {
            QTextStream(stdout) << "record " << identifier << ' ' << bytes << Qt::endl;
        });
        // New descriptors take the lowest free numbers, and none may reach the limit.
        const int lowestFree = ::dup(0);
        ::close(lowestFree);
        rlimit limit{};
        ::getrlimit(RLIMIT_NOFILE, &limit);
        limit.rlim_cur = rlim_t(lowestFree + 2);
        if (::setrlimit(RLIMIT_NOFILE, &limit) != 0)
            return 2;
        QTextStream(stdout) << "ready" << Qt::endl;
        return app.exec();
    }
    if (mode == "--trace" && argc > 2) // 0: the trace is open
        return ReportTrace::open(QFile::decodeName(argv[2])) ? 0 : 1;
    QCoreApplication app(argc, argv);
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleinstance.moc"
