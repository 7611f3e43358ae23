#pragma once

#include <QByteArray>

struct _XDisplay;

// The X server's pointer control (the settings `xset m` shows): movement past
// `threshold` pixels is multiplied by numerator / denominator. Changes apply
// at once to every pointer of the server. The connection opens on first use.
class X11PointerControl
{
public:
    struct Values {
        int numerator = 1;
        int denominator = 1;
        int threshold = 0;
    };

    // An empty name means $DISPLAY.
    explicit X11PointerControl(const QByteArray &displayName = QByteArray());
    ~X11PointerControl();
    X11PointerControl(const X11PointerControl &) = delete;
    X11PointerControl &operator=(const X11PointerControl &) = delete;

    bool read(Values &values);
    // Changes the ratio, the threshold or both; false without an X server.
    bool change(const Values &values, bool ratio, bool threshold);

private:
    _XDisplay *display();

    QByteArray m_name;
    _XDisplay *m_display = nullptr;
    bool m_tried = false;
};
