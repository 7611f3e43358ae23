#include "ledpalette.h"

namespace LedPalette {

namespace {
// Blue, green, yellow, cyan, orange, magenta, white.
const QVariantList tail{0, 0, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 127, 0, 255, 0, 255, 255, 255, 255};

bool black(int r, int g, int b)
{
    return r + g + b == 0;
}
} // namespace

QVariantList palette(int r, int g, int b)
{
    return (black(r, g, b) ? QVariantList{255, 0, 0} : QVariantList{r, g, b}) + tail;
}

int colourIndex(int r, int g, int b)
{
    return black(r, g, b) ? 7 : 0;
}

} // namespace LedPalette
