#pragma once

#include <QtGlobal>

class QCoreApplication;

// What a copy-data message carries: the sender's identifier, a byte count and the bytes.
struct CopyDataRecord {
    quintptr identifier = 0;
    quint32 byteCount = 0;
    const void *data = nullptr;
};

// Messages and flags of the low-level hooks, the form every platform feeds in.
namespace HookMessage {
inline constexpr quint32 keyDown = 0x100, keyUp = 0x101, sysKeyDown = 0x104, sysKeyUp = 0x105;
inline constexpr quint32 leftDown = 0x201, leftUp = 0x202, rightDown = 0x204, rightUp = 0x205,
                         middleDown = 0x207, middleUp = 0x208;
inline constexpr quint32 extendedFlag = 0x01, altFlag = 0x20;
}

// The desktop-wide keyboard and mouse hooks: every key becomes a USB HID usage with
// a down or up edge, every left, right or middle button press or release a button
// code with its screen position. Input is only watched, never held or changed.
// One instance per process; the hooks and callbacks are module state.
class InputHook
{
public:
    using KeyboardCallback = void (*)(uchar usage, uchar keyDown, void *context);
    using MouseCallback = void (*)(uchar buttonCode, uchar buttonDown, int x, int y, void *context);
    using CopyDataCallback = void (*)(const CopyDataRecord *record, void *context);

    // Builds both tables (the flag picks the usage of virtual key DC) and installs the hooks.
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

    // The usage a key maps to (0: none), without edge detection.
    static quint8 usageFor(quint32 scanCode, quint32 flags);
    // Forgets which keys are held, as at start-up.
    static void clearKeyState();

private:
    bool layoutFlag;
};
