#pragma once

#include "clirequest.h"
#include "singleinstancepeer.h"

#include <functional>

class Hid_Thread;
class ProfileStore;
struct DeviceRecord;

// What a command-line command works on: the profiles, the mouse, and how a
// profile reaches the mouse. The command-line process fills it with its own
// store and device; the running program with its page's.
struct CliTarget
{
    ProfileStore &store;
    Hid_Thread &hid;
    // Whether a mouse is open to send to and query.
    std::function<bool()> mouseReady;
    // How a mouse's interfaces can be reached, for --list.
    std::function<QString(const DeviceRecord &record)> access;
    // Makes `profile` current and sends it.
    std::function<void(int profile)> switchProfile;
    // Sends the current profile after `file` was imported into it.
    std::function<void(const QString &file)> applyImported;
    // As the profile page's New: a profile with the factory settings, listed and
    // made current; its number, or -1 when all six are in use.
    std::function<int()> newProfile;
};

// New for a store nobody else holds: the page's names and numbers, in name.bin.
int createProfile(ProfileStore &store);

// Carries out one command; the answer holds the lines to print and the exit code.
PeerAnswer runCliRequest(const CliRequest &request, CliTarget &target);
