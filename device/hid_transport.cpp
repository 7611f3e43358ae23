// Hid_Thread's transport: one command's block, data reports and replies on the command interface.

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

void Hid_Thread::closeCommandHandle()
{
    if (hidDev) {
        hidBackend().close(hidDev);
        hidDev = nullptr;
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

int Hid_Thread::queryCommand(int len)
{
    const auto failed = [this] {
        releaseChannel(false);
        return -1;
    };
    HidHandle *dev = sendBlock();
    if (dev)
        dev = openHid(did);
    const int replied = dev ? hidBackend().getFeatureReport(dev, rxReport, sizeof rxReport) : -1;
    if (replied < 0)
        return failed();

    if (len <= 0) {
        releaseChannel(true);
        if (isEncode)
            USBDataDecipher(rxReport + 1, SecrecyCode);
        return replied;
    }

    const int chunk = payloadChunk(len);
    if (chunk == 0)
        return failed();
    std::vector<unsigned char> report(record(did).reportLength + 1);
    for (int offset = 0; offset < len; offset += chunk) {
        dev = openHid(did);
        // A read that times out counts as a failed read: the device has nothing to send.
        if (!dev || readDataReport(dev, report) <= 0)
            return failed();
        std::memcpy(dataBuf + offset, report.data(), qMin(chunk, len - offset));
    }
    releaseChannel(true);
    return replied;
}
