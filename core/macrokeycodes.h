#pragma once

#include <QString>

// HID usage of a keyboard key name, or the code of a mouse button name
// ("MS-L" 0xF0 ... "MS-B5" 0xF4), as macro files spell them; 0 for an unknown name.
int macroKeyCode(const QString &name);
