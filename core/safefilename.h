#pragma once

#include <QString>

// Whether a name the user typed (a macro name, a language code) may become
// part of a file name below ./modules/ without leaving its folder or making a
// file other programs cannot handle: 1..64 characters, no "..", no path
// separators or drive colons, no characters Windows forbids in file names, no
// control characters, and no blank or dot at either end.
bool isSafeFileName(const QString &name);

inline constexpr int maxSafeFileNameLength = 64;
