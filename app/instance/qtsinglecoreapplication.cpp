#include "qtsinglecoreapplication.h"

QtSingleCoreApplication::QtSingleCoreApplication(int &argc, char **argv)
    : QApplication(argc, argv), peer(new SingleInstancePeer(this))
{
    connect(peer, &SingleInstancePeer::messageReceived, this, &QtSingleCoreApplication::messageReceived);
}

QtSingleCoreApplication::~QtSingleCoreApplication()
{
    // The lock goes with the application object, not later with its children's clean-up.
    delete peer;
}

bool QtSingleCoreApplication::isRunning() const
{
    return peer->isRunning();
}

QString QtSingleCoreApplication::id() const
{
    return peer->id();
}

void QtSingleCoreApplication::setCommandHandler(SingleInstancePeer::CommandHandler handler,
                                                std::function<bool()> ready)
{
    peer->setCommandHandler(std::move(handler), std::move(ready));
}

bool QtSingleCoreApplication::sendMessage(const QString &message, int timeout)
{
    return peer->sendMessage(message, timeout);
}

bool QtSingleCoreApplication::sendMessage(const QString &message)
{
    return sendMessage(message, 5000);
}
