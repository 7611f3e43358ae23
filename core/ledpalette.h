#pragma once

#include <QVariantList>

// The lighting palette the mouse takes with a chosen colour: 24 values, the colour first
// (red in place of black), then seven fixed colours.
namespace LedPalette {

QVariantList palette(int r, int g, int b);
// The colour index sent with the palette: 7 (the fixed white) for black, else 0.
int colourIndex(int r, int g, int b);

} // namespace LedPalette
