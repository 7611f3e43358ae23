#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class QDeadlineTimer;
class QLocalServer;
class QLocalSocket;

// What the running copy answers to a command handed to it: the exit code and
// the lines for standard output and standard error.
struct PeerAnswer
{
    int code = 1;
    QString out;
    QString err;
};

// One copy of the program per user and executable file. The first copy holds a
// lock on a file and listens on a local socket; a later copy finds the lock
// held and talks to it over the socket: a plain message is acknowledged at
// once, a command is answered when the running copy has carried it out. The
// lock is the operating system's, so it dies with its holder and whatever the
// file contains does not matter. Where the temporary folder cannot serve, an
// abstract socket name is both the lock and the channel. Copies of the executable at different paths,
// or run by different users, do not see each other; links to one file,
// whatever their names, are one program.
class SingleInstancePeer : public QObject
{
    Q_OBJECT
public:
    using CommandHandler = std::function<PeerAnswer(const QStringList &args)>;

    // Without `hold`, the peer only looks whether another copy runs: a lock it
    // finds free is let go at once and nothing listens.
    explicit SingleInstancePeer(QObject *parent = nullptr, bool hold = true);
    ~SingleInstancePeer() override;

    // True when another process with the same identity holds the peer.
    bool isRunning() const { return otherRunning; }
    // The name the peer listens on, derived from the executable and the user.
    QString id() const { return socketName; }
    // The same name without a peer: for this program's other per-user locks.
    static QString programId();

    bool sendMessage(const QString &message, int timeout);
    // Hands a command to the running copy and waits up to `timeout` ms for its
    // answer. False when there is none, nobody answered or the time ran out.
    bool sendCommand(const QStringList &args, int timeout, PeerAnswer *answer);

    // Carries out commands from other copies; one at a time, a second one
    // arriving meanwhile is answered busy. While `ready` says no (the device is
    // in the middle of something that pumps events), a command waits its turn.
    void setCommandHandler(CommandHandler handler, std::function<bool()> ready = {})
    {
        commandHandler = std::move(handler);
        commandReady = std::move(ready);
    }

signals:
    void messageReceived(const QString &message);

private:
    void startServer();
    void receiveConnection();
    // Runs a handed command from the event loop; a sender gone by then gets no answer.
    void answerCommand(const QPointer<QLocalSocket> &socket, const QStringList &args);
    // Connects to the running copy and writes one message; false when it is not reached in time.
    bool writeToRunning(QLocalSocket &socket, const QString &message, const QDeadlineTimer &deadline);

    QString socketName;
    qintptr lockHandle = -1; // the open lock file, -1 when not held
    QLocalServer *server = nullptr;
    bool otherRunning = false;
    // Under an abstract socket name (Linux) when the temporary folder cannot hold the lock or the socket.
    bool abstractName = false;
    int peers = 0;
    bool handlingCommand = false;
    CommandHandler commandHandler;
    std::function<bool()> commandReady;
};
