#include "singleinstancepeer.h"

#include "filelock.h"

#include <QCryptographicHash>
#include <QtEndian>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QCoreApplication>

#if defined(Q_OS_WIN)
#  include <QtCore/qt_windows.h>
#else
#  include <cerrno>
#  include <fcntl.h>
#  include <sys/file.h>
#  include <sys/socket.h>
#  include <sys/stat.h>
#  include <sys/un.h>
#  include <unistd.h>
#endif

namespace {

constexpr auto streamVersion = QDataStream::Qt_6_0;
constexpr char ack[] = "ack";
constexpr quint32 maxMessageBytes = 1 << 20;
constexpr quint32 nullStringLength = 0xFFFFFFFF;
// A whole message takes milliseconds; a peer still silent after this is dropped.
constexpr int idlePeerMs = 3000;
// How often a command waiting for the device to be idle looks again.
constexpr int retryMs = 50;
// Peers beyond this many are closed at once: each holds a descriptor until it is done.
constexpr int maxPeers = 16;

int remainingMs(const QDeadlineTimer &deadline)
{
    return deadline.isForever() ? -1 : int(qMax<qint64>(deadline.remainingTime(), 0));
}

QString currentUser()
{
#if defined(Q_OS_WIN)
    return qEnvironmentVariable("USERDOMAIN") + QLatin1Char('\\') + qEnvironmentVariable("USERNAME");
#else
    return QString::number(::getuid());
#endif
}

// The file that runs, with links resolved: a launcher link of any name is the same program.
QString executableFile()
{
    QString path;
#if defined(Q_OS_LINUX)
    path = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
#endif
    if (path.isEmpty())
        path = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    if (path.isEmpty())
        path = QCoreApplication::applicationFilePath();
#if defined(Q_OS_WIN)
    path = path.toLower();
#endif
    return path;
}

// The same executable file run by the same user gives the same name.
QString peerName()
{
    const QByteArray key = (executableFile() + QLatin1Char('\n') + currentUser()).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(20);
    return QStringLiteral("orvane-g7-") + QString::fromLatin1(hash);
}

// A command travels as a message with this prefix followed by its arguments as a JSON array.
const QString commandPrefix = QStringLiteral("orvane-g7 command:");

QString commandMessage(const QStringList &args)
{
    return commandPrefix + QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(args)).toJson(QJsonDocument::Compact));
}

bool commandArgs(const QString &message, QStringList *args)
{
    if (!message.startsWith(commandPrefix))
        return false;
    const QJsonDocument doc = QJsonDocument::fromJson(message.mid(commandPrefix.size()).toUtf8());
    args->clear();
    for (const QJsonValue &value : doc.array())
        args->append(value.toString());
    return true;
}

} // namespace

QString SingleInstancePeer::programId()
{
    return peerName();
}

SingleInstancePeer::SingleInstancePeer(QObject *parent, bool hold)
    : QObject(parent), socketName(peerName())
{
    const QString lockPath = QDir(QDir::tempPath()).filePath(socketName + QStringLiteral(".lock"));
    const auto lockOrLook = [&] { return hold ? FileLock::take(lockPath, &lockHandle) : FileLock::probe(lockPath); };
#if defined(Q_OS_WIN)
    const FileLock::Result lock = lockOrLook();
#else
    // A socket's path has room for sun_path's bytes only; a deep temporary folder cannot take it.
    const bool pathFits = size_t(QFile::encodeName(QDir(QDir::tempPath()).filePath(socketName)).size())
            < sizeof(sockaddr_un::sun_path);
    const FileLock::Result lock = pathFits ? lockOrLook() : FileLock::Result::Unavailable;
#endif
    switch (lock) {
    case FileLock::Result::Taken:
        if (!hold)
            return;
        startServer();
        return;
    case FileLock::Result::Held:
        otherRunning = true;
        return;
    case FileLock::Result::Unavailable:
#if defined(Q_OS_LINUX)
        // Every copy comes to the same choice, so they still meet under the abstract name.
        if (hold) {
            qDebug().noquote() << QStringLiteral("single instance: the temporary folder %1 %2; using the abstract socket name %3")
                                      .arg(QDir::tempPath(),
                                           QLatin1String(pathFits ? "cannot hold the lock" : "is too deep for a socket"),
                                           socketName);
        }
        abstractName = true;
        startServer();
        if (!hold) {   // it only looked: the name goes free again
            delete server;
            server = nullptr;
        }
#else
        // No temporary folder we may write to: run without the peer.
        qDebug() << "single instance lock unavailable:" << lockPath;
#endif
        return;
    }
}

SingleInstancePeer::~SingleInstancePeer()
{
    if (server)
        server->close();
    // The file stays: removing it could let a starting copy lock a file nobody else sees.
    if (lockHandle != -1)
        FileLock::release(lockHandle);
}

void SingleInstancePeer::startServer()
{
    server = new QLocalServer(this);
    if (abstractName) {
        // Binding the abstract name is the lock: the kernel lets one process hold it and frees it with it.
        server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
        if (!server->listen(socketName)) {
            otherRunning = server->serverError() == QAbstractSocket::AddressInUseError;
            if (!otherRunning)
                qDebug() << "single instance peer cannot listen:" << server->errorString();
            delete server;
            server = nullptr;
            return;
        }
        connect(server, &QLocalServer::newConnection, this, &SingleInstancePeer::receiveConnection);
        return;
    }
    // We hold the lock, so whatever lies under this name is left over from a killed copy.
#if !defined(Q_OS_WIN)
    const QString socketPath = QDir(QDir::tempPath()).filePath(socketName);
    if (QFileInfo::exists(socketPath) || QFileInfo(socketPath).isSymLink())
        FileLock::removeLeftover(socketPath);
#endif
    QLocalServer::removeServer(socketName);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(socketName)) {
        qDebug() << "single instance peer cannot listen:" << server->errorString();
        return;
    }
    connect(server, &QLocalServer::newConnection, this, &SingleInstancePeer::receiveConnection);
}

namespace {

// An abstract name has no file mode: the kernel tells who is on the other end.
bool sameUser(QLocalSocket *socket)
{
#if defined(Q_OS_LINUX)
    ucred credentials{};
    socklen_t length = sizeof credentials;
    return ::getsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0
        && credentials.uid == ::getuid();
#else
    Q_UNUSED(socket);
    return true;
#endif
}

} // namespace

void SingleInstancePeer::receiveConnection()
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (peers >= maxPeers || (abstractName && !sameUser(socket))) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++peers;
        connect(socket, &QObject::destroyed, this, [this] { --peers; });
        // A peer that never finishes its message would keep its descriptor for good.
        auto *idle = new QTimer(socket);
        idle->setSingleShot(true);
        connect(idle, &QTimer::timeout, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        idle->start(idlePeerMs);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, idle] {
            // The message starts with its length in bytes; refuse absurd ones
            // before anything is allocated for them.
            if (socket->bytesAvailable() >= 4) {
                const quint32 length = qFromBigEndian<quint32>(socket->peek(4).constData());
                if (length != nullStringLength && length > maxMessageBytes) {
                    qDebug() << "single instance message refused, length" << length;
                    socket->abort();
                    return;
                }
            }
            QDataStream in(socket);
            in.setVersion(streamVersion);
            in.startTransaction();
            QString message;
            in >> message;
            if (!in.commitTransaction())
                return; // the rest of the message is still on its way
            QStringList args;
            if (commandArgs(message, &args)) {
                // The command may take seconds on the device and pump events meanwhile, so it
                // runs from the event loop, never inside this socket's own handler.
                idle->stop();
                disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
                const QPointer<QLocalSocket> peer(socket);
                QMetaObject::invokeMethod(this, [this, peer, args] { answerCommand(peer, args); },
                                          Qt::QueuedConnection);
                return;
            }
            socket->write(ack, sizeof ack - 1);
            socket->flush();
            socket->disconnectFromServer();
            emit messageReceived(message);
        });
    }
}

void SingleInstancePeer::answerCommand(const QPointer<QLocalSocket> &socket, const QStringList &args)
{
    if (!socket)
        return; // the sender gave up before its turn
    if (commandHandler && !handlingCommand && commandReady && !commandReady()) {
        // Not from inside a device transfer's event pumping: again once it is over.
        QTimer::singleShot(retryMs, this, [this, socket, args] { answerCommand(socket, args); });
        return;
    }
    PeerAnswer answer;
    if (!commandHandler) {
        answer.err = QStringLiteral("the running copy of the program takes no commands");
    } else if (handlingCommand) {
        answer.err = QStringLiteral("the running program is busy with another command; try again");
    } else {
        handlingCommand = true;
        answer = commandHandler(args);   // pumps events while the device works
        handlingCommand = false;
    }
    if (!socket)
        return;                          // the sender gave up waiting
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(streamVersion);
    out << qint32(answer.code) << answer.out << answer.err;
    socket->write(data);
    socket->flush();
    socket->disconnectFromServer();
}

bool SingleInstancePeer::writeToRunning(QLocalSocket &socket, const QString &message, const QDeadlineTimer &deadline)
{
    if (!otherRunning)
        return false;
    if (abstractName)
        socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    // The first copy may have taken the lock but not be listening yet.
    for (;;) {
        socket.connectToServer(socketName);
        if (socket.waitForConnected(remainingMs(deadline)))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(streamVersion);
    out << message;
    socket.write(data);
    return socket.waitForBytesWritten(remainingMs(deadline));
}

bool SingleInstancePeer::sendMessage(const QString &message, int timeout)
{
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    if (!writeToRunning(socket, message, deadline))
        return false;
    while (socket.bytesAvailable() < qint64(sizeof ack - 1)) {
        if (!socket.waitForReadyRead(remainingMs(deadline)))
            return false;
    }
    return socket.read(sizeof ack - 1) == ack;
}

bool SingleInstancePeer::sendCommand(const QStringList &args, int timeout, PeerAnswer *answer)
{
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    if (!writeToRunning(socket, commandMessage(args), deadline))
        return false;
    QByteArray reply;
    for (;;) {
        reply += socket.readAll();
        QDataStream in(reply);
        in.setVersion(streamVersion);
        qint32 code = 1;
        PeerAnswer got;
        in >> code >> got.out >> got.err;
        if (in.status() == QDataStream::Ok) {
            got.code = code;
            *answer = got;
            return true;
        }
        if (reply.size() > qsizetype(maxMessageBytes) || socket.state() != QLocalSocket::ConnectedState
            || !socket.waitForReadyRead(remainingMs(deadline))) {
            reply += socket.readAll();
            QDataStream last(reply);
            last.setVersion(streamVersion);
            last >> code >> got.out >> got.err;
            if (last.status() != QDataStream::Ok)
                return false;
            got.code = code;
            *answer = got;
            return true;
        }
    }
}
