// Hid_Thread's connect step: the secrecy code, the open, and what the program around it is told.

#include "hid_thread.h"

#include "devicehost.h"
#include "devicelog.h"

void useSecrecyCode(const QString &code)
{
    if (code.size() != 6)
        return;                 // keep the code of the last connect
    for (int i = 0; i < 6; ++i)
        SecrecyCode[1 + i] = uchar(code.at(i).unicode());
}

void Hid_Thread::swichCurDevice(uint did)
{
    if (channelInUse()) {
        deferDiscovery([this, did] { swichCurDevice(did); });
        return;
    }
    const BusyScope busy(channelUse);
    if (did != this->did) {
        this->did = did;
        startMonitor(did);
    }
    connectDevice();
}

void Hid_Thread::chkDeviceIsEnCode()
{
    if (channelInUse()) {
        deferDiscovery([this] { chkDeviceIsEnCode(); });
        return;
    }
    const BusyScope busy(channelUse);
    connectDevice();
}

void Hid_Thread::connectDevice()
{
    if (owner)
        useSecrecyCode(owner->secrecyCode(did));
    if (!openHid(did)) {
        qCDebug(lcDevice, "Device Error");
        deviceReady = false;
        if (owner)
            owner->hideWindow();
        return;
    }
    qCDebug(lcDevice, "Device Connect");
    ++connectionGeneration;
    if (owner) {
        owner->deviceConnected(int(did));
        owner->setViewEnabled(true);
        owner->clearHidBusy();
    }
    hidFree = true;
    deviceReady = true;
    if (owner) {
        owner->showNotice(QStringLiteral("Info"),
                          owner->chinese() ? QStringLiteral("检测到鼠标!") : QStringLiteral("Detect Mouse!"));
    }
    startMonitor(did);
}
