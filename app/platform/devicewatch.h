#pragma once

#include <QObject>

// Tells the tray agent that the set of attached devices may have changed.
// The notification carries nothing: the agent rescans the whole catalogue.
// The system's own watch comes from createSystemWatch(); a simulated mouse or a
// test drives a plain DeviceWatch by emitting deviceChanged() itself.
class DeviceWatch : public QObject
{
    Q_OBJECT
public:
    explicit DeviceWatch(QObject *parent = nullptr);

    // libudev's hidraw events on Linux, WM_DEVICECHANGE on Windows: defined in
    // the platform's own watch file.
    static DeviceWatch *createSystemWatch(QObject *parent = nullptr);

signals:
    void deviceChanged();
};
