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
#  include <sys/stat.h>
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
    switch (hold ? FileLock::take(lockPath, &lockHandle) : FileLock::probe(lockPath)) {
    case FileLock::Result::Taken:
        if (!hold)
            return;
        startServer();
        return;
    case FileLock::Result::Held:
        otherRunning = true;
        return;
    case FileLock::Result::Unavailable:
        // No temporary folder we may write to: run without the peer.
        qDebug() << "single instance lock unavailable:" << lockPath;
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
    // We hold the lock, so whatever lies under this name is left over from a killed copy.
#if !defined(Q_OS_WIN)
    const QString socketPath = QDir(QDir::tempPath()).filePath(socketName);
    if (QFileInfo::exists(socketPath) || QFileInfo(socketPath).isSymLink())
        FileLock::removeLeftover(socketPath);
#endif
    QLocalServer::removeServer(socketName);
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(socketName)) {
        qDebug() << "single instance peer cannot listen:" << server->errorString();
        return;
    }
    connect(server, &QLocalServer::newConnection, this, &SingleInstancePeer::receiveConnection);
}

void SingleInstancePeer::receiveConnection()
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
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
                // The command may take seconds on the device; the sender waits for the answer.
                idle->stop();
                answerCommand(socket, args);
                return;
            }
            socket->write(ack, sizeof ack - 1);
            socket->flush();
            socket->disconnectFromServer();
            emit messageReceived(message);
        });
    }
}

void SingleInstancePeer::answerCommand(QLocalSocket *socket, const QStringList &args)
{
    if (commandHandler && !handlingCommand && commandReady && !commandReady()) {
        // Not from inside a device transfer's event pumping: again once it is over.
        const QPointer<QLocalSocket> alive(socket);
        QTimer::singleShot(retryMs, this, [this, alive, args] {
            if (alive)
                answerCommand(alive, args);
        });
        return;
    }
    PeerAnswer answer;
    if (!commandHandler) {
        answer.err = QStringLiteral("the running copy of the program takes no commands");
    } else if (handlingCommand) {
        answer.err = QStringLiteral("the running program is busy with another command; try again");
    } else {
        handlingCommand = true;
        const QPointer<QLocalSocket> alive(socket);
        answer = commandHandler(args);   // pumps events while the device works
        handlingCommand = false;
        if (!alive)
            return;                      // the sender gave up waiting
    }
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
