// Hid_Thread's channel: taking it (hidFree), the settle wait, and the work that waits until no command runs.

#include "hid_thread.h"

#include "commandpump.h"
#include "pauses.h"

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

void Hid_Thread::stopCommands()
{
    stopped = true;
    monitorRunning = false;
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
