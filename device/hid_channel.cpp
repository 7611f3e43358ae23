// Hid_Thread's channel: taking it (hidFree), the settle wait, and whether a command holds it.

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

bool Hid_Thread::channelInUse() const
{
    return channelUse.inUse();
}

void Hid_Thread::deferDiscovery(std::function<void()> discovery)
{
    channelUse.deferDiscovery(std::move(discovery));
}

void Hid_Thread::runWhenIdle(std::function<void()> task)
{
    channelUse.runWhenIdle(std::move(task));
}
