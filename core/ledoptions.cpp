#include "ledoptions.h"

#include <iterator>

// Brightness of Color Static for levels 0..3; every other level is full.
static constexpr uchar colorStaticBrightness[] = {0, 20, 30, 40};
static constexpr uchar fullBrightness = 50;
static constexpr uchar brightnessOption2 = 6;

LedOptions ledOptions(uchar effect, uchar level)
{
    switch (effect) {
    case StaticEffect:
        return {uchar((level * 50) >> 2), brightnessOption2};
    case ColorStaticEffect:
        return {level < std::size(colorStaticBrightness) ? colorStaticBrightness[level] : fullBrightness,
                brightnessOption2};
    default:
        // Speed: level 0 is the slowest (option2 10), level 4 the fastest (1).
        return {fullBrightness, uchar(10 - ((level * 9) >> 2))};
    }
}
