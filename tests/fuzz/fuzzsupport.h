#pragma once

#include "discovery.h"
#include "hid_thread.h"
#include "pauses.h"
#include "simulatedg7.h"
#include "storefile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

// What every target shares: a Qt application, quiet debug output, pauses not waited, and a data
// folder of its own (./modules/ below a temporary directory made current), so
// a reader that would write can only write there.
namespace FuzzSupport {

// Says what went wrong and ends the run as a crash would, so both drivers report the case.
[[noreturn]] inline void fail(const QString &what)
{
    fprintf(stderr, "%s\n", qPrintable(what));
    abort();
}

inline const QStringList subfolders = {"modules/setting", "modules/macro", "modules/gun", "modules/i18n"};

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
    setSleeper(std::make_shared<RecordingSleeper>());
    for (const QString &folder : subfolders)
        QDir().mkpath(folder);
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

// The simulated mouse, but every reply and every input report it delivers is
// taken from the fuzz case: one byte chooses the length (-1 for a failed call,
// 0 up to the buffer's size), the bytes after it are the report. When the case
// is used up, reads fail and the mouse is unplugged.
class FuzzedMouse : public SimulatedG7
{
public:
    FuzzedMouse(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}

    int getFeatureReport(HidHandle *dev, unsigned char *data, size_t length) override
    {
        return next(dev, data, length);
    }
    int readTimeout(HidHandle *dev, unsigned char *data, size_t length, int) override
    {
        return next(dev, data, length);
    }

    bool exhausted() const { return m_pos >= m_size; }

    int takeByte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

private:
    int next(HidHandle *, unsigned char *data, size_t length)
    {
        // A monitor loop the connect step started reads on a pool thread; the
        // case is for the GUI thread's replies, the loop only hears silence.
        if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
            QThread::msleep(1);
            return 0;
        }
        if (exhausted()) {
            unplug();
            return -1;
        }
        const int count = takeByte() % int(length + 2) - 1;
        if (count < 0)
            return -1;
        const size_t available = std::min(size_t(count), m_size - m_pos);
        std::memset(data, 0, length);
        std::memcpy(data, m_data + m_pos, available);
        m_pos += available;
        return count;
    }

    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// A device object that found the simulated mouse through the shipped catalogue.
inline void attach(Hid_Thread &hid) { findCataloguedDevices(hid, StoreFile::format(), {}, QStringLiteral(":/DevInfo.ini")); }
