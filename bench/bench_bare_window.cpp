// The reference for the start-up, memory and wake-up figures: a bare QQuickWidget
// of the main window's size showing one rectangle, with the program's renderer.
//   build/bin/bench_bare_window [--stay]
// prints "first-frame-ms <n> hidden-rss-kib <n>" like probe_renderer: the first
// frame counted from process start, the memory 3 s after the window was hidden
// (3 s after start). With --stay it then idles hidden until it is killed.

#include "processfigures.h"

#include <QApplication>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QTemporaryFile>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    // The program's own choice (app/renderer.cpp): software unless the user names one.
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    const bool stay = argc > 1 && qstrcmp(argv[1], "--stay") == 0;
    QApplication app(argc, argv);

    QTemporaryFile qml(QStringLiteral("bare-XXXXXX.qml"));
    if (!qml.open())
        return 1;
    qml.write("import QtQuick\nRectangle { color: \"#202020\" }\n");
    qml.flush();

    QQuickWidget view;
    view.setWindowFlags(Qt::FramelessWindowHint);
    view.setResizeMode(QQuickWidget::SizeRootObjectToView);
    view.resize(1000, 640);
    view.setSource(QUrl::fromLocalFile(qml.fileName()));
    qint64 firstFrame = -1;
    QObject::connect(view.quickWindow(), &QQuickWindow::afterRendering, &view, [&] {
        if (firstFrame < 0)
            firstFrame = msSinceProcessStart();
    }, Qt::DirectConnection);
    view.show();

    QTimer::singleShot(3000, &view, [&] { view.hide(); });
    QTimer::singleShot(6000, &view, [&] {
        std::printf("first-frame-ms %lld hidden-rss-kib %lld\n", firstFrame, statusKib("VmRSS:"));
        std::fflush(stdout);
        if (!stay)
            QCoreApplication::exit(0);
    });
    return app.exec();
}
