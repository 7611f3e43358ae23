#include "hookprocedure.h"

#include "inputhooktables.h"

#include <algorithm>
#include <iterator>

using namespace InputHookTables;

namespace {
constexpr quint32 pauseScan = 0x46, printScreenAltScan = 0x54;
constexpr quint8 pauseKey = 0x13, printScreenKey = 0x2C;
} // namespace

HookProcedure::HookProcedure(bool layoutFlag)
{
    for (const ScanCodeRow &row : scanCodeTable)
        virtualKeyOfScan[(row.key >> 8) * 2 + (row.key & 1)] = row.virtualKey;
    for (const UsageRow &row : usageTable)
        usageOfVirtualKey[row.virtualKey] = row.usage;
    setLayout(layoutFlag);
}

void HookProcedure::setLayout(bool layoutFlag)
{
    usageOfVirtualKey[layoutVirtualKey] = layoutFlag ? layoutUsageNonUs : layoutUsageUs;
}

quint8 HookProcedure::usageFor(quint32 scanCode, quint32 flags) const
{
    if (scanCode > 255)
        scanCode = 0;
    const quint32 extended = flags & HookMessage::extendedFlag;
    quint8 virtualKey = virtualKeyOfScan[scanCode * 2 + extended];
    // Ctrl+Break arrives as extended 46, Alt+Print Screen as 54 with Alt held.
    if (scanCode == pauseScan && extended)
        virtualKey = pauseKey;
    else if (scanCode == printScreenAltScan && (flags & HookMessage::altFlag))
        virtualKey = printScreenKey;
    return virtualKey ? usageOfVirtualKey[virtualKey] : 0;
}

HookProcedure::Edge HookProcedure::key(int hookCode, quint32 message, quint32 scanCode, quint32 flags)
{
    const quint8 down = hookCode == 0 && (message == HookMessage::keyDown || message == HookMessage::sysKeyDown);
    const quint8 usage = usageFor(scanCode, flags);
    // Only edges count: the repeats of a held key change nothing here.
    if (usage == 0 || keyDownState[usage] == down)
        return {};
    keyDownState[usage] = down;
    return {usage, down};
}

HookProcedure::Edge HookProcedure::button(quint32 message)
{
    if (message < firstMouseMessage || message >= firstMouseMessage + std::size(mouseButtonTable))
        return {};
    const MouseButtonRow &row = mouseButtonTable[message - firstMouseMessage];
    return {row.code, row.down};
}

void HookProcedure::clearKeyState()
{
    std::fill(std::begin(keyDownState), std::end(keyDownState), quint8(0));
}
