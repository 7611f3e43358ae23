#pragma once

typedef struct _GSettings GSettings;

// The GNOME desktop's mouse settings (schema org.gnome.desktop.peripherals.mouse),
// kept by the desktop across log-outs. Absent when the schema is not installed.
// A change is handed to the desktop's settings service in the background: the
// window never waits for that service (dconf), and the end of the program waits
// for it at most a second.
class GnomeMouseSettings
{
public:
    GnomeMouseSettings() = default;
    ~GnomeMouseSettings();
    GnomeMouseSettings(const GnomeMouseSettings &) = delete;
    GnomeMouseSettings &operator=(const GnomeMouseSettings &) = delete;

    bool available();
    // -1 (slowest) ... 1 (fastest), 0 the desktop's default.
    bool setSpeed(double speed);
    bool setDoubleClick(int milliseconds);
    double speed();
    int doubleClick();

private:
    GSettings *settings();

    GSettings *m_settings = nullptr;
    bool m_looked = false;
    bool m_written = false;
};
