#pragma once

#include "support_xserver.h"

#include <renderer.h>

#include <QApplication>
#include <QTest>

// Starts the private X server and runs the test, made with it, there with a runtime folder of its own.
template <class Test>
int runOnVirtualScreen(int argc, char **argv)
{
    VirtualScreen screen;
    if (!screen.start())
        qFatal("Xvfb did not start: %s", qPrintable(screen.failure));
    qputenv("DISPLAY", screen.environment.value(QStringLiteral("DISPLAY")).toLocal8Bit());
    qunsetenv("QT_QPA_PLATFORM");
    qunsetenv("G7_NO_XRECORD");
    // The active window and the input are X11's here, whatever session the test was started from.
    qunsetenv("WAYLAND_DISPLAY");
    qunsetenv("XDG_SESSION_TYPE");
    QTemporaryDir runtime;   // the copy-data socket lives there
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    // The window draws as the program's does, without loading the GL driver.
    chooseQuickRenderer();
    QApplication app(argc, argv);
    Test test(screen);
    return QTest::qExec(&test, argc, argv);
}
