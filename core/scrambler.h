#pragma once

#include <array>

// The keyed, invertible shuffle of one 8-byte command block. The code holds the
// six characters of the secrecy code in bytes 1 to 6; bytes 0 and 7 are never
// used.
void scrambleBlock(unsigned char block[8], const unsigned char code[8]);
void unscrambleBlock(unsigned char block[8], const unsigned char code[8]);

// The steps of the transform, in the order scrambleBlock applies them.
namespace ScrambleSteps {

// The fixed table added last: the characters of "TuVbrQis", nibble-swapped.
constexpr std::array<unsigned char, 8> table()
{
    constexpr char text[] = "TuVbrQis";
    std::array<unsigned char, 8> s{};
    for (int i = 0; i < 8; ++i) {
        const unsigned char k = static_cast<unsigned char>(text[i]);
        s[i] = static_cast<unsigned char>((k << 4) | (k >> 4));
    }
    return s;
}

// Swaps bytes 0<->5, 1<->4, 2<->7, 3<->6; its own inverse.
void swapPairs(unsigned char block[8]);
// XORs bytes 1 to 6 with the code; its own inverse.
void mixCode(unsigned char block[8], const unsigned char code[8]);
// Rotates the block as one big-endian 64-bit number by 3 bits.
void rotateLeft3(unsigned char block[8]);
void rotateRight3(unsigned char block[8]);
void addTable(unsigned char block[8]);
void subtractTable(unsigned char block[8]);

} // namespace ScrambleSteps
