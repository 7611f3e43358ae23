#pragma once

#include <QHash>
#include <QString>

// One named HID usage: a keyboard key (page 0x07) or a mouse button (0xF0..0xF4).
struct KeyName
{
    const char *name;   // UTF-8
    int code;
};

// Every keyboard usage with a name, in code order; "\ |" names 0x31 and 0x32.
extern const KeyName keyboardKeyNames[128];
// The five mouse buttons.
extern const KeyName mouseButtonNames[5];

// Name -> code for the 127 keyboard names and the 5 mouse names; "\ |" gives 0x31.
// Built on the first call; the view makes that call when it is constructed.
const QHash<QString, int> &keyNameTable();
