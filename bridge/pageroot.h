#pragma once

#include <QPointer>
#include <QString>
#include <QVariantList>

// Every call native code makes into the page: main.qml's root functions and properties, by
// their names in this one place. Calls marked queued reach the page from the event loop.
class PageRoot
{
public:
    // `root` is the page's root item; without one every call prints a line and does nothing.
    explicit PageRoot(QObject *root) : root(root) {}

    // A device connection begins with catalogue model `curDevice`.
    void initUI(int curDevice) const;
    void run() const;
    // Busy lock of `interval` ms; 0 releases it.
    void setProtectUI(int interval) const;
    // Queued: 0 usable, 1 no mouse, 2 a mouse this user may not open.
    void setMouseState(int state, bool reveal) const;
    // Queued: a key (HID usage) or mouse button seen by the input hooks.
    void detectKeyboard(bool isDown, int usbCode) const;
    void detectMouse(bool isDown, uint buttonCode, uint x, uint y) const;
    // The window is hidden in the tray: the page lets go of its large pictures until it shows again.
    void setInTray(bool inTray) const;

    // The page was started by a device connection and the mouse is connected now.
    bool started() const;
    // A dialog of the page or a modal box covers it, so a command through the page would act under it.
    bool dialogOpen() const;
    // As on the profile page: `profile` chosen in the list and sent as the list closes; -1
    // makes a new one as New does. The profile then current, or -1 when all six are in use.
    int commandLineProfile(int profile) const;
    // The name the profile page lists for `profile`; empty when it lists none.
    QString profileName(int profile) const;
    // As the profile page's Load, with `file` in place of the one the user would pick.
    void commandLineLoad(const QString &file) const;

private:
    QVariant call(const char *function, const QVariantList &arguments, bool queued = false) const;
    QVariant property(const char *name) const;

    QPointer<QObject> root;
};
