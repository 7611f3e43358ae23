#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

// What every target shares: a Qt application, quiet debug output, and a data
// folder of its own (./modules/ below a temporary directory made current), so
// a reader that would write can only write there.
namespace FuzzSupport {

// Says what went wrong and ends the run as a crash would, so both drivers report the case.
[[noreturn]] inline void fail(const QString &what)
{
    fprintf(stderr, "%s\n", qPrintable(what));
    abort();
}

inline QTemporaryDir &dataFolder()
{
    static QTemporaryDir dir;
    return dir;
}

inline void init()
{
    if (QCoreApplication::instance())
        return;   // set up by an earlier case
    // A reader's debug lines about bad input are expected; printing them would drown the run.
    if (!qEnvironmentVariableIsSet("G7_FUZZ_VERBOSE"))
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type == QtFatalMsg)
                fail(text);
        });
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    QDir::setCurrent(dataFolder().path());
    for (const char *folder : {"setting", "macro", "gun", "i18n"})
        QDir().mkpath(QStringLiteral("modules/") + QLatin1String(folder));
}

// Writes the case to a data file, the run set up first. Each write gets a later
// modification time, so QSettings' file cache never mistakes it for the one before.
inline void writeCase(const QString &relative, const uint8_t *data, size_t size)
{
    init();
    static qint64 stamp = 1000000000;
    QFile out(relative);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        abort();
    out.write(reinterpret_cast<const char *>(data), qint64(size));
    out.close();
    out.setFileTime(QDateTime::fromSecsSinceEpoch(++stamp), QFileDevice::FileModificationTime);
}

// Nothing but the data folder may gain files: the current directory's parent stays as it was.
inline void checkNoWriteOutside()
{
    const QFileInfoList entries = QDir(dataFolder().path()).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (entry.fileName() != QLatin1String("modules"))
            fail(QStringLiteral("written outside the data folder: ") + entry.filePath());
    }
}

} // namespace FuzzSupport
