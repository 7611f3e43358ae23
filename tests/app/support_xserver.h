#pragma once

#include <QProcess>
#include <QString>

#include <memory>

// A private X server (Xvfb) with a tray host (trayer) for tests that need a
// real window system. Start it before the application object exists when the
// test process itself is to draw on it.
class VirtualScreen
{
public:
    VirtualScreen() = default;
    ~VirtualScreen();

    // Starts Xvfb on a free display chosen by the server itself; with
    // withTray, also a tray host, and waits until it owns the tray selection.
    bool start(bool withTray);
    QString display() const { return displayName; }
    // Environment for child processes that should draw on this screen.
    QProcessEnvironment environment() const;
    // Runs a helper (xdotool, import) on this screen; true when it succeeded.
    bool run(const QString &program, const QStringList &args, QString *output = nullptr,
             int timeoutMs = 10000) const;
    // Its standard output, empty when it failed.
    QString output(const QString &program, const QStringList &args) const;

private:
    std::unique_ptr<QProcess> server;
    std::unique_ptr<QProcess> tray;
    QString displayName;
};
