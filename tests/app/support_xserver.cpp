#include "support_xserver.h"

#include <QDeadlineTimer>
#include <QThread>

VirtualScreen::~VirtualScreen()
{
    for (QProcess *process : {&tray, &server}) {
        process->terminate();
        process->waitForFinished(3000); // QProcess's destructor kills what still runs
    }
}

bool VirtualScreen::start()
{
    // Xvfb writes the display number it picked to descriptor 3, here our pipe.
    server.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral(
                     "exec Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>&1 1>/dev/null 2>&1")});
    QDeadlineTimer deadline(15000);
    while (!display.endsWith(QLatin1Char('\n'))) {
        if (deadline.hasExpired() || !server.waitForReadyRead(int(deadline.remainingTime())))
            return false;
        display += QString::fromLatin1(server.readAllStandardOutput());
    }
    display = QLatin1Char(':') + display.trimmed();
    tray.setProcessEnvironment(environment());
    tray.start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("top")});
    while (run(QStringLiteral("xdotool search --class trayer")).isEmpty()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    return true;
}

QProcessEnvironment VirtualScreen::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

QString VirtualScreen::run(const QString &command, const QStringList &more, int *exitCode) const
{
    QStringList words = command.split(QLatin1Char(' ')) + more;
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(words.takeFirst(), words);
    const bool finished = process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit;
    if (exitCode)
        *exitCode = finished ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}
