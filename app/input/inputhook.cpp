#include "inputhook.h"

#include "inputhookplatform.h"
#include "inputhooktables.h"

#include <algorithm>
#include <iterator>

namespace {

using namespace InputHookTables;

// One copy per process: the platform hooks are plain functions without an object.
struct HookState {
    InputHook *instance = nullptr;
    InputHook::KeyboardCallback keyboard = nullptr;
    void *keyboardContext = nullptr;
    InputHook::MouseCallback mouse = nullptr;
    void *mouseContext = nullptr;
    InputHook::CopyDataCallback copyData = nullptr;
    void *copyDataContext = nullptr;
    quint8 virtualKeyOfScan[256 * 2] = {}; // index scan code * 2 + extended flag
    quint8 usageOfVirtualKey[256] = {};
    quint8 keyDownState[256] = {};
} state;

constexpr quint32 pauseScan = 0x46, printScreenAltScan = 0x54;
constexpr quint8 pauseKey = 0x13, printScreenKey = 0x2C;

} // namespace

InputHook::InputHook(bool layoutFlag)
    : layoutFlag(layoutFlag)
{
    state.instance = this;
    for (const ScanCodeRow &row : scanCodeTable)
        state.virtualKeyOfScan[(row.key >> 8) * 2 + (row.key & 1)] = row.virtualKey;
    for (const UsageRow &row : usageTable)
        state.usageOfVirtualKey[row.virtualKey] = row.usage;
    state.usageOfVirtualKey[layoutVirtualKey] = layoutFlag ? layoutUsageNonUs : layoutUsageUs;
    install();
}

InputHook *InputHook::instance()
{
    return state.instance;
}

bool InputHook::install()
{
    InputHookPlatform::uninstall();
    return InputHookPlatform::install();
}

void InputHook::uninstall()
{
    InputHookPlatform::uninstall();
}

void InputHook::setKeyboardCallback(KeyboardCallback callback, void *context)
{
    state.keyboard = callback;
    state.keyboardContext = context;
}

void InputHook::setMouseCallback(MouseCallback callback, void *context)
{
    state.mouse = callback;
    state.mouseContext = context;
}

void InputHook::setCopyDataCallback(CopyDataCallback callback, QCoreApplication *application, void *context)
{
    state.copyData = callback;
    state.copyDataContext = context;
    InputHookPlatform::receiveCopyData(application);
}

quint8 InputHook::usageFor(quint32 scanCode, quint32 flags)
{
    if (scanCode > 255)
        scanCode = 0;
    const quint32 extended = flags & HookMessage::extendedFlag;
    quint8 virtualKey = state.virtualKeyOfScan[scanCode * 2 + extended];
    // Ctrl+Break arrives as extended 46, Alt+Print Screen as 54 with Alt held.
    if (scanCode == pauseScan && extended)
        virtualKey = pauseKey;
    else if (scanCode == printScreenAltScan && (flags & HookMessage::altFlag))
        virtualKey = printScreenKey;
    return virtualKey ? state.usageOfVirtualKey[virtualKey] : 0;
}

void InputHook::keyboardProcedure(int hookCode, quint32 message, quint32 scanCode, quint32 flags)
{
    const quint8 down = hookCode == 0 && (message == HookMessage::keyDown || message == HookMessage::sysKeyDown);
    const quint8 usage = usageFor(scanCode, flags);
    // Only edges count: the repeats of a held key change nothing here.
    if (usage == 0 || state.keyDownState[usage] == down)
        return;
    state.keyDownState[usage] = down;
    if (state.keyboard)
        state.keyboard(usage, down, state.keyboardContext);
}

void InputHook::mouseProcedure(int hookCode, quint32 message, int x, int y)
{
    Q_UNUSED(hookCode);
    if (message < firstMouseMessage || message >= firstMouseMessage + std::size(mouseButtonTable))
        return;
    const MouseButtonRow &row = mouseButtonTable[message - firstMouseMessage];
    if (row.code != 0 && state.mouse)
        state.mouse(row.code, row.down, x, y, state.mouseContext);
}

bool InputHook::copyDataMessage(const CopyDataRecord &record)
{
    if (!state.copyData)
        return false;
    state.copyData(&record, state.copyDataContext);
    return true;
}

void InputHook::clearKeyState()
{
    std::fill(std::begin(state.keyDownState), std::end(state.keyDownState), quint8(0));
}
