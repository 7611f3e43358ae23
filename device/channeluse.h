#pragma once

#include <QObject>

#include <deque>
#include <functional>

// Whether a command or connect step holds the channel, and the work that waits until none
// does: the latest discovery asked for, and the page's tasks in their order. Both run from
// the event loop, through `context`.
class ChannelUse
{
public:
    explicit ChannelUse(QObject *context) : m_context(context) {}

    // Marks the channel as held for as long as it lives.
    class Scope
    {
    public:
        explicit Scope(ChannelUse &use) : m_use(use) { ++m_use.m_depth; }
        ~Scope() { m_use.leave(); }
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        ChannelUse &m_use;
    };

    bool inUse() const { return m_depth > 0; }
    // A later discovery replaces an earlier one still waiting.
    void deferDiscovery(std::function<void()> discovery);
    // After every task asked for before it.
    void runWhenIdle(std::function<void()> task);

private:
    void leave();
    void postPendingDiscovery();
    void postIdleTasks();
    void runIdleTasks();

    QObject *m_context;
    int m_depth = 0;
    std::function<void()> m_pendingDiscovery;
    bool m_discoveryPosted = false;
    std::deque<std::function<void()>> m_idleTasks;
    bool m_idleTasksPosted = false;
    bool m_runningIdleTasks = false;
};
