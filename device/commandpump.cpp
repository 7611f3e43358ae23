#include "commandpump.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace {

// Glib's event dispatcher, Qt's default on Linux, ignores ExcludeSocketNotifiers.
// Its notifiers are level-triggered, so an activation held back here comes again
// after the pump. (Windows' dispatcher honours the flag and would not repeat one.)
class SocketActivityHold : public QObject
{
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        return event->type() == QEvent::SockAct || event->type() == QEvent::SockClose;
    }
};

std::function<bool()> &pumpHold()
{
    static std::function<bool()> holdsAll;
    return holdsAll;
}

} // namespace

void setCommandPumpHold(std::function<bool()> holdsAll)
{
    pumpHold() = std::move(holdsAll);
}

void pumpCommandEvents()
{
    if (pumpHold() && pumpHold()())
        return;
    constexpr QEventLoop::ProcessEventsFlags flags =
            QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers;
#if defined(Q_OS_WIN)
    QCoreApplication::processEvents(flags);
#else
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || app->thread() != QThread::currentThread()) {
        QCoreApplication::processEvents(flags);     // no application filter sees another thread's events
        return;
    }
    SocketActivityHold hold;
    app->installEventFilter(&hold);
    QCoreApplication::processEvents(flags);
    app->removeEventFilter(&hold);
#endif
}
