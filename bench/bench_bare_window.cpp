// The reference for the start-up, memory and wake-up figures: a bare QQuickWidget
// of the main window's size showing one rectangle, with the program's renderer.
//   build/bin/bench_bare_window [--stay]
// prints "first-frame-ms <n> hidden-rss-kib <n>" like probe_renderer: the first
// frame counted from process start, the memory 3 s after the window was hidden
// (3 s after start). With --stay it then idles hidden until it is killed.

#include <QApplication>
#include <QFile>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QTemporaryFile>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

// Milliseconds since the kernel started this process.
qint64 msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of stat
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    return qint64(nowMs - startTicks * 1000.0 / sysconf(_SC_CLK_TCK));
}

qint64 rssKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace

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
        std::printf("first-frame-ms %lld hidden-rss-kib %lld\n", firstFrame, rssKib());
        std::fflush(stdout);
        if (!stay)
            QCoreApplication::exit(0);
    });
    return app.exec();
}
