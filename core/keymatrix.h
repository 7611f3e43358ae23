#pragma once

#include <QVariantList>

#include <array>

// The 16 four-byte key entries of the mouse's buttons, keyCode0 (the entry type) first.
namespace KeyMatrix {

inline constexpr int entryCount = 16;
inline constexpr int byteCount = 64;
// The entry type of a button that plays a macro; its fourth value names the macro.
inline constexpr int macroType = 0x0A;

using Bytes = std::array<unsigned char, byteCount>;

// Entry k of a 64-value page list: the four values at 4k..4k+3, as stored in the profile.
QVariantList entry(const QVariantList &src, int k);

// The first of the 16 entries of a page list that is not four whole numbers 0..255, or -1.
int invalidEntry(const QVariantList &src);

// What goes on the wire for a page list: each value truncated to 8 bits, entries 7, 8 and 9
// replaced by the mouse's fixed click and recoil entries, each entry's bytes reversed.
Bytes wireBytes(const QVariantList &src);

// Up to 64 values truncated to 8 bits, in the order given (the recoil page's own matrix).
Bytes plainBytes(const QVariantList &src);

} // namespace KeyMatrix
