#pragma once

#include "pointersettings.h"

#include <QStringList>

#include <algorithm>
#include <memory>

// Stands in for the system's pointer settings: keeps the mouse triple, records every call as "<operation> <values>"
// and refuses the operations named in `refuse` ("getMouse", "setMouseSpeed", ...).
class RecordingPointerSettings : public PointerSettings
{
public:
    bool getMouse(int params[3]) override
    {
        if (!record(QStringLiteral("getMouse")))
            return false;
        std::copy_n(mouse, 3, params);
        return true;
    }
    bool setMouse(const int params[3]) override
    {
        if (!record(QStringLiteral("setMouse %1 %2 %3").arg(params[0]).arg(params[1]).arg(params[2])))
            return false;
        std::copy_n(params, 3, mouse);
        return true;
    }
    bool setMouseSpeed(unsigned speed) override { return record(QStringLiteral("setMouseSpeed %1").arg(speed)); }
    bool setWheelScrollLines(unsigned n) override { return record(QStringLiteral("setWheelScrollLines %1").arg(n)); }
    bool setDoubleClickTime(unsigned ms) override { return record(QStringLiteral("setDoubleClickTime %1").arg(ms)); }
    bool hasWheelScrollLines() override { return wheelLines; }

    int mouse[3] = {6, 10, 1};
    bool wheelLines = true;
    QStringList refuse;
    QStringList calls;

private:
    bool record(const QString &call)
    {
        calls.append(call);
        return !refuse.contains(call.section(QLatin1Char(' '), 0, 0));
    }
};

// Every bridge a test builds gets this in place of the desktop's settings, which a test must never change; the bridge
// owns it, the caller may read it.
template <class View>
RecordingPointerSettings *recordPointerSettings(View &view)
{
    auto owned = std::make_unique<RecordingPointerSettings>();
    RecordingPointerSettings *kept = owned.get();
    view.pointerSettings = std::move(owned);
    return kept;
}
