#pragma once

#include <QVariant>
#include <QVariantList>

class Hid_Thread;

// Sends an encoded macro to mouse slot 0..11. A slot above 11 and a list that
// does not fit the 192-byte block (closing zeros included) send nothing and
// give false.
bool sendMacro(Hid_Thread *hid, const QVariantList &macroData, const QVariant &macroIndex);
