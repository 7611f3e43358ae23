#include "pauses.h"

#include "reporttrace.h"

#include <QMutex>

#include <chrono>
#include <thread>

namespace {

QMutex sleeperMutex;
std::shared_ptr<Sleeper> installedSleeper;

QMutex recordMutex;

std::shared_ptr<Sleeper> currentSleeper()
{
    QMutexLocker lock(&sleeperMutex);
    return installedSleeper;
}

} // namespace

void RecordingSleeper::sleep(int ms)
{
    QMutexLocker lock(&recordMutex);
    pauses.append(ms);
}

void hidSleep(int ms)
{
    ReportTrace::write("-", "sleep", nullptr, 0, ms);
    if (const std::shared_ptr<Sleeper> sleeper = currentSleeper()) {
        sleeper->sleep(ms);
        return;
    }
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void setSleeper(std::shared_ptr<Sleeper> sleeper)
{
    QMutexLocker lock(&sleeperMutex);
    installedSleeper = std::move(sleeper);
}
