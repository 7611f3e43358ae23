// Hid_Thread's event monitor: the DPI-stage reports of the event interface, read on a pool thread.

#include "hid_thread.h"

#include "devicehost.h"
#include "devicelog.h"
#include "hidbackend.h"

#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

namespace {

constexpr int eventWaitMs = 500;

// The stage (1..8) an event report announces, or 0 when the report is not a
// DPI-stage event. Stages outside 1..8 have no DPI value to show and are ignored.
int dpiEventStage(const unsigned char report[4], int length)
{
    if (length != 4 || report[0] != 0x06 || report[1] != 0x07)
        return 0;
    const int stage = report[3];
    return stage >= 1 && stage <= 8 ? stage : 0;
}

} // namespace

void Hid_Thread::startMonitor(uint did)
{
    // The running loop ends during the option exchange (after its current read, 500 ms at most).
    monitorRunning = false;

    // Bit 6 of the fourth option byte turns the DPI events on. The bytes are
    // written back only when the query really answered; otherwise the write
    // would replace the mouse's options with invented ones.
    uchar byte1 = 0, byte2 = 0, byte3 = 0, byte4 = 0;
    if (hid_83H_GetKeyboardoption(byte1, byte2, byte3, byte4) == int(sizeof rxReport))
        hid_03H_SetKeyboardoption(byte1, byte2, byte3, byte4 | 0x40);

    // At most one loop: every earlier one has returned before this one starts.
    endMonitorLoops();
    if (stopped)
        return;
    monitorRunning = true;
    monitorFuture = QtConcurrent::run(QThreadPool::globalInstance(),
                                      [this, did, connection = connectionGeneration] { monitorLoop(did, connection); });
    monitorLoops.append(monitorFuture);
}

void Hid_Thread::endMonitorLoops()
{
    monitorRunning = false;
    for (QFuture<void> &loop : monitorLoops)
        loop.waitForFinished();
    monitorLoops.clear();
    monitorFuture.waitForFinished();
}

void Hid_Thread::monitorLoop(uint did, quint64 connection)
{
    if (record(did).path2.isEmpty())
        return;
    while (monitorRunning) {
        // A failed open has already handed the clearing of path2 to the GUI thread.
        HidHandle *dev = openHid2(did);
        if (!dev) {
            qCDebug(lcDevice, "Device removed");
            // A removal noticed by the loop of an earlier connection must not turn off the view a
            // reconnect has turned on since.
            QMetaObject::invokeMethod(this, [this, connection] {
                if (owner && connection == connectionGeneration)
                    owner->setViewEnabled(false);
            }, Qt::QueuedConnection);
            monitorRunning = false;
            return;
        }
        unsigned char report[4] = {};
        const int length = hidBackend().readTimeout(dev, report, sizeof report, eventWaitMs);
        if (const int stage = dpiEventStage(report, length)) {
            // The notice and the tables it reads belong to the GUI thread.
            QMetaObject::invokeMethod(this, [this, stage] { showDpiNotice(stage); },
                                      Qt::QueuedConnection);
        }
        hidBackend().close(hidDev2);
        hidDev2 = nullptr;
    }
}

void Hid_Thread::showDpiNotice(int stage)
{
    if (!owner || stage < 1 || stage > 8)
        return;
    const int text = stage == 8 ? 6 : stage - 1;
    owner->showNotice(QStringLiteral("Info"),
                      dpiSwitchText[text] + QLatin1Char(' ') + QString::number(dpiStageValues[stage - 1]));
}

void Hid_Thread::stopMonitor()
{
    monitorRunning = false;
}
