#pragma once

#include "devicewatch.h"

class QSocketNotifier;
struct udev;
struct udev_monitor;

// Watches the kernel's hidraw nodes through libudev: every add, remove or
// change of a hidraw device is one deviceChanged().
class UdevDeviceWatch : public DeviceWatch
{
    Q_OBJECT
public:
    explicit UdevDeviceWatch(QObject *parent = nullptr);
    ~UdevDeviceWatch() override;

    // False when udev could not be reached; the watch then stays silent.
    bool isActive() const;

private:
    void readEvents();

    udev *context = nullptr;
    udev_monitor *monitor = nullptr;
    QSocketNotifier *notifier = nullptr;
};
