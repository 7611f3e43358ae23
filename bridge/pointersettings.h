#pragma once

#include <memory>

// The operating system's pointer settings, as five operations after the
// Windows actions: the mouse parameters (two thresholds and the acceleration
// flag, read and written as a triple), the pointer speed, the wheel lines per
// notch and the double-click time. Each returns false when the system refused
// the change or has no place for it.
class PointerSettings
{
public:
    virtual ~PointerSettings() = default;
    virtual bool getMouse(int params[3]) = 0;
    virtual bool setMouse(const int params[3]) = 0;
    virtual bool setMouseSpeed(unsigned speed) = 0;   // 1 ... 22, 10 the usual
    virtual bool setWheelScrollLines(unsigned lines) = 0;
    virtual bool setDoubleClickTime(unsigned milliseconds) = 0;
    // Whether the desktop keeps wheel lines at all; where it does not, the page says so.
    virtual bool hasWheelScrollLines() { return true; }
};

// The implementation for the platform the program was built for.
std::unique_ptr<PointerSettings> createSystemPointerSettings();
