#include "copydataendpoint.h"

#include "inputhook.h"

#include <QDebug>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QtEndian>

#include <memory>

namespace {

constexpr int headerSize = 8;

// Takes every complete record out of the socket's buffer and hands it on.
void readRecords(QLocalSocket *socket, QByteArray *pending)
{
    QPointer<QLocalSocket> guard(socket);
    pending->append(socket->readAll());
    while (pending->size() >= headerSize) {
        const quint32 identifier = qFromLittleEndian<quint32>(pending->constData());
        const quint32 count = qFromLittleEndian<quint32>(pending->constData() + 4);
        if (count > CopyDataEndpoint::maxByteCount) {
            qDebug() << "copy-data record too long:" << count << "bytes";
            pending->clear();
            socket->abort();
            return;
        }
        if (pending->size() < headerSize + qsizetype(count))
            return;
        const QByteArray bytes = pending->mid(headerSize, count);
        pending->remove(0, headerSize + count);
        CopyDataRecord record;
        record.identifier = identifier;
        record.byteCount = count;
        record.data = bytes.constData();
        // The receiver may open a modal box; the socket can be gone when it closes.
        InputHook::copyDataMessage(record);
        if (!guard)
            return;
    }
}

} // namespace

CopyDataEndpoint::CopyDataEndpoint(QObject *parent)
    : QLocalServer(parent)
{
    setSocketOptions(QLocalServer::UserAccessOption);
    connect(this, &QLocalServer::newConnection, this, &CopyDataEndpoint::acceptConnections);
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
    const QString path = socketPath();
    if (listen(path))
        return true;
    // Only one copy of the program runs, so a socket already there was left by a crash.
    if (serverError() == QAbstractSocket::AddressInUseError && removeServer(path) && listen(path))
        return true;
    qDebug() << "copy-data endpoint not available:" << errorString();
    return false;
}

void CopyDataEndpoint::acceptConnections()
{
    while (QLocalSocket *socket = nextPendingConnection()) {
        // The buffer lives as long as the connection that captures it.
        auto pending = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, socket, [socket, pending] { readRecords(socket, pending.get()); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}
