#pragma once

#include <QSettings>
#include <QString>

#include <memory>

// Every file the program reads (profiles, apConfig.bin, name lists, macro
// files, recoil data, exchange files, language files, the catalogue) is opened
// through here, so all of them share one INI dialect, which never decodes a
// typed value.
namespace StoreFile {

// The QSettings format of that dialect.
QSettings::Format format();

// A settings object on path in that dialect; the caller owns it.
QSettings *create(const QString &path);

// Writes what is pending and says on the debug output when the file could not
// be read or written (the previous file then stays as it was).
bool sync(QSettings &settings);

// Syncs through sync() when the object goes.
struct Closer
{
    void operator()(QSettings *settings) const;
};
using Handle = std::unique_ptr<QSettings, Closer>;
Handle open(const QString &path);

} // namespace StoreFile
