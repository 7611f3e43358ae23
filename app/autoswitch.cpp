#include "autoswitch.h"

AutoSwitch::AutoSwitch(Hooks hooks, QObject *parent)
    : QObject(parent), m_hooks(std::move(hooks))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(settleMs);
    // A coarse timer may fire 5 % late: the switch would come later than the quiet interval asks.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &AutoSwitch::settle);
}

void AutoSwitch::focusChanged(const QString &windowClass)
{
    if (windowClass.isEmpty())
        return;
    m_pendingClass = windowClass;
    m_timer.start();
}

void AutoSwitch::settle()
{
    m_timer.stop();
    if (m_pendingClass.isEmpty() || m_pendingClass == m_settledClass)
        return;
    // Deferred, not dropped: looked at again one interval later, until nothing is in progress.
    if (m_hooks.busy()) {
        m_timer.start();
        return;
    }
    const int current = m_hooks.currentProfile();
    // The user chose another profile since our last switch: it becomes the one to come back to.
    if (m_switchedTo >= 0 && current != m_switchedTo) {
        m_returnProfile = -1;
        m_switchedTo = -1;
    }
    int target = m_hooks.linkedProfile(m_pendingClass);
    const bool back = target < 0;
    if (back)
        target = m_returnProfile;
    if (target >= 0 && target != current && !m_hooks.switchTo(target))
        return;   // tried again at the next focus change
    m_settledClass = m_pendingClass;
    if (back) {
        m_returnProfile = -1;
        m_switchedTo = -1;
    } else if (target != current) {
        if (m_returnProfile < 0)
            m_returnProfile = current;
        m_switchedTo = target;
    }
}
