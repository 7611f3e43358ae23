#pragma once

#include "singleinstancepeer.h"

#include <QStringList>

class Hid_Thread;
class myQQuickView;

// A command handed over by a command-line call, carried out by the running
// program on its own profiles and mouse. A profile switch and an import into
// the current profile go through the profile page, so the page shows them.

PeerAnswer runInstanceCommand(const QStringList &args, myQQuickView *view, Hid_Thread &hid);
