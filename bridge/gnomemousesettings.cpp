// GIO first: its headers use names Qt defines as macros.
#include <gio/gio.h>

#include "gnomemousesettings.h"

#include <chrono>
#include <future>
#include <memory>
#include <thread>

namespace {
constexpr char schemaId[] = "org.gnome.desktop.peripherals.mouse";
constexpr char speedKey[] = "speed";
constexpr char doubleClickKey[] = "double-click";
// How long the end of the program waits for the desktop's store to take the last changes.
constexpr std::chrono::milliseconds flushWait{1000};

// g_settings_sync() waits for the settings service without a time limit (dconf over
// the session bus): it runs on a thread of its own, left behind if it takes too long.
void flushWithin(std::chrono::milliseconds limit)
{
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    std::thread([done] {
        g_settings_sync();
        done->set_value();
    }).detach();
    finished.wait_for(limit);
}
}

GnomeMouseSettings::~GnomeMouseSettings()
{
    if (!m_settings)
        return;
    // Changes go out in the background; only the last ones may still be on their way.
    if (m_written)
        flushWithin(flushWait);
    g_object_unref(m_settings);
}

GSettings *GnomeMouseSettings::settings()
{
    if (m_looked)
        return m_settings;
    m_looked = true;
    // g_settings_new() aborts on a schema that is not installed: look first.
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    GSettingsSchema *schema = source ? g_settings_schema_source_lookup(source, schemaId, TRUE) : nullptr;
    if (!schema)
        return nullptr;
    const bool complete = g_settings_schema_has_key(schema, speedKey)
            && g_settings_schema_has_key(schema, doubleClickKey);
    g_settings_schema_unref(schema);
    if (complete)
        m_settings = g_settings_new(schemaId);
    return m_settings;
}

bool GnomeMouseSettings::available()
{
    return settings() != nullptr;
}

bool GnomeMouseSettings::setSpeed(double speed)
{
    GSettings *s = settings();
    if (!s || speed < -1.0 || speed > 1.0)
        return false;
    const bool done = g_settings_set_double(s, speedKey, speed);
    m_written = m_written || done;
    return done;
}

bool GnomeMouseSettings::setDoubleClick(int milliseconds)
{
    GSettings *s = settings();
    if (!s || milliseconds <= 0)
        return false;
    const bool done = g_settings_set_int(s, doubleClickKey, milliseconds);
    m_written = m_written || done;
    return done;
}

double GnomeMouseSettings::speed()
{
    GSettings *s = settings();
    return s ? g_settings_get_double(s, speedKey) : 0.0;
}

int GnomeMouseSettings::doubleClick()
{
    GSettings *s = settings();
    return s ? g_settings_get_int(s, doubleClickKey) : 0;
}
