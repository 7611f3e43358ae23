#include "x11pointercontrol.h"

#include <X11/Xlib.h>

namespace {
bool requestFailed = false;
// Xlib's own handler ends the process; a refused change is only a failed call.
int noteError(Display *, XErrorEvent *)
{
    requestFailed = true;
    return 0;
}
}

X11PointerControl::X11PointerControl(const QByteArray &displayName)
    : m_name(displayName)
{
}

X11PointerControl::~X11PointerControl()
{
    if (m_display)
        XCloseDisplay(m_display);
}

_XDisplay *X11PointerControl::display()
{
    // One attempt: a session without an X server stays without one.
    if (!m_tried) {
        m_tried = true;
        m_display = XOpenDisplay(m_name.isEmpty() ? nullptr : m_name.constData());
    }
    return m_display;
}

bool X11PointerControl::read(Values &values)
{
    Display *dpy = display();
    if (!dpy)
        return false;
    XGetPointerControl(dpy, &values.numerator, &values.denominator, &values.threshold);
    return true;
}

bool X11PointerControl::change(const Values &values, bool ratio, bool threshold)
{
    Display *dpy = display();
    if (!dpy || values.numerator < 1 || values.denominator < 1 || values.threshold < 0)
        return false;
    requestFailed = false;
    XErrorHandler previous = XSetErrorHandler(noteError);
    XChangePointerControl(dpy, ratio, threshold, values.numerator, values.denominator, values.threshold);
    // Round trip, so the server's answer is in before we report.
    XSync(dpy, False);
    XSetErrorHandler(previous);
    return !requestFailed;
}
