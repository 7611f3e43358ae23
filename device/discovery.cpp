#include "discovery.h"

#include "catalogue.h"
#include "hid_thread.h"
#include "hidbackend.h"
#include "profilekeys.h"
#include "profilestore.h"
#include "storefile.h"
#include "reporttrace.h"

#include <QMutexLocker>
#include <QSettings>

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

void runDiscovery(Hid_Thread &hid, const QString &cataloguePath)
{
    // A rescan replaces the device list and reconnects: never under a running command.
    if (hid.channelInUse()) {
        hid.deferDiscovery([&hid, cataloguePath] { runDiscovery(hid, cataloguePath); });
        return;
    }
    const QSettings apConfig(ProfileStore::apConfigFile(), StoreFile::format());
    const QStringList productNames = apConfig.value(QLatin1String(ProfileKey::productNames)).toStringList();

    bool encode = false;
    const QList<DevInfoEntry> catalogue = readCatalogue(cataloguePath, productNames, &encode);
    hid.findDevices(catalogue);
    isEncode = encode;
    hid.swichCurDevice(hid.did);
}
