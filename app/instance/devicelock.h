#pragma once

#include <QString>

// Only one process at a time talks to the mouse and writes the data files: the
// tray program or one command-line call working alone. This lock is separate
// from the single-instance peer, so a command-line call never keeps the tray
// program from starting; the tray program waits for the call to end instead.
class DeviceLock
{
public:
    DeviceLock();
    ~DeviceLock();
    DeviceLock(const DeviceLock &) = delete;
    DeviceLock &operator=(const DeviceLock &) = delete;

    // Tries for up to `waitMs` (-1: until it is free). True when held, also when
    // no lock file can be made at all (nothing to coordinate with then).
    bool acquire(int waitMs);

    static QString path();

private:
    qintptr handle = -1;
};
