#include "windevicewatch.h"

#include <QCoreApplication>

#include <QtCore/qt_windows.h>

DeviceWatch *DeviceWatch::createSystemWatch(QObject *parent)
{
    return new WinDeviceWatch(parent);
}

WinDeviceWatch::WinDeviceWatch(QObject *parent)
    : DeviceWatch(parent)
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

WinDeviceWatch::~WinDeviceWatch()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool WinDeviceWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType == "windows_generic_MSG" && static_cast<MSG *>(message)->message == WM_DEVICECHANGE)
        emit deviceChanged();
    return false; // every message continues to its default processing
}
