#include "windowrestore.h"

#include <QWidget>

#if defined(Q_OS_WIN)
#  include <QtCore/qt_windows.h>
#endif

void postRestore(QWidget *window)
{
#if defined(Q_OS_WIN)
    // The widget makes itself visible on SC_RESTORE; the default window
    // procedure then leaves the minimised state.
    PostMessageW(reinterpret_cast<HWND>(window->winId()), WM_SYSCOMMAND, SC_RESTORE, 0);
#else
    // The window is the call's context: a window deleted meanwhile drops it.
    QMetaObject::invokeMethod(window, [window] { restoreWindow(window); }, Qt::QueuedConnection);
#endif
}

void restoreWindow(QWidget *window)
{
    window->setVisible(true);
#if !defined(Q_OS_WIN)
    if (window->windowState() & Qt::WindowMinimized)
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
#endif
}
