#pragma once

#include <QObject>
#include <QStringList>

#include <cstdint>

class QSocketNotifier;
struct xcb_connection_t;

// Follows the application in front on X11: the window manager's
// _NET_ACTIVE_WINDOW on the root window, read on a connection of our own whose
// property-change events wake a socket notifier (nothing is polled). On
// Wayland, or without an X server, it stays off.
class ActiveWindowWatch : public QObject
{
    Q_OBJECT
public:
    explicit ActiveWindowWatch(QObject *parent = nullptr);
    ~ActiveWindowWatch() override;

    // Whether the X server tells this program which window is in front.
    bool available() const { return m_connection != nullptr; }
    // The classes of the windows open now (_NET_CLIENT_LIST), sorted, each once.
    QStringList openClasses();

signals:
    // The window manager named another active window: its class (WM_CLASS's class part); empty
    // for none, one of this program's, or one without a readable class.
    void activeChanged(const QString &windowClass);

private:
    void readEvents();
    QString activeClass();
    uint32_t atom(const char *name);
    QList<uint32_t> windowsOf(uint32_t property);
    QString classOf(uint32_t window);
    bool ownWindow(uint32_t window) const;

    xcb_connection_t *m_connection = nullptr;
    QSocketNotifier *m_notifier = nullptr;
    uint32_t m_root = 0;
    uint32_t m_activeAtom = 0;
    uint32_t m_clientListAtom = 0;
};
