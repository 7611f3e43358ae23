#pragma once

#include <QString>

class Hid_Thread;

// One whole device check: reads the catalogue (product names from the
// application settings), finds the first catalogued model whose two interfaces
// are attached, sets the scrambling switch and connects through
// hid.swichCurDevice(hid.did). Runs on the GUI thread.
void runDiscovery(Hid_Thread &hid, const QString &cataloguePath = QStringLiteral(":/DevInfo.ini"));
