#pragma once

#include "pageitems.h"
#include "support_xserver.h"

#include <myqquickview.h>
#include <renderer.h>

#include <QApplication>
#include <QTest>

#include <functional>

// Drives the program's page on a private X server with xdotool, as a user's pointer does.
class X11Page
{
public:
    X11Page(VirtualScreen &screen, std::function<myQQuickView *()> view) : screen(screen), view(std::move(view)) {}

    QQuickItem *item(const QString &name) const { return findItem(view()->rootObject(), name); }
    bool shown(const QString &name) const { QQuickItem *it = item(name); return it && it->isVisible(); }
    int xdotool(const QString &arguments) const { return screen.run(QStringLiteral("xdotool ") + arguments); }
    // Moves the pointer to the item's centre and clicks `button` there; xdotool's exit code.
    int click(const QString &name, int button = 1) const
    {
        QQuickItem *it = item(name);
        if (!it || !it->isVisible())
            return -2;
        const QPoint at = view()->mapToGlobal(scenePoint(it));
        return xdotool(QStringLiteral("mousemove %1 %2 click %3").arg(at.x()).arg(at.y()).arg(button));
    }

    VirtualScreen &screen;
    std::function<myQQuickView *()> view;
};

// Starts the private X server and runs the test object made by `make` in it, with a runtime folder of its own.
template <class Test>
int runOnVirtualScreen(int argc, char **argv)
{
    VirtualScreen screen;
    if (!screen.start())
        qFatal("Xvfb did not start: %s", qPrintable(screen.failure));
    qputenv("DISPLAY", screen.environment.value(QStringLiteral("DISPLAY")).toLocal8Bit());
    qunsetenv("QT_QPA_PLATFORM");
    qunsetenv("G7_NO_XRECORD");
    QTemporaryDir runtime;   // the copy-data socket lives there
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    // The window draws as the program's does, without loading the GL driver.
    chooseQuickRenderer();
    QApplication app(argc, argv);
    Test test(screen);
    return QTest::qExec(&test, argc, argv);
}
