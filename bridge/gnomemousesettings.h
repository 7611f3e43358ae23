#pragma once

typedef struct _GSettings GSettings;

// The GNOME desktop's mouse settings (schema org.gnome.desktop.peripherals.mouse),
// kept by the desktop across log-outs. Absent when the schema is not installed.
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
};
