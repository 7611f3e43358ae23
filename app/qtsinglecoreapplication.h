#pragma once

#include <QApplication>
#include <QString>

class QLocalServer;
class QLocalSocket;

// The GUI application object that also makes sure one copy of the program runs
// per user and executable file. The first copy holds a lock on a file and listens
// on a local socket; a later copy finds the lock held, sends its message over the
// socket and leaves. The lock is the operating system's, so it dies with its
// holder and whatever the file contains does not matter. Copies of the executable
// at different paths, or run by different users, do not see each other; links to
// one file, whatever their names, are one program.
class QtSingleCoreApplication : public QApplication
{
    Q_OBJECT
public:
    QtSingleCoreApplication(int &argc, char **argv);
    ~QtSingleCoreApplication() override;

    // True when another process with the same identity holds the peer.
    bool isRunning() const;
    // The name the peer listens on, derived from the executable and the user.
    QString id() const;

public slots:
    bool sendMessage(const QString &message, int timeout);
    bool sendMessage(const QString &message);

signals:
    void messageReceived(const QString &message);

private:
    void startServer();
    void receiveConnection();

    QString socketName;
    qintptr lockHandle = -1; // the open lock file, -1 when not held
    QLocalServer *server = nullptr;
    bool otherRunning = false;
};
