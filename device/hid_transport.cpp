#include "hid_thread.h"

#include "commandpump.h"
#include "hidbackend.h"
#include "pauses.h"

#include <QDeadlineTimer>
#include <QMutexLocker>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// hid_read blocks on a silent device; an input report that has not come
// within this time will not come, and the GUI thread must go on.
constexpr int inputReportWaitMs = 500;

// Longest data report hidraw carries; a catalogue value outside 1..this cannot
// be a real report length and disables the data reports.
constexpr quint32 maxReportLength = 4096;

quint32 usableReportLength(quint32 reportLength)
{
    return reportLength <= maxReportLength ? reportLength : 0;
}

// Where the event collection shares the command interface's node, its DPI
// reports reach the command handle too.
bool isEventReport(const unsigned char *report, int length)
{
    return length == 4 && report[0] == 0x06 && report[1] == 0x07;
}

// One data report, skipping event reports, within one bound for the whole wait.
int readDataReport(HidHandle *dev, std::vector<unsigned char> &report)
{
    const QDeadlineTimer deadline(inputReportWaitMs);
    for (;;) {
        std::fill(report.begin(), report.end(), 0);
        const int read = hidBackend().readTimeout(dev, report.data(), report.size(),
                                                  int(deadline.remainingTime()));
        if (!isEventReport(report.data(), read))
            return read;
        if (deadline.hasExpired())
            return 0;
    }
}

} // namespace

Hid_Thread::Hid_Thread(DeviceHost *owner, QObject *parent)
    : QThread(parent), owner(owner)
{
}

Hid_Thread::~Hid_Thread()
{
    endMonitorLoops();
    closeCommandHandle();
    if (hidDev2) {
        hidBackend().close(hidDev2);
        hidDev2 = nullptr;
    }
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

void Hid_Thread::closeCommandHandle()
{
    if (hidDev) {
        hidBackend().close(hidDev);
        hidDev = nullptr;
    }
}

bool Hid_Thread::waitHidFree()
{
    if (stopped)
        return false;
    if (hidFree) {
        hidFree = false;
        return true;
    }
    for (int poll = 0; poll < 255; ++poll) {
        hidSleep(8);
        pumpCommandEvents();
        if (stopped)
            return false;
        if (hidFree) {
            hidFree = false;
            return true;
        }
    }
    return false;
}

void Hid_Thread::waitSettle()
{
    settleFlag = false;
    for (int pause = 0; pause < 256; ++pause) {
        hidSleep(64);
        if (settleFlag)
            return;
        settleFlag = true;
    }
}

HidHandle *Hid_Thread::openHid(uint did)
{
    const QString path = record(did).path;
    if (path.isEmpty())
        return nullptr;
    closeCommandHandle();
    hidDev = hidBackend().openPath(path.toLocal8Bit().constData());
    if (!hidDev) {
        clearPath(did);     // gone until the next discovery
        return nullptr;
    }
    hidBackend().setNonblocking(hidDev, 0);
    return hidDev;
}

HidHandle *Hid_Thread::openHid2(uint did)
{
    QString path;
    quint64 generation = 0;
    {
        QMutexLocker lock(&devListLock);
        if (did < uint(devList.size()))
            path = devList.at(did).path2;
        generation = devListGeneration;
    }
    if (path.isEmpty())
        return nullptr;
    if (hidDev2) {
        hidBackend().close(hidDev2);
        hidDev2 = nullptr;
    }
    hidDev2 = hidBackend().openPath(path.toLocal8Bit().constData());
    if (!hidDev2) {
        clearEventPath(did, generation);
        return nullptr;
    }
    hidBackend().setNonblocking(hidDev2, 0);
    return hidDev2;
}

HidHandle *Hid_Thread::sendBlock()
{
    HidHandle *dev = openHid(did);
    if (!dev)
        return nullptr;
    if (isEncode)
        USBDataEncryption(txReport + 1, SecrecyCode);
    if (hidBackend().sendFeatureReport(dev, txReport, sizeof txReport) < 0)
        return nullptr;
    return dev;
}

int Hid_Thread::payloadChunk(int &len) const
{
    const int reportLength = int(usableReportLength(record(did).reportLength));
    len = qMin(len, int(sizeof dataBuf));
    return qMin(len, reportLength);
}

bool Hid_Thread::releaseChannel(bool transferred)
{
    closeCommandHandle();
    hidFree = true;
    return transferred;
}

bool Hid_Thread::sendCommand(int len, bool settle)
{
    pumpCommandEvents();

    HidHandle *dev = sendBlock();
    if (!dev)
        return releaseChannel(false);
    if (settle)
        waitSettle();

    if (len > 0) {
        const int chunk = payloadChunk(len);
        // Without a usable report length no data report can carry the payload.
        if (chunk == 0)
            return releaseChannel(false);
        std::vector<unsigned char> report(record(did).reportLength + 1);
        for (int offset = 0; offset < len; offset += chunk) {
            std::fill(report.begin(), report.end(), 0);   // report ID 0, short chunks zero-padded
            std::memcpy(report.data() + 1, dataBuf + offset, qMin(chunk, len - offset));
            dev = openHid(did);
            if (!dev || hidBackend().write(dev, report.data(), report.size()) < 0)
                return releaseChannel(false);
            hidSleep(8);
        }
        if (settle)
            waitSettle();
    }
    return releaseChannel(true);
}

void Hid_Thread::leaveBusy()
{
    if (--busyDepth == 0) {
        postIdleTasks();
        postPendingDiscovery();
    }
}

void Hid_Thread::runWhenIdle(std::function<void()> task)
{
    idleTasks.push_back(std::move(task));
    if (!channelInUse())
        postIdleTasks();
}

void Hid_Thread::postIdleTasks()
{
    if (idleTasks.empty() || idleTasksPosted)
        return;
    idleTasksPosted = true;
    QMetaObject::invokeMethod(this, [this] {
        idleTasksPosted = false;
        runIdleTasks();
    }, Qt::QueuedConnection);
}

void Hid_Thread::runIdleTasks()
{
    // A task's command pumps events; a run delivered there leaves the rest to this one.
    if (runningIdleTasks)
        return;
    runningIdleTasks = true;
    while (!idleTasks.empty() && !channelInUse()) {
        const std::function<void()> task = std::move(idleTasks.front());
        idleTasks.pop_front();
        task();
    }
    runningIdleTasks = false;
}

void Hid_Thread::deferDiscovery(std::function<void()> discovery)
{
    pendingDiscovery = std::move(discovery);
    if (!channelInUse())
        postPendingDiscovery();
}

void Hid_Thread::postPendingDiscovery()
{
    if (!pendingDiscovery || discoveryPosted)
        return;
    discoveryPosted = true;
    // From the event loop: the command that just ended may be one of several
    // its caller runs in a row.
    QMetaObject::invokeMethod(this, [this] {
        discoveryPosted = false;
        if (const std::function<void()> discovery = std::exchange(pendingDiscovery, {}))
            discovery();
    }, Qt::QueuedConnection);
}

bool Hid_Thread::queryCommand(int len)
{
    replyLength = 0;
    HidHandle *dev = sendBlock();
    if (dev)
        dev = openHid(did);
    const int replied = dev ? hidBackend().getFeatureReport(dev, rxReport, sizeof rxReport) : -1;
    if (replied < 0)
        return releaseChannel(false);
    replyLength = replied;

    if (len <= 0) {
        releaseChannel(true);
        if (isEncode)
            USBDataDecipher(rxReport + 1, SecrecyCode);
        return true;
    }

    const int chunk = payloadChunk(len);
    if (chunk == 0)
        return releaseChannel(false);
    std::vector<unsigned char> report(record(did).reportLength + 1);
    for (int offset = 0; offset < len; offset += chunk) {
        dev = openHid(did);
        // A read that times out counts as a failed read: the device has nothing to send.
        if (!dev || readDataReport(dev, report) <= 0)
            return releaseChannel(false);
        std::memcpy(dataBuf + offset, report.data(), qMin(chunk, len - offset));
    }
    return releaseChannel(true);
}
