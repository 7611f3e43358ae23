#pragma once

#include <QString>

// What the device connection needs from the program around it: the tray agent,
// its window and the bridge. The tray agent implements it; tests use a recorder.
// Every call is made on the GUI thread.
class DeviceHost {
public:
    virtual ~DeviceHost() = default;

    // A device was opened: start the page for catalogue index curDevice.
    virtual void deviceConnected(int curDevice) = 0;
    // Tray balloon (information icon, 10000 ms).
    virtual void showNotice(const QString &title, const QString &text) = 0;
    // Enable or disable the main view (the busy lock's widget).
    virtual void setViewEnabled(bool enabled) = 0;
    // Hide the main window; the tray icon stays.
    virtual void hideWindow() = 0;
    // The bridge's clearHidBusy().
    virtual void clearHidBusy() = 0;
    // Whether the program speaks Chinese (its language setting), for the connect notice.
    virtual bool chinese() const = 0;
    // The secrecy code text stored for catalogue index `did` (its default when none is stored).
    virtual QString secrecyCode(uint did) const = 0;
};
