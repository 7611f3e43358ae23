#pragma once

#include <QVariantList>

class Hid_Thread;
class ProfileStore;

// Sends the current profile of `store` to the mouse in the order and form the
// main page uses, for callers without the page (the command line). Values are
// stored before they are sent, as the page's slots do, so the profile file ends
// the same either way.
namespace ProfileSender {

// The main page's reload with sending after a profile switch: key matrix, axis
// sensitivity, DPI stages with the lighting refresh and the stage colours, the
// lighting effect, the report rate, the lift-off height (not on model 0) and a
// closing lighting refresh.
void sendSwitchedProfile(ProfileStore &store, Hid_Thread &hid);

// The profile page's Load after an import: the macro of each macro button,
// then the same panels re-sent, without the lift-off height and the closing refresh.
void sendLoadedProfile(ProfileStore &store, Hid_Thread &hid);

} // namespace ProfileSender
