#include "windowinputfeed.h"

#include "inputhook.h"
#include "linuxinputmap.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace {

int xButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::MiddleButton:
        return 2;
    case Qt::RightButton:
        return 3;
    default:
        return 0;
    }
}

} // namespace

WindowInputFeed::WindowInputFeed(QObject *parent)
    : QObject(parent)
{
}

bool WindowInputFeed::eventFilter(QObject *watched, QEvent *event)
{
    // Each input event reaches its native window once; the widgets and Qt Quick items
    // it is passed on to afterwards would count it again.
    if (!watched->isWindowType() || !watched->inherits("QWidgetWindow"))
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        const auto code = LinuxInputMap::fromEvdev(key->nativeScanCode() - LinuxInputMap::xKeycodeOffset);
        if (code.scanCode)
            InputHook::keyboardProcedure(0, event->type() == QEvent::KeyPress ? HookMessage::keyDown
                                                                              : HookMessage::keyUp,
                                         code.scanCode, code.flags);
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const quint32 message =
            LinuxInputMap::mouseMessage(xButton(mouse->button()), event->type() == QEvent::MouseButtonPress);
        const QPoint at = mouse->globalPosition().toPoint();
        if (message)
            InputHook::mouseProcedure(0, message, at.x(), at.y());
        break;
    }
    default:
        break;
    }
    return false;
}
