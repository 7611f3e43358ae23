#pragma once

#include "gnomemousesettings.h"
#include "kdewheellines.h"
#include "pointersettings.h"
#include "x11pointercontrol.h"

#include <QByteArray>

// Pointer settings on a Linux desktop. The X server's pointer control carries
// acceleration and speed and applies them at once; where the GNOME settings
// are installed, speed and double-click time also go there, so they outlive
// the session. Wheel lines go to KDE Plasma's settings; other desktops keep none.
class LinuxPointerSettings : public PointerSettings
{
public:
    // An empty name means $DISPLAY.
    explicit LinuxPointerSettings(const QByteArray &displayName = QByteArray());

    bool getMouse(int params[3]) override;
    bool setMouse(const int params[3]) override;
    bool setMouseSpeed(unsigned speed) override;
    bool setWheelScrollLines(unsigned lines) override;
    bool setDoubleClickTime(unsigned milliseconds) override;
    bool hasWheelScrollLines() override;

    // What a speed becomes in each place.
    static int x11Threshold(unsigned speed);
    static double gnomeSpeed(unsigned speed);

    X11PointerControl x11;
    GnomeMouseSettings gnome;
    KdeWheelLines kde;
};
