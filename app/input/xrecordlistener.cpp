#include "xrecordlistener.h"

#include "inputhook.h"
#include "linuxinputmap.h"

#include <QDebug>

#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/record.h>

namespace {

// Runs on the recording thread: the signals queue each event to the receivers.
void intercept(XPointer closure, XRecordInterceptData *intercepted)
{
    auto *self = reinterpret_cast<XRecordListener *>(closure);
    if (intercepted->category == XRecordStartOfData)
        self->recording.release();
    if (intercepted->category == XRecordFromServer && intercepted->data_len * 4 >= sizeof(xEvent)) {
        const auto *event = reinterpret_cast<const xEvent *>(intercepted->data);
        const int type = event->u.u.type & 0x7F;
        const int detail = event->u.u.detail;
        if (type == KeyPress || type == KeyRelease) {
            const auto key = LinuxInputMap::fromEvdev(quint32(detail) - LinuxInputMap::xKeycodeOffset);
            if (key.scanCode)
                emit self->keyEvent(type == KeyPress ? HookMessage::keyDown : HookMessage::keyUp, key.scanCode,
                                    key.flags);
        } else if (type == ButtonPress || type == ButtonRelease) {
            const quint32 message = LinuxInputMap::mouseMessage(detail, type == ButtonPress);
            if (message)
                emit self->buttonEvent(message, event->u.keyButtonPointer.rootX, event->u.keyButtonPointer.rootY);
        }
    }
    XRecordFreeData(intercepted);
}

} // namespace

namespace {
constexpr int enableTimeoutMs = 3000;
}

XRecordListener::XRecordListener(QObject *parent)
    : QThread(parent)
{
}

XRecordListener::~XRecordListener()
{
    stopRecording();
}

bool XRecordListener::startRecording()
{
    if (control)
        return true;
    control = XOpenDisplay(nullptr);
    data = control ? XOpenDisplay(nullptr) : nullptr;
    int major = 0, minor = 0;
    if (!data || !XRecordQueryVersion(control, &major, &minor)) {
        stopRecording();
        return false;
    }
    XRecordRange *range = XRecordAllocRange();
    if (!range) {
        stopRecording();
        return false;
    }
    range->device_events.first = KeyPress;
    range->device_events.last = ButtonRelease;
    XRecordClientSpec clients = XRecordAllClients;
    context = XRecordCreateContext(control, 0, &clients, 1, &range, 1);
    XFree(range);
    if (!context) {
        stopRecording();
        return false;
    }
    // The context must exist on the server before the data connection enables it.
    XSync(control, False);
    start();
    // Stopping before the context is enabled would leave the thread waiting for ever.
    if (!recording.tryAcquire(1, enableTimeoutMs)) {
        qDebug() << "XRecord did not start recording";
        stopRecording();
        return false;
    }
    return true;
}

void XRecordListener::stopRecording()
{
    if (context) {
        XRecordDisableContext(control, context);
        XSync(control, False);
        wait();
        XRecordFreeContext(control, context);
        context = 0;
    }
    if (data)
        XCloseDisplay(data);
    if (control)
        XCloseDisplay(control);
    data = control = nullptr;
}

void XRecordListener::run()
{
    // Blocks until stopRecording() disables the context from the control connection.
    XRecordEnableContext(data, context, intercept, reinterpret_cast<XPointer>(this));
}
