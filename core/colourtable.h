#pragma once

#include <QVariantList>

#include <array>

// Eight R, G, B triples as the lighting commands carry them.
using ColourTable = std::array<uchar, 24>;

// Element i (as int, low 8 bits) in byte i; bytes for missing elements are 0,
// elements past 24 are dropped.
ColourTable colourTableBytes(const QVariantList &values);

// The stage-colour table of a type: type 2 packs its first eight values into
// four bytes, two 4-bit values a byte, low nibble first; bytes 4..23 keep the
// plain values.
ColourTable stageColourBytes(uchar type, const QVariantList &values);

// Whether values are at most 24 whole numbers 0..255.
bool validColourTable(const QVariantList &values);
