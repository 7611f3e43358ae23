#pragma once

#include <QtGlobal>

// The two parameters of the lighting-effect command, derived from the effect
// and the page's level 0..4 (brightness for Static and Color Static, speed for
// every other effect).
struct LedOptions
{
    uchar option1 = 0;
    uchar option2 = 0;
};

enum LedEffectCode : uchar { StaticEffect = 0, ColorStaticEffect = 13 };

LedOptions ledOptions(uchar effect, uchar level);
