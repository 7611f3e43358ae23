#pragma once

#include <QString>

// The X/Y sensitivity levels 0...9 as the profile keeps them and as the mouse takes them.
namespace XySensitivity {

// A stored level whose text is "0".."8" stands; anything else is position 9.
int storedLevel(const QString &stored);
// Levels 0..9 go to the mouse as 20..200.
int wireValue(int level);

} // namespace XySensitivity
