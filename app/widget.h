#pragma once

#include <devicehost.h>
#include <hid_thread.h>

#include "singleinstancepeer.h"

#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <functional>

class DesktopNotifier;
class DeviceWatch;
class QAction;
class Ui_Controler;

// The tray agent: the one top-level window, its tray icon and menu, the device
// object and the watch that rescans when devices come and go.
class Widget : public QWidget, public DeviceHost
{
    Q_OBJECT
public:
    explicit Widget(QWidget *parent = nullptr);
    ~Widget() override;

    // Rescans 2048 ms after the last change the watch reports, while no event
    // monitor runs (the monitor notices a removal itself).
    void watchDevices(DeviceWatch *watch);
    void deviceChangeNotified();

    // DeviceHost
    void deviceConnected(int curDevice) override;
    void showNotice(const QString &title, const QString &text) override;
    void setViewEnabled(bool enabled) override;
    void hideWindow() override;
    void clearHidBusy() override;
    bool chinese() const override;
    QString secrecyCode(uint did) const override;

    // The language setting, as the page has it.
    QVariant language() const;

    // What the window shows while no mouse can be used.
    enum class MouseState { Usable = 0, NoMouse = 1, NoPermission = 2 };
    // Start-up found no usable mouse: without a tray host the window says so at once.
    void startWithoutMouse(MouseState state);
    // Brings the window up, with the no-mouse state when no mouse is usable.
    void showWindow();
    // The page's close button: into the tray, or minimised when there is no tray to come back from.
    void closeWindow();
    void setVisible(bool visible) override;

    // Asked at every use, so a tray host that appears later is picked up; tests replace it.
    std::function<bool()> trayHostAvailable = &QSystemTrayIcon::isSystemTrayAvailable;

    // A command handed over by a command-line call, carried out here.
    PeerAnswer runCommand(const QStringList &args);

    // True once "Quit" was chosen, even before the event loop ran: the start-up
    // device check pumps events, and QCoreApplication::exit() outside a running
    // event loop does nothing.
    bool quitRequested() const { return quitChosen; }

    QTimer pollTimer;
    Ui_Controler *controller = nullptr;
    Hid_Thread hid;
    QSystemTrayIcon *trayIcon = nullptr;
    bool shiftDown = false;
    bool altDown = false;

public slots:
    void trayIconActivated(QSystemTrayIcon::ActivationReason reason);
    void checkDevice();
    void exitSYS();
    void receiveMessage(QString msg);

protected:
    void customEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Gives back what only drawing the page needed while it sits hidden in the tray.
    void releaseHiddenMemory();
    // The view's and the desktop's frame of the window (2.5 MB each), made again when it shows.
    void releaseFrames();

    void buildTrayMenu();
    void setMouseState(MouseState state, bool reveal);

    QSize shownViewSize;   // valid while the view's frame is let go of
    bool quitChosen = false;
    MouseState mouseState = MouseState::NoMouse;
    QAction *statusAction = nullptr;
    DesktopNotifier *notifier = nullptr;
#if defined(Q_OS_WIN)
    bool nativeEvent(const QByteArray &eventType, void *message, qintptr *result) override;
#endif
};
