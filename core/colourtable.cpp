#include "colourtable.h"

#include "wholenumber.h"

ColourTable colourTableBytes(const QVariantList &values)
{
    ColourTable bytes{};
    const qsizetype n = qMin<qsizetype>(values.size(), qsizetype(bytes.size()));
    for (qsizetype i = 0; i < n; ++i)
        bytes[size_t(i)] = uchar(values.at(i).toInt());
    return bytes;
}

ColourTable stageColourBytes(uchar type, const QVariantList &values)
{
    ColourTable bytes = colourTableBytes(values);
    if (type == 2) {
        for (int k = 0; k < 4; ++k) {
            const int low = values.value(2 * k).toInt();
            const int high = values.value(2 * k + 1).toInt();
            // Masked first: a negative or huge value would be undefined when shifted.
            bytes[size_t(k)] = uchar((low & 0x0F) | ((high & 0x0F) << 4));
        }
    }
    return bytes;
}

bool validColourTable(const QVariantList &values)
{
    return values.size() <= 24 && wholeNumbersIn(values, 0, 255);
}
