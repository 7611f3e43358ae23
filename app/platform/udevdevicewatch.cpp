#include "udevdevicewatch.h"

#include <QDebug>
#include <QSocketNotifier>

#include <libudev.h>

DeviceWatch *DeviceWatch::createSystemWatch(QObject *parent)
{
    return new UdevDeviceWatch(parent);
}

UdevDeviceWatch::UdevDeviceWatch(QObject *parent)
    : DeviceWatch(parent)
{
    context = udev_new();
    if (!context) {
        qDebug() << "udev unavailable: devices are not watched";
        return;
    }
    monitor = udev_monitor_new_from_netlink(context, "udev");
    if (!monitor
        || udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0
        || udev_monitor_enable_receiving(monitor) < 0) {
        qDebug() << "udev monitor unavailable: devices are not watched";
        if (monitor)
            udev_monitor_unref(monitor);
        monitor = nullptr;
        return;
    }
    notifier = new QSocketNotifier(udev_monitor_get_fd(monitor), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &UdevDeviceWatch::readEvents);
}

UdevDeviceWatch::~UdevDeviceWatch()
{
    delete notifier;
    if (monitor)
        udev_monitor_unref(monitor);
    if (context)
        udev_unref(context);
}

bool UdevDeviceWatch::isActive() const
{
    return notifier != nullptr;
}

void UdevDeviceWatch::readEvents()
{
    // Drain everything queued; one burst still gives one rescan downstream.
    bool changed = false;
    while (udev_device *device = udev_monitor_receive_device(monitor)) {
        udev_device_unref(device);
        changed = true;
    }
    if (changed)
        emit deviceChanged();
}
