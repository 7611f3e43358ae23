#pragma once

#include "pointersettings.h"

// SystemParametersInfoW; every change is saved to the user profile and broadcast.
class WinPointerSettings : public PointerSettings
{
public:
    bool getMouse(int params[3]) override;
    bool setMouse(const int params[3]) override;
    bool setMouseSpeed(unsigned speed) override;
    bool setWheelScrollLines(unsigned lines) override;
    bool setDoubleClickTime(unsigned milliseconds) override;
};
