#pragma once

#include <QString>

class Hid_Thread;
class QObject;

// Starts the firmware updater of the connected model from ./update/.
namespace UpdateLauncher {

// The updater for catalogue index did: "./update/3336.exe" for 0 and any unknown index.
QString programFor(unsigned did);

// Stops the event monitor, waits 500 ms, then starts the updater from its own
// folder with its output discarded; the process object belongs to owner. Nothing
// waits for it. False, with the monitor left running, when no updater for the
// model is installed.
bool launch(QObject *owner, Hid_Thread *hid);

} // namespace UpdateLauncher
