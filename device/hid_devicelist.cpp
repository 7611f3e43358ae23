// Hid_Thread's device list: built by discovery, read under its lock by every open.

#include "hid_thread.h"

#include "hidbackend.h"
#include "reporttrace.h"

#include <QMutexLocker>

void Hid_Thread::findDevices(const QList<DevInfoEntry> &entries)
{
    QList<DeviceRecord> found;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const DevInfoEntry &entry = entries.at(i);
        DeviceRecord record;
        record.index = qint32(i);
        record.productName = entry.productName;
        record.type = entry.type;
        found.append(record);

        QString path;
        QString path2;
        HidDeviceInfo *devs = hidBackend().enumerate(entry.vid, entry.pid);
        if (!devs)
            continue;
        for (HidDeviceInfo *dev = devs; dev; dev = dev->next) {
            const QString devPath = QString::fromLocal8Bit(dev->path);
            if (dev->usagePage == entry.usagePage && dev->usage == entry.usage)
                path = devPath;     // a later match replaces an earlier one
            if (dev->usagePage == entry.usagePage2 && dev->usage == entry.usage2)
                path2 = devPath;
            if (!path.isEmpty() && !path2.isEmpty()) {
                found.last().path = path;
                found.last().path2 = path2;
                found.last().reportLength = entry.reportLength;
                did = uint(i);
                break;
            }
        }
        hidBackend().freeEnumeration(devs);
        if (!path.isEmpty() && !path2.isEmpty()) {
            ReportTrace::labelPath(path, "cmd");
            if (path2 != path)
                ReportTrace::labelPath(path2, "evt");
            break;
        }
    }

    QMutexLocker lock(&devListLock);
    devList = found;
    ++devListGeneration;
}

DeviceRecord Hid_Thread::record(uint index) const
{
    QMutexLocker lock(&devListLock);
    if (index < uint(devList.size()))
        return devList.at(index);
    return DeviceRecord();
}

void Hid_Thread::clearPath(uint index)
{
    QMutexLocker lock(&devListLock);
    if (index < uint(devList.size()))
        devList[index].path.clear();
}

void Hid_Thread::clearEventPath(uint index, quint64 generation)
{
    QMetaObject::invokeMethod(this, [this, index, generation] {
        QMutexLocker lock(&devListLock);
        if (generation == devListGeneration && index < uint(devList.size()))
            devList[index].path2.clear();
    }, Qt::QueuedConnection);
}
