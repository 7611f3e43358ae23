#include "devicelock.h"

#include "filelock.h"
#include "singleinstancepeer.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QThread>

namespace {

// A command-line call takes a fraction of a second to a few seconds; look this often.
constexpr int retryMs = 20;

} // namespace

DeviceLock::DeviceLock() = default;

DeviceLock::~DeviceLock()
{
    if (handle != -1)
        FileLock::release(handle);
}

QString DeviceLock::path()
{
    return QDir(QDir::tempPath()).filePath(SingleInstancePeer::programId() + QStringLiteral(".device.lock"));
}

bool DeviceLock::acquire(int waitMs)
{
    if (handle != -1)
        return true;
    const QDeadlineTimer deadline(waitMs < 0 ? QDeadlineTimer::Forever : QDeadlineTimer(waitMs));
    const QString file = path();
    for (;;) {
        switch (FileLock::take(file, &handle)) {
        case FileLock::Result::Taken:
            return true;
        case FileLock::Result::Unavailable:
            qDebug() << "device lock unavailable:" << file;
            return true;
        case FileLock::Result::Held:
            break;
        }
        if (deadline.hasExpired())
            return false;
        QThread::msleep(retryMs);
    }
}
