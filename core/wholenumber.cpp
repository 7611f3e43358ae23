#include "wholenumber.h"

#include <cmath>
#include <limits>

std::optional<qint64> wholeNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::SChar:
        return value.toLongLong();
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong u = value.toULongLong();
        return u <= qulonglong(std::numeric_limits<qint64>::max()) ? std::optional<qint64>(qint64(u)) : std::nullopt;
    }
    case QMetaType::Float:
    case QMetaType::Double: {
        const double d = value.toDouble();
        // Beyond 2^53 a double no longer tells neighbouring integers apart.
        if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9.0e15)
            return qint64(d);
        return std::nullopt;
    }
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        bool ok = false;
        const qint64 n = value.toString().toLongLong(&ok, 10);
        return ok ? std::optional<qint64>(n) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

bool wholeNumbersIn(const QVariantList &values, qint64 low, qint64 high)
{
    for (const QVariant &v : values) {
        const std::optional<qint64> n = wholeNumber(v);
        if (!n || *n < low || *n > high)
            return false;
    }
    return true;
}
