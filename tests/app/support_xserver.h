#pragma once

#include <QImage>
#include <QtCore>

#include <list>

// A private X server (Xvfb) for the X11 tests, with a tray host (trayer) from the start or later.
class VirtualScreen
{
public:
    ~VirtualScreen() { stop(false); }
    // Starts Xvfb, then (withTray) trayer; true once trayer's window exists, else `failure` says why.
    bool start(bool withTray = true)
    {
        // Servers started at once by tests side by side can pick the same display: such a start is tried again.
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (startServer(attempt) && (!withTray || startTray()))
                return true;
            stop(true);
        }
        return false;
    }
    // Starts the tray host; true once its window exists.
    bool startTray()
    {
        QDeadlineTimer deadline(15000);
        tray.setProcessEnvironment(environment);
        tray.setProcessChannelMode(QProcess::MergedChannels);
        tray.setStandardOutputFile(logs.filePath(QStringLiteral("trayer.log")));
        for (QString found; found.isEmpty(); QThread::msleep(100)) {
            if (deadline.hasExpired())
                return fail("trayer's window did not appear");
            // Now and then trayer cannot open a display that has just answered: it is started again.
            if (tray.state() == QProcess::NotRunning || tray.waitForFinished(0))
                tray.start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("top")});
            run(QStringLiteral("xdotool search --class trayer"), &found);
        }
        return true;
    }
    QString failure;
    // Runs "program args..." (split as a shell would) here: its exit code (-1: crashed or hung) and its output.
    int run(const QString &command, QString *output = nullptr) const
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.startCommand(command);
        const bool finished = process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit;
        if (output)
            *output = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
        return finished ? process.exitCode() : -1;
    }
    int xdotool(const QString &arguments) const { return run(QStringLiteral("xdotool ") + arguments); }
    // Starts "program args..." (split as a shell would) here; it is stopped with the server at the latest.
    QProcess &launch(const QString &command)
    {
        QProcess &process = launched.emplace_back();
        process.setProcessEnvironment(environment);
        process.startCommand(command);
        return process;
    }
    // The whole screen, also kept in the file; null when it could not be taken.
    QImage screenshot(const QString &file) const
    {
        return run(QStringLiteral("import -window root ") + file) == 0 ? QImage(file) : QImage();
    }
    // Moves the pointer to `at` and clicks there as xdotool's click options say; xdotool's exit code.
    int click(const QPoint &at, const QString &how = QStringLiteral("1")) const
    {
        return xdotool(QStringLiteral("mousemove %1 %2 click %3").arg(at.x()).arg(at.y()).arg(how));
    }
    // The visible windows, by id, that `search` (xdotool search's options) finds; also tray icons.
    QMap<QString, QRect> windows(const QString &search) const
    {
        QString shell;
        run(QStringLiteral("xdotool search --onlyvisible %1 getwindowgeometry --shell %@").arg(search), &shell);
        QMap<QString, QRect> found;
        static const QRegularExpression geometry(
            QStringLiteral("WINDOW=(\\d+)\\D+(\\d+)\\D+(\\d+)\\D+(\\d+)\\D+(\\d+)"));
        for (const QRegularExpressionMatch &g : geometry.globalMatch(shell)) {
            const auto n = [&g](int i) { return g.captured(i).toInt(); };
            found.insert(g.captured(1), QRect(n(2), n(3), n(4), n(5)));
        }
        return found;
    }
    // The program's page window (of the page's size) among the visible windows `search` finds; null when none.
    QRect pageWindow(const QString &search) const
    {
        for (const QRect &r : windows(search)) {
            if (r.size() == QSize(1000, 640))
                return r;
        }
        return {};
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment(); // for programs drawing here

private:
    // Starts Xvfb; true once its display answers. The display is the process's own (Xvfb's choice races).
    bool startServer(int attempt)
    {
        const qint64 display = 100 + (QCoreApplication::applicationPid() * 3 + attempt * 7) % 800;
        // Xvfb writes the display number to descriptor 3, here our pipe, once it takes connections.
        server.setStandardErrorFile(logs.filePath(QStringLiteral("Xvfb.log")));
        server.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral(
                         "exec Xvfb :%1 -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>&1 1>/dev/null").arg(display)});
        QByteArray number;
        QDeadlineTimer deadline(15000);
        while (!number.endsWith('\n')) {
            if (deadline.hasExpired() || !server.waitForReadyRead(int(deadline.remainingTime())))
                return fail("Xvfb gave no display number");
            number += server.readAllStandardOutput();
        }
        environment.insert(QStringLiteral("DISPLAY"), QLatin1Char(':') + QString::fromLatin1(number.trimmed()));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        // What runs here keeps its settings in memory and never reaches the desktop's session bus.
        environment.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
        while (run(QStringLiteral("xdotool getdisplaygeometry")) != 0) {
            if (deadline.hasExpired() || server.state() != QProcess::Running)
                return fail("Xvfb does not answer on its display");
            QThread::msleep(50);
        }
        return true;
    }
    void stop(bool kill)
    {
        for (QProcess &process : launched) {
            process.kill();
            process.waitForFinished(3000);
        }
        for (QProcess *process : {&tray, &server}) {
            kill ? process->kill() : process->terminate();
            process->waitForFinished(3000); // QProcess's destructor kills what still runs
        }
    }
    bool fail(const char *step)
    {
        const auto log = [this](const char *name) {
            QFile file(logs.filePath(QLatin1String(name)));
            return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()).trimmed() : QString();
        };
        failure = QStringLiteral("%1 (DISPLAY %2). Xvfb: [%3] trayer: [%4]")
                      .arg(QLatin1String(step), environment.value(QStringLiteral("DISPLAY")), log("Xvfb.log"), log("trayer.log"));
        return false;
    }

    QTemporaryDir logs;
    QProcess server, tray;
    std::list<QProcess> launched;
};

// The points of `within` in the colour (its alpha aside), row by row.
inline QList<QPoint> pixelsOf(const QImage &shot, const QRect &within, QRgb colour)
{
    QList<QPoint> found;
    for (int i = 0; i < within.width() * within.height(); ++i) {
        const QPoint at = within.topLeft() + QPoint(i % within.width(), i / within.width());
        if ((shot.pixel(at) & 0xFFFFFF) == (colour & 0xFFFFFF))
            found << at;
    }
    return found;
}
