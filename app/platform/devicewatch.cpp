#include "devicewatch.h"

DeviceWatch::DeviceWatch(QObject *parent)
    : QObject(parent)
{
}
