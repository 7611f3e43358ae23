#include "inputhook.h"

#include "inputhookplatform.h"

namespace {

// One copy per process: the platform hooks are plain functions without an object.
struct HookState {
    InputHook *instance = nullptr;
    InputHook::KeyboardCallback keyboard = nullptr;
    void *keyboardContext = nullptr;
    InputHook::MouseCallback mouse = nullptr;
    void *mouseContext = nullptr;
    InputHook::CopyDataCallback copyData = nullptr;
    void *copyDataContext = nullptr;
    HookProcedure procedure;
} state;

} // namespace

InputHook::InputHook(bool layoutFlag)
    : layoutFlag(layoutFlag)
{
    state.instance = this;
    state.procedure.setLayout(layoutFlag);
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

void InputHook::keyboardProcedure(int hookCode, quint32 message, quint32 scanCode, quint32 flags)
{
    const HookProcedure::Edge edge = state.procedure.key(hookCode, message, scanCode, flags);
    if (edge.code != 0 && state.keyboard)
        state.keyboard(edge.code, edge.down, state.keyboardContext);
}

void InputHook::mouseProcedure(int hookCode, quint32 message, int x, int y)
{
    Q_UNUSED(hookCode);
    const HookProcedure::Edge edge = HookProcedure::button(message);
    if (edge.code != 0 && state.mouse)
        state.mouse(edge.code, edge.down, x, y, state.mouseContext);
}

bool InputHook::copyDataMessage(const CopyDataRecord &record)
{
    if (!state.copyData)
        return false;
    state.copyData(&record, state.copyDataContext);
    return true;
}
