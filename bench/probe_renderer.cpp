// Measures the two Qt Quick renderers on the finished main page, run by hand:
//   build/bin/probe_renderer software|opengl
// prints "first-frame-ms <n> page-frame-ms <n> hidden-rss-kib <n> peak-rss-kib <n>".
// First frame: process start to the first rendered frame of the window; page
// frame: to the first frame after the start-up lock showed the whole page;
// hidden: resident memory 3 s after the window went to the tray.

#include <devicewatch.h>
#include <uicontroler.h>
#include <widget.h>

#include <deviceoptions.h>
#include <myqquickview.h>
#include <pauses.h>
#include <simulatedg7.h>

#include "processfigures.h"

#include <QApplication>
#include <QDir>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    const bool software = argc > 1 && qstrcmp(argv[1], "software") == 0;
    QQuickWindow::setGraphicsApi(software ? QSGRendererInterface::Software : QSGRendererInterface::OpenGL);
    QApplication app(argc, argv);
    QDir::setCurrent(QStringLiteral(G7_RUNTIME_DIR));
    setSleeper(std::make_shared<RecordingSleeper>());
    DeviceOptions options;
    options.simulate = true;
    const std::shared_ptr<SimulatedG7> mouse = installDeviceBackend(options);

    Widget w;
    qint64 firstFrame = -1;
    qint64 pageFrame = -1;
    QQuickItem *root = w.controller->view->rootObject();
    QObject::connect(w.controller->view->quickWindow(), &QQuickWindow::afterRendering, &w, [&] {
        if (firstFrame < 0)
            firstFrame = msSinceProcessStart();
        // The page is up once the start-up lock let go of the view.
        if (pageFrame < 0 && root && root->isVisible() && w.controller->view->isEnabled())
            pageFrame = msSinceProcessStart();
    }, Qt::DirectConnection);
    w.showNormal();
    w.checkDevice();

    QTimer::singleShot(3000, &w, [&] { w.controller->onClose(); });
    QTimer::singleShot(6000, &w, [&] {
        std::printf("first-frame-ms %lld page-frame-ms %lld hidden-rss-kib %lld peak-rss-kib %lld\n",
                    firstFrame, pageFrame, statusKib("VmRSS:"), statusKib("VmHWM:"));
        w.hid.stopMonitor();
        QCoreApplication::exit(0);
    });
    return app.exec();
}
