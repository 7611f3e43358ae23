#pragma once

#include <QProcess>

// A private X server (Xvfb) with a tray host (trayer) for the X11 tests.
class VirtualScreen
{
public:
    ~VirtualScreen();
    // Starts Xvfb on a display it picks itself, then trayer; true once trayer's window exists.
    bool start();
    QProcessEnvironment environment() const;
    // Runs "program args..." here (xdotool, xprop, import): its output, trimmed, and its exit code (-1: crashed, hung).
    QString run(const QString &command, const QStringList &more = {}, int *exitCode = nullptr) const;

private:
    QProcess server, tray;
    QString display;
};
