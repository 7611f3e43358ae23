#include "dpiencoding.h"

#include "wholenumber.h"

#include <iterator>

static constexpr DpiVariant variants[] = {
    {"sensor/dpi_J2_3336", 12000, 7200, true},
    {"sensor/dpi_J2", 16000, 12750, false},
    {"sensor/dpi_J2", 16000, 12750, false},
    {"sensor/dpi_J2_3337", 18000, 12800, true},
};

const DpiVariant &dpiVariant(uint did)
{
    return did < std::size(variants) ? variants[did] : variants[1];
}

static uchar doubledStep(const DpiVariant &variant, uint value)
{
    return variant.doubledInHundreds ? uchar(value / 100 - 1) : uchar((value - 12800) / 50);
}

uchar encodeDpiValue(uint did, uint value, bool *doubled)
{
    const DpiVariant &variant = dpiVariant(did);
    const bool single = value <= variant.doubledAbove && (value / 50 <= 0xFF || !variant.doubledInHundreds);
    *doubled = !single;
    return single ? uchar(value / 50) : doubledStep(variant, value);
}

DpiStageBytes encodeDpiStages(uint did, const QVariantList &values, const QVariantList &enabled)
{
    DpiStageBytes bytes;
    for (int i = 0; i < 8; ++i) {
        if (enabled.value(i).toUInt() != 0)
            bytes.dpiSegment |= uchar(1u << i);
        bool doubled = false;
        bytes.stage[size_t(i)] = encodeDpiValue(did, values.value(i).toUInt(), &doubled);
        if (doubled)
            bytes.mul2 |= uchar(1u << i);
    }
    return bytes;
}

bool validDpiFlags(const QVariantList &flags)
{
    return flags.size() == 8 && wholeNumbersIn(flags, 0, 1);
}

bool validDpiStages(uint did, const QVariantList &values, const QVariantList &flags)
{
    return values.size() == 8 && wholeNumbersIn(values, smallestDpi, dpiVariant(did).largest) && validDpiFlags(flags);
}
