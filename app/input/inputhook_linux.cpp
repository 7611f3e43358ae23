// The input hooks on Linux: XRecord on X11, our own window's events elsewhere, and a
// local socket for copy-data records.

#include "copydataendpoint.h"
#include "inputhook.h"
#include "inputhookplatform.h"
#include "windowinputfeed.h"
#include "xrecordlistener.h"

#include <QCoreApplication>
#include <QDebug>
#include <QGuiApplication>

namespace {

XRecordListener *listener = nullptr;
WindowInputFeed *feed = nullptr;
CopyDataEndpoint *endpoint = nullptr;
bool toldWindowOnly = false;

// G7_NO_XRECORD=1 takes keys from the window alone, as on Wayland.
bool desktopRecordingWanted()
{
    return QGuiApplication::platformName() == QLatin1String("xcb") && qEnvironmentVariableIntValue("G7_NO_XRECORD") == 0;
}

bool startRecording()
{
    listener = new XRecordListener;
    if (!listener->startRecording()) {
        delete listener;
        listener = nullptr;
        return false;
    }
    QObject::connect(listener, &XRecordListener::keyEvent, listener, [](quint32 message, quint32 scanCode, quint32 flags) {
        InputHook::keyboardProcedure(0, message, scanCode, flags);
    });
    QObject::connect(listener, &XRecordListener::buttonEvent, listener, [](quint32 message, int x, int y) {
        InputHook::mouseProcedure(0, message, x, y);
    });
    return true;
}

} // namespace

bool InputHookPlatform::install()
{
    if (!QCoreApplication::instance())
        return false;
    if (desktopRecordingWanted() && startRecording())
        return true;
    feed = new WindowInputFeed;
    QCoreApplication::instance()->installEventFilter(feed);
    if (!toldWindowOnly) {
        toldWindowOnly = true;
        qDebug().noquote() << "Desktop-wide key capture is not available in this session;"
                              " keys and mouse buttons are taken from this program's own window only.";
    }
    return true;
}

void InputHookPlatform::uninstall()
{
    if (listener) {
        listener->stopRecording();
        delete listener;
        listener = nullptr;
    }
    delete feed; // removes itself from the application's filters
    feed = nullptr;
}

void InputHookPlatform::receiveCopyData(QCoreApplication *application)
{
    if (endpoint || !application)
        return;
    endpoint = new CopyDataEndpoint(application);
    QObject::connect(endpoint, &CopyDataEndpoint::recordReceived, endpoint, [](quint32 identifier, const QByteArray &bytes) {
        CopyDataRecord record;
        record.identifier = identifier;
        record.byteCount = quint32(bytes.size());
        record.data = bytes.constData();
        InputHook::copyDataMessage(record);
    });
    endpoint->open();
}
