// The low-level hooks and WM_COPYDATA on Windows.

#include "inputhook.h"
#include "inputhookplatform.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QtCore/qt_windows.h>

namespace {

HHOOK keyboardHook = nullptr;
HHOOK mouseHook = nullptr;

LRESULT CALLBACK keyboardHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto *event = reinterpret_cast<const KBDLLHOOKSTRUCT *>(lParam);
    InputHook::keyboardProcedure(code, quint32(wParam), quint32(event->scanCode), quint32(event->flags));
    return CallNextHookEx(keyboardHook, code, wParam, lParam);
}

LRESULT CALLBACK mouseHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto *event = reinterpret_cast<const MSLLHOOKSTRUCT *>(lParam);
    InputHook::mouseProcedure(code, quint32(wParam), int(event->pt.x), int(event->pt.y));
    return CallNextHookEx(mouseHook, code, wParam, lParam);
}

class CopyDataFilter : public QAbstractNativeEventFilter
{
public:
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override
    {
        if (eventType != "windows_generic_MSG")
            return false;
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg->message != WM_COPYDATA)
            return false;
        const auto *copy = reinterpret_cast<const COPYDATASTRUCT *>(msg->lParam);
        CopyDataRecord record;
        record.identifier = quintptr(copy->dwData);
        record.byteCount = quint32(copy->cbData);
        record.data = copy->lpData;
        if (!InputHook::copyDataMessage(record))
            return false;
        if (result)
            *result = 1;
        return true;
    }
};

} // namespace

bool InputHookPlatform::install()
{
    const HINSTANCE module = GetModuleHandleW(nullptr);
    keyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, keyboardHookProc, module, 0);
    mouseHook = SetWindowsHookExW(WH_MOUSE_LL, mouseHookProc, module, 0);
    if (keyboardHook && mouseHook)
        return true;
    uninstall();
    return false;
}

void InputHookPlatform::uninstall()
{
    if (keyboardHook)
        UnhookWindowsHookEx(keyboardHook);
    if (mouseHook)
        UnhookWindowsHookEx(mouseHook);
    keyboardHook = nullptr;
    mouseHook = nullptr;
}

void InputHookPlatform::receiveCopyData(QCoreApplication *application)
{
    static CopyDataFilter filter;
    if (application)
        application->installNativeEventFilter(&filter);
}
