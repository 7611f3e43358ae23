#pragma once

#include "singleinstancepeer.h"

#include <QStringList>

class Hid_Thread;
class myQQuickView;

// A command handed over by a command-line call, carried out by the running
// program on its own profiles and mouse. A profile switch and an import into
// the current profile go through the profile page, so the page shows them.
// The page is up: a mouse connected and the profile page exists.
bool pageRunning(myQQuickView *view);
// A page dialog or a modal box is open.
bool dialogOpen(myQQuickView *view);
// The profile page's switch: selects the profile's row and closes the panel, which re-sends it.
void switchOnPage(myQQuickView *view, int profile);

PeerAnswer runInstanceCommand(const QStringList &args, myQQuickView *view, Hid_Thread &hid);
