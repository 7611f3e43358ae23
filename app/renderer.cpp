#include "renderer.h"

#include <QQuickWindow>
#include <QSGRendererInterface>

void chooseQuickRenderer()
{
    // A QT_QUICK_BACKEND given by the user wins.
    if (qEnvironmentVariableIsSet("QT_QUICK_BACKEND"))
        return;
    // The program idles in the tray all day: the software renderer starts
    // faster and keeps far less memory resident than OpenGL on this page.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}
