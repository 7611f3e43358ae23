#include "dpiencoding.h"

#include <iterator>

static constexpr DpiVariant variants[] = {
    {"sensor/dpi_J2_3336", 7200, true},    // 0: largest stage 12000
    {"sensor/dpi_J2", 12750, false},       // 1: 16000
    {"sensor/dpi_J2", 12750, false},       // 2: 16000
    {"sensor/dpi_J2_3337", 12800, true},   // 3: 18000
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
