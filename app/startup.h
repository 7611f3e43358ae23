#pragma once

#include <QStringList>

#include <memory>

class Hid_Thread;
class ProfileStore;
class SimulatedG7;

// What the window and a command-line call both do before they reach the mouse, so the two
// find the same data files, the same mice and talk to them the same way.
namespace Startup {

// Makes the program's folder the working folder, chooses the data folder and installs the
// device backend of --simulate[=N] and --trace FILE (a relative FILE is the caller's).
// Returns the simulated mouse, or null for the real one.
std::shared_ptr<SimulatedG7> prepare(const QStringList &args);

// Lists the attached catalogue models under the product names kept in apConfig.bin and
// sets whether their reports are scrambled.
void findMice(Hid_Thread &hid, const ProfileStore &store);

// The scrambler's code for catalogue entry did, as kept in apConfig.bin; a kept code that
// is not six characters leaves the one in use.
void loadSecrecyCode(const ProfileStore &store, uint did);

} // namespace Startup
