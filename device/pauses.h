#pragma once

#include <QList>

#include <memory>

// Every fixed pause of the device layer (the 8 ms polls, the two 64 ms halves
// of the settle wait, the 100 ms after a payload) goes through hidSleep(), so
// the report trace shows each one and tests can replace the waiting.

class Sleeper
{
public:
    virtual ~Sleeper() = default;
    virtual void sleep(int ms) = 0;
};

// Really waits; the sleeper in use when none is installed.
class RealSleeper : public Sleeper
{
public:
    void sleep(int ms) override;
};

// Records the pauses and returns at once. Pauses taken on other threads are
// recorded too; read `pauses` once the device layer is idle.
class RecordingSleeper : public Sleeper
{
public:
    void sleep(int ms) override;
    QList<int> pauses;
};

// Writes the trace line "<ms> - sleep <ms>" and then waits through the
// installed Sleeper (the thread really sleeps when none is installed).
void hidSleep(int ms);

// nullptr restores the RealSleeper.
void setSleeper(std::shared_ptr<Sleeper> sleeper);
