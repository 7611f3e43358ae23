#pragma once

#include "singleinstancepeer.h"

#include <QApplication>
#include <QString>

// The GUI application object combined with the single-instance peer: the
// first copy listens, a later copy finds it running and hands over its message
// or its command-line command (see SingleInstancePeer).
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
    // Carries out command-line commands handed over by later copies.
    void setCommandHandler(SingleInstancePeer::CommandHandler handler, std::function<bool()> ready = {});

public slots:
    bool sendMessage(const QString &message, int timeout);
    bool sendMessage(const QString &message);

signals:
    void messageReceived(const QString &message);

private:
    SingleInstancePeer *peer = nullptr;
};
