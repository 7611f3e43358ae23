#pragma once

#include <QtGlobal>

// Linux input codes in the form the Windows low-level hooks report, so that X11 and
// Wayland input goes through the same key tables.
namespace LinuxInputMap {

// An X keycode (and Qt's native scan code on X11 and Wayland) is the evdev code + 8.
inline constexpr quint32 xKeycodeOffset = 8;

struct PcScanCode {
    quint8 scanCode = 0; // PC set 1; 0: the key has none
    quint8 flags = 0;    // the hooks' extended-key flag
};

PcScanCode fromEvdev(quint32 evdevCode);

// The hooks' mouse message of an X button (1 left, 2 middle, 3 right); 0 for the
// wheel and the extra buttons, which the hooks ignore.
quint32 mouseMessage(int xButton, bool press);

} // namespace LinuxInputMap
