#include "pauses.h"

#include "reporttrace.h"

#include <QMutex>

#include <chrono>
#include <thread>

namespace {

QMutex sleeperMutex;
std::shared_ptr<Sleeper> installedSleeper;

QMutex recordMutex;

constexpr std::chrono::microseconds lastStretch{400};

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

void RealSleeper::sleep(int ms)
{
    using Clock = std::chrono::steady_clock;
    if (ms <= 0)
        return;
    // A sleeping thread wakes late on a busy machine; the last stretch is
    // waited by yielding, so a pause ends within a few microseconds of its time.
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
    std::this_thread::sleep_until(end - lastStretch);
    while (Clock::now() < end)
        std::this_thread::yield();
}

void hidSleep(int ms)
{
    ReportTrace::write("-", "sleep", nullptr, 0, ms);
    if (const std::shared_ptr<Sleeper> sleeper = currentSleeper())
        sleeper->sleep(ms);
    else
        RealSleeper().sleep(ms);
}

void setSleeper(std::shared_ptr<Sleeper> sleeper)
{
    QMutexLocker lock(&sleeperMutex);
    installedSleeper = std::move(sleeper);
}
