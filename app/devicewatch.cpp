#include "devicewatch.h"

#if defined(Q_OS_WIN)
#  include "windevicewatch.h"
#elif defined(Q_OS_LINUX)
#  include "udevdevicewatch.h"
#endif

DeviceWatch::DeviceWatch(QObject *parent)
    : QObject(parent)
{
}

DeviceWatch *DeviceWatch::createSystemWatch(QObject *parent)
{
#if defined(Q_OS_WIN)
    return new WinDeviceWatch(parent);
#elif defined(Q_OS_LINUX)
    return new UdevDeviceWatch(parent);
#else
    return new DeviceWatch(parent);
#endif
}
