#pragma once

#include "hid_thread.h"

#include <QList>
#include <QSettings>
#include <QString>
#include <QStringList>

// Reads the device catalogue (DevInfo.ini; ":/DevInfo.ini" in the program) in
// `format`, the program's INI dialect (StoreFile::format()).
// Entry i takes productNames[i] as its product name (empty when the list is
// shorter). *isEncode receives [common]/isEncode (false when missing).
// A missing file or [common] section gives an empty list.
QList<DevInfoEntry> readCatalogue(const QString &iniPath, QSettings::Format format,
                                  const QStringList &productNames, bool *isEncode);

// A catalogue claiming more models than this is read as this many: every entry
// is enumerated at each device change.
constexpr int maxCatalogueEntries = 64;
