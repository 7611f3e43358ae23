#pragma once

#include "devicewatch.h"

#include <QAbstractNativeEventFilter>

// Sees WM_DEVICECHANGE, which Windows broadcasts to every top-level window,
// through an application-wide native event filter.
class WinDeviceWatch : public DeviceWatch, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    explicit WinDeviceWatch(QObject *parent = nullptr);
    ~WinDeviceWatch() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;
};
