#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

// A private X server (Xvfb) with a tray host (trayer) for the X11 tests.
class VirtualScreen
{
public:
    ~VirtualScreen()
    {
        for (QProcess *process : {&tray, &server}) {
            process->terminate();
            process->waitForFinished(3000); // QProcess's destructor kills what still runs
        }
    }
    // Starts Xvfb on a display it picks itself, then trayer; true once trayer's window exists.
    bool start()
    {
        // Xvfb writes the display number it picked to descriptor 3, here our pipe.
        server.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral(
                         "exec Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>&1 1>/dev/null 2>&1")});
        QByteArray number;
        QDeadlineTimer deadline(15000);
        while (!number.endsWith('\n')) {
            if (deadline.hasExpired() || !server.waitForReadyRead(int(deadline.remainingTime()))) {
                qWarning("Xvfb named no display within 15 s (%s)", qPrintable(server.errorString()));
                return false;
            }
            number += server.readAllStandardOutput();
        }
        environment.insert(QStringLiteral("DISPLAY"), QLatin1Char(':') + QString::fromLatin1(number.trimmed()));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        tray.setProcessEnvironment(environment);
        tray.start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("top")});
        for (QString found; found.isEmpty() && !deadline.hasExpired(); QThread::msleep(100))
            run(QStringLiteral("xdotool search --class trayer"), &found);
        if (deadline.hasExpired())
            qWarning("trayer's window did not show on %s within 15 s", qPrintable(environment.value(QStringLiteral("DISPLAY"))));
        return !deadline.hasExpired();
    }
    // Runs "program args..." (split at spaces) here: its exit code (-1: crashed or hung) and its output.
    int run(const QString &command, QString *output = nullptr) const
    {
        QStringList words = command.split(QLatin1Char(' '));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(words.takeFirst(), words);
        const bool finished = process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit;
        if (output)
            *output = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
        return finished ? process.exitCode() : -1;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment(); // for programs drawing here

private:
    QProcess server, tray;
};
