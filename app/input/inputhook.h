#pragma once

#include <hookprocedure.h>

#include <QtGlobal>

class QCoreApplication;

// What a copy-data message carries: the sender's identifier, a byte count and the bytes.
struct CopyDataRecord {
    quintptr identifier = 0;
    quint32 byteCount = 0;
    const void *data = nullptr;
};

// The desktop-wide keyboard and mouse hooks: what HookProcedure makes of each message
// goes to the callbacks, a button with its screen position. Input is only watched,
// never held or changed.
// One instance per process; the hooks and callbacks are module state.
class InputHook
{
public:
    using KeyboardCallback = void (*)(uchar usage, uchar keyDown, void *context);
    using MouseCallback = void (*)(uchar buttonCode, uchar buttonDown, int x, int y, void *context);
    using CopyDataCallback = void (*)(const CopyDataRecord *record, void *context);

    // Picks the usage of virtual key DC (see HookProcedure) and installs the hooks.
    explicit InputHook(bool layoutFlag = false);

    static InputHook *instance();

    // True when both hooks are in place; on failure neither is and nothing is reported.
    bool install();
    void uninstall();

    void setKeyboardCallback(KeyboardCallback callback, void *context);
    void setMouseCallback(MouseCallback callback, void *context);
    // Also starts receiving copy-data messages for the application.
    void setCopyDataCallback(CopyDataCallback callback, QCoreApplication *application, void *context);

    // The hook procedures proper, fed by the platform hooks (and by tests).
    static void keyboardProcedure(int hookCode, quint32 message, quint32 scanCode, quint32 flags);
    static void mouseProcedure(int hookCode, quint32 message, int x, int y);
    // Hands a copy-data record to its callback; false when none is registered.
    static bool copyDataMessage(const CopyDataRecord &record);

private:
    bool layoutFlag;
};
