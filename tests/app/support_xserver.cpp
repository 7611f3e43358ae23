#include "support_xserver.h"

#include <QDeadlineTimer>
#include <QThread>

VirtualScreen::~VirtualScreen()
{
    for (auto *process : {tray.get(), server.get()}) {
        if (process && process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(3000)) {
                process->kill();
                process->waitForFinished();
            }
        }
    }
}

bool VirtualScreen::start(bool withTray)
{
    server = std::make_unique<QProcess>();
    // Xvfb writes the display number it picked to descriptor 3, here our pipe.
    server->start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"),
                   QStringLiteral("exec Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp "
                                  "3>&1 1>/dev/null 2>/dev/null")});
    if (!server->waitForStarted())
        return false;
    QByteArray number;
    QDeadlineTimer deadline(15000);
    while (!number.endsWith('\n')) {
        if (deadline.hasExpired() || !server->waitForReadyRead(int(deadline.remainingTime())))
            return false;
        number += server->readAllStandardOutput();
    }
    displayName = QLatin1Char(':') + QString::fromLatin1(number.trimmed());

    if (!withTray)
        return true;
    tray = std::make_unique<QProcess>();
    tray->setProcessEnvironment(environment());
    tray->start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("top")});
    if (!tray->waitForStarted())
        return false;
    // The tray host is ready once it owns the system tray selection.
    while (!deadline.hasExpired()) {
        if (run(QStringLiteral("xdotool"),
                {QStringLiteral("search"), QStringLiteral("--class"), QStringLiteral("trayer")}))
            return true;
        QThread::msleep(100);
    }
    return false;
}

QProcessEnvironment VirtualScreen::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), displayName);
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

bool VirtualScreen::run(const QString &program, const QStringList &args, QString *output, int timeoutMs) const
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, args);
    const bool ok = process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit
                    && process.exitCode() == 0;
    if (output)
        *output = ok ? QString::fromLocal8Bit(process.readAllStandardOutput()) : QString();
    return ok;
}

QString VirtualScreen::output(const QString &program, const QStringList &args) const
{
    QString text;
    run(program, args, &text);
    return text;
}
