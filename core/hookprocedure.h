#pragma once

#include <QtGlobal>

// Messages and flags of the low-level hooks, the form every platform feeds in.
namespace HookMessage {
inline constexpr quint32 keyDown = 0x100, keyUp = 0x101, sysKeyDown = 0x104, sysKeyUp = 0x105;
inline constexpr quint32 leftDown = 0x201, leftUp = 0x202, rightDown = 0x204, rightUp = 0x205,
                         middleDown = 0x207, middleUp = 0x208;
inline constexpr quint32 extendedFlag = 0x01, altFlag = 0x20;
}

// What the input hooks make of one message: a key becomes a USB HID usage with a down
// or up edge (repeats of a held key are no edge), a left, right or middle button press
// or release a button code. No platform calls and no callbacks: the hook reports what
// this returns.
class HookProcedure
{
public:
    struct Edge {
        quint8 code = 0;   // usage or button code; 0: nothing to report
        quint8 down = 0;
    };

    // The flag picks the usage of virtual key DC (the key beside Enter on non-US layouts).
    explicit HookProcedure(bool layoutFlag = false);
    void setLayout(bool layoutFlag);

    Edge key(int hookCode, quint32 message, quint32 scanCode, quint32 flags);
    static Edge button(quint32 message);

    // The usage a key maps to (0: none), without edge detection.
    quint8 usageFor(quint32 scanCode, quint32 flags) const;
    // Forgets which keys are held, as at start-up.
    void clearKeyState();

private:
    quint8 virtualKeyOfScan[256 * 2] = {}; // index scan code * 2 + extended flag
    quint8 usageOfVirtualKey[256] = {};
    quint8 keyDownState[256] = {};
};
