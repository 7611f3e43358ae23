#pragma once

#include <QObject>
#include <QTimer>

class QLocalSocket;
class QSocketNotifier;

// Lets another program of the same user hand this one copy-data records through a
// local socket (the Linux stand-in for WM_COPYDATA). Each record is a 4-byte
// identifier and a 4-byte byte count, both little-endian, then that many bytes;
// a connection may carry any number of records. See the README.
class CopyDataEndpoint : public QObject
{
    Q_OBJECT
public:
    explicit CopyDataEndpoint(QObject *parent = nullptr);
    ~CopyDataEndpoint() override;

    // The socket's path: "orvane-g7-copydata" in the user's runtime folder.
    static QString socketPath();
    bool open();

    // Larger records are refused and their connection closed.
    static constexpr quint32 maxByteCount = 64 * 1024;
    // A connection silent this long is dropped; beyond this many, new ones are closed at once.
    static constexpr int idleMs = 3000;
    static constexpr int maxConnections = 32;
    // When a connection cannot be taken (no descriptor left), the next try is this much later.
    static constexpr int acceptRetryMs = 1000;

signals:
    // Each record, emitted from the event loop, never from inside the socket's own handlers.
    void recordReceived(quint32 identifier, const QByteArray &bytes);

private:
    void acceptConnections();
    void adopt(int descriptor);
    void readRecords(QLocalSocket *socket, QByteArray *pending);

    int listener = -1;
    QSocketNotifier *notifier = nullptr;
    QTimer acceptRetry;
    int connections = 0;
    bool toldFull = false;
    bool toldAcceptFailure = false;
};
