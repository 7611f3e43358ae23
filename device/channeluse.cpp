#include "channeluse.h"

#include <utility>

void ChannelUse::leave()
{
    if (--m_depth == 0) {
        postIdleTasks();
        postPendingDiscovery();
    }
}

void ChannelUse::runWhenIdle(std::function<void()> task)
{
    m_idleTasks.push_back(std::move(task));
    if (!inUse())
        postIdleTasks();
}

void ChannelUse::postIdleTasks()
{
    if (m_idleTasks.empty() || m_idleTasksPosted)
        return;
    m_idleTasksPosted = true;
    QMetaObject::invokeMethod(m_context, [this] {
        m_idleTasksPosted = false;
        runIdleTasks();
    }, Qt::QueuedConnection);
}

void ChannelUse::runIdleTasks()
{
    // A task's command pumps events; a run delivered there leaves the rest to this one.
    if (m_runningIdleTasks)
        return;
    m_runningIdleTasks = true;
    while (!m_idleTasks.empty() && !inUse()) {
        const std::function<void()> task = std::move(m_idleTasks.front());
        m_idleTasks.pop_front();
        task();
    }
    m_runningIdleTasks = false;
}

void ChannelUse::deferDiscovery(std::function<void()> discovery)
{
    m_pendingDiscovery = std::move(discovery);
    if (!inUse())
        postPendingDiscovery();
}

void ChannelUse::postPendingDiscovery()
{
    if (!m_pendingDiscovery || m_discoveryPosted)
        return;
    m_discoveryPosted = true;
    // From the event loop: the command that just ended may be one of several
    // its caller runs in a row.
    QMetaObject::invokeMethod(m_context, [this] {
        m_discoveryPosted = false;
        if (const std::function<void()> discovery = std::exchange(m_pendingDiscovery, {}))
            discovery();
    }, Qt::QueuedConnection);
}
