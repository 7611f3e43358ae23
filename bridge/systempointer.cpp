#include "systempointer.h"

#include "pointersettings.h"

#include <QDebug>

#include <algorithm>

namespace SystemPointer {

unsigned speedForLevel(unsigned level)
{
    return level == 0 ? 1 : 2 * level;
}

unsigned doubleClickTimeForLevel(unsigned level)
{
    return 900 - 70 * std::min(level, 12u);
}

bool acceleration(PointerSettings &system)
{
    int params[3] = {};
    if (!system.getMouse(params)) {
        qDebug() << "getAcceleration Failed";
        return false;
    }
    return params[2] != 0;
}

void setAcceleration(PointerSettings &system, bool acceleration)
{
    int params[3] = {};
    if (!system.getMouse(params)) {
        qDebug() << "setAcceleration Failed";
        return;
    }
    params[2] = acceleration ? 1 : 0;
    if (!system.setMouse(params))
        qDebug() << "setAcceleration Failed";
}

void setCursorSpeed(PointerSettings &system, unsigned level)
{
    if (!system.setMouseSpeed(speedForLevel(level)))
        qDebug() << "setCursorSpeed Failed";
}

void setVerticalScrollLines(PointerSettings &system, unsigned lines)
{
    if (!system.setWheelScrollLines(lines))
        qDebug() << "setVerticalScrollLines Failed";
}

void setDoubleClickSpeed(PointerSettings &system, unsigned level)
{
    if (!system.setDoubleClickTime(doubleClickTimeForLevel(level)))
        qDebug() << "setDoubleClickSpeed Failed";
}

} // namespace SystemPointer
