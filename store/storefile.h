#pragma once

#include "storedocument.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSettings>
#include <QString>

#include <memory>

class QFileDevice;

// Every file the program reads (profiles, apConfig.bin, name lists, macro
// files, recoil data, exchange files, language files, the catalogue) is read
// through here, and every store file written, so all of them share one INI
// dialect, which never decodes a typed value, and one checked writer.
namespace StoreFile {

// The QSettings format of that dialect.
QSettings::Format format();

// The keys and values of a file's text in that dialect; typed values kept as
// text are named on the debug output, one line for the file.
void read(QByteArrayView text, QSettings::SettingsMap &map, const QString &fileName);

// A settings object on path in that dialect, for the files kept open for the
// whole run (apConfig.bin, profiles); the caller owns it.
QSettings *create(const QString &path);

// Writes what is pending and says on the debug output when the file could not
// be read or written (the previous file then stays as it was).
bool sync(QSettings &settings);

// A file opened for one call; what changed is written when the handle goes.
using Handle = std::unique_ptr<StoreDocument>;
Handle open(const QString &path);

// Writes all of content to an open file: true only when every byte reached it
// (written, flushed, and the file's size is the content's size).
bool writeAll(QFileDevice &file, const QByteArray &content);

// Replaces the file at path by content: written beside it and renamed over it
// only when writeAll() succeeded. On failure the old file stays, the temporary
// file is removed, one debug line says why, and false comes back.
bool replace(const QString &path, const QByteArray &content);

} // namespace StoreFile
