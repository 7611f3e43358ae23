#include "discovery.h"

#include "catalogue.h"
#include "hid_thread.h"

void runDiscovery(Hid_Thread &hid, QSettings::Format catalogueFormat, const QStringList &productNames,
                  const QString &cataloguePath)
{
    // A rescan replaces the device list and reconnects: never under a running command.
    if (hid.channelInUse()) {
        hid.deferDiscovery([&hid, catalogueFormat, productNames, cataloguePath] {
            runDiscovery(hid, catalogueFormat, productNames, cataloguePath);
        });
        return;
    }
    findCataloguedDevices(hid, catalogueFormat, productNames, cataloguePath);
    hid.swichCurDevice(hid.did);
}

void findCataloguedDevices(Hid_Thread &hid, QSettings::Format catalogueFormat, const QStringList &productNames,
                           const QString &cataloguePath)
{
    bool encode = false;
    hid.findDevices(readCatalogue(cataloguePath, catalogueFormat, productNames, &encode));
    isEncode = encode;
}
