#include "linuxpointersettings.h"

#include <algorithm>
#include <climits>

namespace {
// The X server's own default: twice as fast past the threshold.
constexpr int acceleratedNumerator = 2;
constexpr int acceleratedDenominator = 1;
constexpr unsigned usualSpeed = 10;
constexpr unsigned fastestSpeed = 22;
}

LinuxPointerSettings::LinuxPointerSettings(const QByteArray &displayName)
    : x11(displayName)
{
}

int LinuxPointerSettings::x11Threshold(unsigned speed)
{
    // X has no constant speed: a faster pointer accelerates after a shorter move.
    return int(fastestSpeed + 1 - std::clamp(speed, 1u, fastestSpeed));
}

double LinuxPointerSettings::gnomeSpeed(unsigned speed)
{
    // The usual speed is the desktop's default 0; the fastest is its 1.
    const double span = fastestSpeed - usualSpeed;
    return std::clamp((double(speed) - usualSpeed) / span, -1.0, 1.0);
}

bool LinuxPointerSettings::getMouse(int params[3])
{
    X11PointerControl::Values values;
    if (!x11.read(values))
        return false;
    params[0] = values.threshold;
    params[1] = values.threshold;
    params[2] = values.numerator > values.denominator ? 1 : 0;
    return true;
}

bool LinuxPointerSettings::setMouse(const int params[3])
{
    // Only the flag: the threshold belongs to the pointer speed here.
    X11PointerControl::Values values;
    if (!x11.read(values))
        return false;
    const bool accelerated = values.numerator > values.denominator;
    if (params[2] != 0 && accelerated)
        return true;
    values.numerator = params[2] != 0 ? acceleratedNumerator : 1;
    values.denominator = params[2] != 0 ? acceleratedDenominator : 1;
    return x11.change(values, true, false);
}

bool LinuxPointerSettings::setMouseSpeed(unsigned speed)
{
    X11PointerControl::Values values;
    values.threshold = x11Threshold(speed);
    const bool applied = x11.change(values, false, true);
    const bool kept = gnome.setSpeed(gnomeSpeed(speed));
    return applied || kept;
}

bool LinuxPointerSettings::setWheelScrollLines(unsigned lines)
{
    return kde.set(lines);
}

bool LinuxPointerSettings::hasWheelScrollLines()
{
    return kde.settable();
}

bool LinuxPointerSettings::setDoubleClickTime(unsigned milliseconds)
{
    return milliseconds <= unsigned(INT_MAX) && gnome.setDoubleClick(int(milliseconds));
}

std::unique_ptr<PointerSettings> createSystemPointerSettings()
{
    return std::make_unique<LinuxPointerSettings>();
}
