#include "keymatrix.h"

#include "wholenumber.h"

#include <algorithm>

namespace KeyMatrix {

QVariantList entry(const QVariantList &src, int k)
{
    QVariantList values;
    for (int i = 4 * k; i < 4 * k + 4; ++i)
        values.append(src.value(i));
    return values;
}

int invalidEntry(const QVariantList &src)
{
    for (int k = 0; k < entryCount; ++k) {
        const QVariantList values = entry(src, k);
        if (!wholeNumbersIn(values, 0, 255))
            return k;
    }
    return -1;
}

Bytes plainBytes(const QVariantList &src)
{
    Bytes bytes{};
    for (int i = 0; i < byteCount && i < src.size(); ++i)
        bytes[i] = static_cast<unsigned char>(src.at(i).toInt());
    return bytes;
}

Bytes wireBytes(const QVariantList &src)
{
    // Entries 7..9 are the mouse's own click and recoil functions, whatever the page holds.
    static constexpr unsigned char fixedEntries[3][4] = {{0x0C, 0x03, 0x00, 0x00},
                                                         {0x0B, 0x01, 0x00, 0x00},
                                                         {0x0C, 0x05, 0x00, 0x00}};
    Bytes bytes = plainBytes(src);
    for (int k = 0; k < 3; ++k)
        std::copy(std::begin(fixedEntries[k]), std::end(fixedEntries[k]), bytes.begin() + 4 * (7 + k));
    for (int k = 0; k < entryCount; ++k)
        std::reverse(bytes.begin() + 4 * k, bytes.begin() + 4 * k + 4);
    return bytes;
}

} // namespace KeyMatrix
