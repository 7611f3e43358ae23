#include "copydataendpoint.h"

#include <QDebug>
#include <QFile>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QtEndian>

#include <memory>

#include <cerrno>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr int headerSize = 8;
constexpr int backlog = 64;

} // namespace

CopyDataEndpoint::CopyDataEndpoint(QObject *parent)
    : QObject(parent)
{
    acceptRetry.setSingleShot(true);
    acceptRetry.setInterval(acceptRetryMs);
    connect(&acceptRetry, &QTimer::timeout, this, [this] {
        if (notifier)
            notifier->setEnabled(true);
    });
}

CopyDataEndpoint::~CopyDataEndpoint()
{
    if (listener < 0)
        return;
    delete notifier;
    ::close(listener);
    QFile::remove(socketPath());
}

QString CopyDataEndpoint::socketPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        return QStringLiteral("orvane-g7-copydata");
    return folder + QStringLiteral("/orvane-g7-copydata");
}

bool CopyDataEndpoint::open()
{
    if (listener >= 0)
        return true;
    const QByteArray path = QFile::encodeName(socketPath());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof address.sun_path) {
        qDebug() << "copy-data endpoint not available: its path is too long:" << socketPath();
        return false;
    }
    memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const auto bindTo = [&] { return ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0; };
    // Only one copy of the program runs, so a socket already there was left by a crash.
    bool bound = fd >= 0 && (bindTo() || (errno == EADDRINUSE && ::unlink(path.constData()) == 0 && bindTo()));
    // Only the same user may connect; nobody can before listen(), so there is no window.
    if (bound && (::chmod(path.constData(), 0600) != 0 || ::listen(fd, backlog) != 0)) {
        ::unlink(path.constData());
        bound = false;
    }
    if (!bound) {
        qDebug().noquote() << "copy-data endpoint not available:" << qt_error_string(errno);
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    listener = fd;
    notifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &CopyDataEndpoint::acceptConnections);
    return true;
}

void CopyDataEndpoint::acceptConnections()
{
    for (;;) {
        const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                toldAcceptFailure = false; // caught up: a later failure is news again
                return;
            }
            // Out of descriptors: the caller waits in the backlog while we listen on.
            if (!toldAcceptFailure)
                qDebug().nospace().noquote() << "copy-data endpoint cannot take a connection: " << qt_error_string(errno)
                                   << "; trying again every " << acceptRetryMs << " ms";
            toldAcceptFailure = true;
            notifier->setEnabled(false);
            acceptRetry.start();
            return;
        }
        if (connections >= maxConnections) {
            if (!toldFull)
                qDebug() << "copy-data endpoint has" << maxConnections << "connections open; closing new ones";
            toldFull = true;
            ::close(fd);
            continue;
        }
        toldFull = false;
        adopt(fd);
    }
}

void CopyDataEndpoint::adopt(int descriptor)
{
    auto *socket = new QLocalSocket(this);
    if (!socket->setSocketDescriptor(qintptr(descriptor))) {
        ::close(descriptor);
        delete socket;
        return;
    }
    ++connections;
    connect(socket, &QObject::destroyed, this, [this] { --connections; });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // A sender that never finishes would keep its descriptor for good.
    auto *idle = new QTimer(socket);
    idle->setObjectName(QStringLiteral("idle"));
    idle->setSingleShot(true);
    idle->setInterval(idleMs);
    connect(idle, &QTimer::timeout, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    idle->start();
    // The buffer lives as long as the connection that captures it.
    auto pending = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, socket, [this, socket, idle, pending] {
        idle->start();
        readRecords(socket, pending.get());
    });
}

// Takes every complete record out of the socket's buffer; each is handed on from the event loop.
void CopyDataEndpoint::readRecords(QLocalSocket *socket, QByteArray *pending)
{
    pending->append(socket->readAll());
    while (pending->size() >= headerSize) {
        const quint32 identifier = qFromLittleEndian<quint32>(pending->constData());
        const quint32 count = qFromLittleEndian<quint32>(pending->constData() + 4);
        if (count > maxByteCount) {
            qDebug() << "copy-data record too long:" << count << "bytes";
            pending->clear();
            socket->abort();
            return;
        }
        if (pending->size() < headerSize + qsizetype(count))
            return;
        const QByteArray bytes = pending->mid(headerSize, count);
        pending->remove(0, headerSize + count);
        QMetaObject::invokeMethod(this, [this, identifier, bytes] { emit recordReceived(identifier, bytes); },
                                  Qt::QueuedConnection);
    }
}
