#include "macrokeycodes.h"

#include "keynames.h"

int macroKeyCode(const QString &name)
{
    return keyNameTable().value(name, 0);
}
