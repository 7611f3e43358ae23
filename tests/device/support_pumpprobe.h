#pragma once

#include <QObject>

#include <functional>

// Counts the event pumps: a queued call that posts itself again runs once per
// pump, as a timer that fires while a command waits would.
class PumpProbe : public QObject
{
public:
    void start(std::function<void(int)> atPump)
    {
        m_atPump = std::move(atPump);
        pumps = 0;
        post(++m_generation);
    }
    void stop() { ++m_generation; }
    int pumps = 0;

private:
    void post(quint64 generation)
    {
        QMetaObject::invokeMethod(this, [this, generation] {
            if (generation != m_generation)
                return;
            ++pumps;
            post(generation);
            m_atPump(pumps);
        }, Qt::QueuedConnection);
    }
    std::function<void(int)> m_atPump;
    quint64 m_generation = 0;
};
