#pragma once

#include <QList>
#include <QSettings>
#include <QString>
#include <QStringList>

// One section of the device catalogue as read.
struct DevInfoEntry {
    qint32 type = -1;
    quint16 vid = 0;
    quint16 pid = 0;
    quint16 usagePage = 0;
    quint16 usage = 0;
    quint16 usagePage2 = 0;
    quint16 usage2 = 0;
    QString productName;
    quint32 reportLength = 0;
};

// One entry of the device list built by discovery.
struct DeviceRecord {
    qint32 index = 0;
    QString productName;
    qint32 type = -1;
    QString path;   // command interface; empty when not found or after a failed open
    QString path2;  // event interface; empty when not found or after the device was lost
    quint32 reportLength = 0;
};

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
