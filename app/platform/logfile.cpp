#include "logfile.h"

#include <devicelog.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

namespace {

QtMessageHandler consoleHandler = nullptr;
LogFile *installedLog = nullptr;
QMutex logMutex;   // the event monitor writes from the thread pool

const char *typeName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg: return "debug";
    case QtInfoMsg: return "info";
    case QtWarningMsg: return "warning";
    case QtCriticalMsg: return "critical";
    case QtFatalMsg: return "fatal";
    }
    return "debug";
}

void handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    {
        QMutexLocker lock(&logMutex);
        if (installedLog) {
            const QString line = QDateTime::currentDateTime().toString(Qt::ISODateWithMs) + QLatin1Char(' ')
                                 + QLatin1String(typeName(type)) + QLatin1String(": ") + message;
            installedLog->append(line);
        }
    }
    if (!consoleHandler)
        return;
    // The device layer's texts reach the console as they always read, without their category's name.
    if (context.category && qstrcmp(context.category, lcDevice().categoryName()) == 0) {
        const QMessageLogContext plain(context.file, context.line, context.function, "default");
        consoleHandler(type, plain, message);
        return;
    }
    consoleHandler(type, context, message);
}

} // namespace

LogFile::LogFile(const QString &path, qint64 limit)
    : filePath(path), limit(limit), file(path)
{
}

LogFile::~LogFile()
{
    QMutexLocker lock(&logMutex);
    if (installedLog == this)
        installedLog = nullptr;
}

QString LogFile::defaultPath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative XDG value is invalid and is ignored, as desktops do.
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QLatin1String("/.local/state");
    return state + QLatin1String("/orvane-g7/orvane-g7.log");
}

void LogFile::install(LogFile *log)
{
    QMutexLocker lock(&logMutex);
    installedLog = log;
    QtMessageHandler previous = qInstallMessageHandler(handleMessage);
    if (previous != handleMessage)
        consoleHandler = previous;
}

bool LogFile::open()
{
    if (file.isOpen())
        return true;
    if (failed)
        return false;
    QDir().mkpath(QFileInfo(filePath).path());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        // Said once on the console (not through the handler, which holds the lock), then quiet.
        failed = true;
        if (consoleHandler)
            consoleHandler(QtWarningMsg, QMessageLogContext(),
                           QStringLiteral("cannot write the log file %1: %2").arg(filePath, file.errorString()));
        return false;
    }
    return true;
}

void LogFile::rotate()
{
    file.close();
    const QString older = filePath + QLatin1String(".1");
    QFile::remove(older);
    if (!QFile::rename(filePath, older))
        QFile::remove(filePath);
}

bool LogFile::append(const QString &line)
{
    QByteArray bytes = line.toUtf8();
    // A line longer than the whole file is cut rather than breaking the bound.
    if (bytes.size() + 1 > limit)
        bytes.truncate(limit - 1);
    bytes.append('\n');
    if (!open())
        return false;
    if (file.size() + bytes.size() > limit) {
        rotate();
        if (!open())
            return false;
    }
    const bool written = file.write(bytes) == bytes.size();
    file.flush();   // a crash right after must not lose the line that explains it
    return written;
}
