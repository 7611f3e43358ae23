#pragma once

#include <QLocalServer>

// Lets another program of the same user hand this one copy-data records through a
// local socket (the Linux stand-in for WM_COPYDATA). Each record is a 4-byte
// identifier and a 4-byte byte count, both little-endian, then that many bytes;
// a connection may carry any number of records. See the README.
class CopyDataEndpoint : public QLocalServer
{
    Q_OBJECT
public:
    explicit CopyDataEndpoint(QObject *parent = nullptr);

    // The socket's path: "orvane-g7-copydata" in the user's runtime folder.
    static QString socketPath();
    bool open();

    // Larger records are refused and their connection closed.
    static constexpr quint32 maxByteCount = 64 * 1024;

private:
    void acceptConnections();
};
