#include "qtsinglecoreapplication.h"

#include <QCryptographicHash>
#include <QtEndian>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#if defined(Q_OS_WIN)
#  include <QtCore/qt_windows.h>
#else
#  include <unistd.h>
#endif

namespace {

constexpr auto streamVersion = QDataStream::Qt_6_0;
constexpr char ack[] = "ack";
constexpr quint32 maxMessageBytes = 1 << 20;
constexpr quint32 nullStringLength = 0xFFFFFFFF;

QString currentUser()
{
#if defined(Q_OS_WIN)
    return qEnvironmentVariable("USERDOMAIN") + QLatin1Char('\\') + qEnvironmentVariable("USERNAME");
#else
    return QString::number(::getuid());
#endif
}

// The same executable file run by the same user gives the same name.
QString peerName()
{
    QString path = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    if (path.isEmpty())
        path = QCoreApplication::applicationFilePath();
#if defined(Q_OS_WIN)
    path = path.toLower();
#endif
    const QByteArray key = (path + QLatin1Char('\n') + currentUser()).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(20);
    return QCoreApplication::applicationName() + QLatin1Char('-') + QString::fromLatin1(hash);
}

} // namespace

QtSingleCoreApplication::QtSingleCoreApplication(int &argc, char **argv)
    : QApplication(argc, argv), socketName(peerName())
{
    lockFile = std::make_unique<QLockFile>(QDir(QDir::tempPath()).filePath(socketName + QStringLiteral(".lock")));
    // Only a dead holder makes the lock stale, never its age: the first copy may run for weeks.
    lockFile->setStaleLockTime(0);
    if (lockFile->tryLock(0)) {
        startServer();
        return;
    }
    if (lockFile->error() == QLockFile::LockFailedError) {
        otherRunning = true;
        return;
    }
    // The lock cannot be written at all (no temporary folder): run without the peer.
    qDebug() << "single instance lock unavailable:" << lockFile->fileName();
}

QtSingleCoreApplication::~QtSingleCoreApplication()
{
    if (server)
        server->close();
    lockFile.reset();
}

bool QtSingleCoreApplication::isRunning() const
{
    return otherRunning;
}

QString QtSingleCoreApplication::id() const
{
    return socketName;
}

void QtSingleCoreApplication::startServer()
{
    // We hold the lock, so a socket left under this name belongs to a killed copy.
    QLocalServer::removeServer(socketName);
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(socketName)) {
        qDebug() << "single instance peer cannot listen:" << server->errorString();
        return;
    }
    connect(server, &QLocalServer::newConnection, this, &QtSingleCoreApplication::receiveConnection);
}

void QtSingleCoreApplication::receiveConnection()
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
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
            socket->write(ack, sizeof ack - 1);
            socket->flush();
            socket->disconnectFromServer();
            emit messageReceived(message);
        });
    }
}

bool QtSingleCoreApplication::sendMessage(const QString &message, int timeout)
{
    if (!otherRunning)
        return false;

    QDeadlineTimer deadline(timeout);
    const auto remaining = [&deadline] {
        return deadline.isForever() ? -1 : int(qMax<qint64>(deadline.remainingTime(), 0));
    };
    QLocalSocket socket;
    // The first copy may have taken the lock but not be listening yet.
    for (;;) {
        socket.connectToServer(socketName);
        if (socket.waitForConnected(remaining()))
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
    if (!socket.waitForBytesWritten(remaining()))
        return false;
    while (socket.bytesAvailable() < qint64(sizeof ack - 1)) {
        if (!socket.waitForReadyRead(remaining()))
            return false;
    }
    return socket.read(sizeof ack - 1) == ack;
}

bool QtSingleCoreApplication::sendMessage(const QString &message)
{
    return sendMessage(message, 5000);
}
