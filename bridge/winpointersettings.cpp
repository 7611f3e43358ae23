#include "winpointersettings.h"

#include <windows.h>

namespace {
// SPIF_UPDATEINIFILE | SPIF_SENDCHANGE
constexpr UINT saveAndBroadcast = 3;
}

bool WinPointerSettings::getMouse(int params[3])
{
    return SystemParametersInfoW(SPI_GETMOUSE, 0, params, 0);
}

bool WinPointerSettings::setMouse(const int params[3])
{
    int copy[3] = {params[0], params[1], params[2]};
    return SystemParametersInfoW(SPI_SETMOUSE, 0, copy, saveAndBroadcast);
}

bool WinPointerSettings::setMouseSpeed(unsigned speed)
{
    // The speed travels in the pointer argument itself.
    return SystemParametersInfoW(SPI_SETMOUSESPEED, 0, reinterpret_cast<PVOID>(static_cast<UINT_PTR>(speed)),
                                 saveAndBroadcast);
}

bool WinPointerSettings::setWheelScrollLines(unsigned lines)
{
    return SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines, nullptr, saveAndBroadcast);
}

bool WinPointerSettings::setDoubleClickTime(unsigned milliseconds)
{
    return SystemParametersInfoW(SPI_SETDOUBLECLICKTIME, milliseconds, nullptr, saveAndBroadcast);
}

std::unique_ptr<PointerSettings> createSystemPointerSettings()
{
    return std::make_unique<WinPointerSettings>();
}
