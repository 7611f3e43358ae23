#include "linuxinputmap.h"

#include "inputhook.h"

namespace {

constexpr quint8 extended = HookMessage::extendedFlag;

struct EvdevRow {
    quint16 evdev;
    quint8 scanCode;
    quint8 flags;
};

// The keys whose evdev code is not their set-1 scan code, or that the hooks see as
// extended: Right Shift and Num Lock are extended there, Pause is 45 without the flag.
constexpr EvdevRow movedKeys[] = {
    {54, 0x36, extended},  {69, 0x45, extended},  {96, 0x1C, extended},  {97, 0x1D, extended},
    {98, 0x35, extended},  {99, 0x37, extended},  {100, 0x38, extended}, {102, 0x47, extended},
    {103, 0x48, extended}, {104, 0x49, extended}, {105, 0x4B, extended}, {106, 0x4D, extended},
    {107, 0x4F, extended}, {108, 0x50, extended}, {109, 0x51, extended}, {110, 0x52, extended},
    {111, 0x53, extended}, {119, 0x45, 0},        {125, 0x5B, extended}, {126, 0x5C, extended},
    {127, 0x5D, extended}, {193, 0x6E, 0},
};

// Below this evdev code the main block and keypad share the set-1 numbering.
constexpr quint32 sameNumberingEnd = 84;
constexpr quint32 isoKey = 86, f11 = 87, f12 = 88;

} // namespace

LinuxInputMap::PcScanCode LinuxInputMap::fromEvdev(quint32 evdevCode)
{
    for (const EvdevRow &row : movedKeys) {
        if (row.evdev == evdevCode)
            return {row.scanCode, row.flags};
    }
    if ((evdevCode > 0 && evdevCode < sameNumberingEnd) || evdevCode == isoKey || evdevCode == f11
        || evdevCode == f12)
        return {quint8(evdevCode), 0};
    return {};
}

quint32 LinuxInputMap::mouseMessage(int xButton, bool press)
{
    switch (xButton) {
    case 1:
        return press ? HookMessage::leftDown : HookMessage::leftUp;
    case 2:
        return press ? HookMessage::middleDown : HookMessage::middleUp;
    case 3:
        return press ? HookMessage::rightDown : HookMessage::rightUp;
    default:
        return 0;
    }
}
