#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

class Hid_Thread;

// Reads the catalogue in catalogueFormat (the program's INI dialect) with the caller's product
// names, lists the attached catalogued models and sets the scrambling switch; connects nothing.
void findCataloguedDevices(Hid_Thread &hid, QSettings::Format catalogueFormat, const QStringList &productNames,
                           const QString &cataloguePath = QStringLiteral(":/DevInfo.ini"));

// One whole device check: reads the catalogue in catalogueFormat (the program's
// INI dialect) with the product names the caller read from its settings, finds
// the first catalogued model whose two interfaces are attached, sets the
// scrambling switch and connects through hid.swichCurDevice(hid.did). Runs on
// the GUI thread.
void runDiscovery(Hid_Thread &hid, QSettings::Format catalogueFormat, const QStringList &productNames,
                  const QString &cataloguePath = QStringLiteral(":/DevInfo.ini"));
