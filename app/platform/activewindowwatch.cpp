#include "activewindowwatch.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <QWindow>
#include <QtDebug>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

namespace {

// Through XWayland only X clients are visible: the window in front is often none of them.
bool waylandSession()
{
    return qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
        || qgetenv("XDG_SESSION_TYPE") == "wayland"
        || (qGuiApp && QGuiApplication::platformName() != QLatin1String("xcb"));
}

} // namespace

ActiveWindowWatch::ActiveWindowWatch(QObject *parent)
    : QObject(parent)
{
    if (waylandSession()) {
        qDebug() << "No X11 active-window information in this session: profiles do not follow applications";
        return;
    }
    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        qDebug() << "No X server for the active window: profiles do not follow applications";
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    m_connection = connection;
    m_root = screens.data->root;
    m_activeAtom = atom("_NET_ACTIVE_WINDOW");
    m_clientListAtom = atom("_NET_CLIENT_LIST");
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ActiveWindowWatch::readEvents);
}

ActiveWindowWatch::~ActiveWindowWatch()
{
    delete m_notifier;
    if (m_connection)
        xcb_disconnect(m_connection);
}

uint32_t ActiveWindowWatch::atom(const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, uint16_t(strlen(name)), name), nullptr);
    const uint32_t value = reply ? reply->atom : 0;
    free(reply);
    return value;
}

void ActiveWindowWatch::readEvents()
{
    // The replies activeClass() waits for can bring events along, which xcb keeps queued and which
    // wake no notifier: the queue is looked at again after each read.
    for (bool changed = true; changed;) {
        changed = false;
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
            if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY)
                changed = changed || reinterpret_cast<xcb_property_notify_event_t *>(event)->atom == m_activeAtom;
            free(event);
        }
        if (xcb_connection_has_error(m_connection)) {
            qDebug() << "The X server closed the active-window connection: profiles no longer follow applications";
            m_notifier->setEnabled(false);
            return;
        }
        if (changed)
            emit activeChanged(activeClass());
    }
}

QList<uint32_t> ActiveWindowWatch::windowsOf(uint32_t property)
{
    QList<uint32_t> windows;
    if (!m_connection)
        return windows;
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, m_root, property, XCB_ATOM_WINDOW, 0, 4096), nullptr);
    if (reply && reply->format == 32) {
        const auto *ids = static_cast<const uint32_t *>(xcb_get_property_value(reply));
        windows = QList<uint32_t>(ids, ids + xcb_get_property_value_length(reply) / 4);
    }
    free(reply);
    return windows;
}

// A window gone before it was read, or one without WM_CLASS, has no class (an error reply, not a crash).
QString ActiveWindowWatch::classOf(uint32_t window)
{
    xcb_generic_error_t *error = nullptr;
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256), &error);
    QString windowClass;
    if (reply && reply->format == 8) {
        // "instance\0class\0": the class is the second string.
        const QByteArray value(static_cast<const char *>(xcb_get_property_value(reply)),
                               xcb_get_property_value_length(reply));
        const QList<QByteArray> parts = value.split('\0');
        if (parts.size() >= 2)
            windowClass = QString::fromUtf8(parts.at(1));
    }
    free(reply);
    free(error);
    return windowClass;
}

bool ActiveWindowWatch::ownWindow(uint32_t window) const
{
    const QWindowList windows = QGuiApplication::topLevelWindows();
    return std::any_of(windows.cbegin(), windows.cend(),
                       [window](const QWindow *own) { return own->handle() && own->winId() == window; });
}

QString ActiveWindowWatch::activeClass()
{
    const QList<uint32_t> active = windowsOf(m_activeAtom);
    if (active.isEmpty() || active.first() == XCB_WINDOW_NONE || ownWindow(active.first()))
        return QString();
    return classOf(active.first());
}

QStringList ActiveWindowWatch::openClasses()
{
    QStringList classes;
    for (uint32_t window : windowsOf(m_clientListAtom)) {
        const QString windowClass = ownWindow(window) ? QString() : classOf(window);
        if (!windowClass.isEmpty() && !classes.contains(windowClass))
            classes.append(windowClass);
    }
    classes.sort(Qt::CaseInsensitive);
    // Events that came with the replies are queued in xcb: read them, as no notifier will.
    QMetaObject::invokeMethod(this, &ActiveWindowWatch::readEvents, Qt::QueuedConnection);
    return classes;
}
