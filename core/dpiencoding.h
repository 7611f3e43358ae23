#pragma once

#include <QVariantList>

#include <array>

// How each mouse variant (catalogue index `did`) keeps and encodes its eight
// DPI stages. A stage value goes out as one byte: value / 50 in single steps;
// above the variant's threshold in doubled steps, marked by its bit in mul2.
struct DpiVariant
{
    const char *profileKey;   // profile key of the eight stage values
    uint largest;             // the largest stage value the model takes
    uint doubledAbove;        // values above this use the doubled step
    // Doubled step byte: value / 100 - 1 when true, (value - 12800) / 50 when false.
    bool doubledInHundreds;
};

// Variants 0..3; any other index behaves like 1 and 2.
const DpiVariant &dpiVariant(uint did);

// The smallest stage value of every model.
inline constexpr uint smallestDpi = 200;

// Whether values are eight whole numbers in the model's span and flags eight 0s or 1s.
bool validDpiStages(uint did, const QVariantList &values, const QVariantList &flags);
bool validDpiFlags(const QVariantList &flags);

struct DpiStageBytes
{
    std::array<uchar, 8> stage{};   // dpi0 .. dpi7
    uchar mul2 = 0;                 // bit i: stage i in the doubled step
    uchar dpiSegment = 0;           // bit i: stage i enabled
};

// One stage value; *doubled tells whether it went out in the doubled step.
// A value whose single step does not fit the byte (12800 on variant 3) goes out
// in the doubled step, which represents it exactly.
uchar encodeDpiValue(uint did, uint value, bool *doubled);

// Eight values and eight enable flags as the page sends them; missing elements
// count as 0.
DpiStageBytes encodeDpiStages(uint did, const QVariantList &values, const QVariantList &enabled);
