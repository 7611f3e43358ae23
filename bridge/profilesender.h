#pragma once

#include "profilesendplan.h"

class Hid_Thread;
class ProfileStore;

// Sends the current profile of `store` to the mouse for callers without the page (the
// command line), walking the same plan as the page's panels with the same conversions.
// Values are stored before they are sent, as the page's slots do, so the profile file ends
// the same either way; the desktop's pointer settings are the page's alone.
namespace ProfileSender {

void send(ProfileSendPlan::Flow flow, ProfileStore &store, Hid_Thread &hid);

} // namespace ProfileSender
