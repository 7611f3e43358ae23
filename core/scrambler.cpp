#include "scrambler.h"

#include <utility>

namespace ScrambleSteps {

namespace {
constexpr std::array<unsigned char, 8> S = table();
static_assert(S[0] == 0x45 && S[7] == 0x37, "nibble-swapped 'T' and 's'");
} // namespace

void swapPairs(unsigned char block[8])
{
    std::swap(block[0], block[5]);
    std::swap(block[1], block[4]);
    std::swap(block[2], block[7]);
    std::swap(block[3], block[6]);
}

void mixCode(unsigned char block[8], const unsigned char code[8])
{
    for (int i = 1; i <= 6; ++i)
        block[i] ^= code[i];
}

void rotateLeft3(unsigned char block[8])
{
    const unsigned char first = block[0];
    for (int i = 0; i < 7; ++i)
        block[i] = static_cast<unsigned char>((block[i] << 3) | (block[i + 1] >> 5));
    block[7] = static_cast<unsigned char>((block[7] << 3) | (first >> 5));
}

void rotateRight3(unsigned char block[8])
{
    const unsigned char last = block[7];
    for (int i = 7; i > 0; --i)
        block[i] = static_cast<unsigned char>((block[i] >> 3) | (block[i - 1] << 5));
    block[0] = static_cast<unsigned char>((block[0] >> 3) | (last << 5));
}

void addTable(unsigned char block[8])
{
    for (int i = 0; i < 8; ++i)
        block[i] = static_cast<unsigned char>(block[i] + S[i]);
}

void subtractTable(unsigned char block[8])
{
    for (int i = 0; i < 8; ++i)
        block[i] = static_cast<unsigned char>(block[i] - S[i]);
}

} // namespace ScrambleSteps

void scrambleBlock(unsigned char block[8], const unsigned char code[8])
{
    ScrambleSteps::swapPairs(block);
    ScrambleSteps::mixCode(block, code);
    ScrambleSteps::rotateLeft3(block);
    ScrambleSteps::addTable(block);
}

void unscrambleBlock(unsigned char block[8], const unsigned char code[8])
{
    ScrambleSteps::subtractTable(block);
    ScrambleSteps::rotateRight3(block);
    ScrambleSteps::mixCode(block, code);
    ScrambleSteps::swapPairs(block);
}
