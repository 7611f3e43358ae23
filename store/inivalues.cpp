#include "inivalues.h"

#include <QMetaType>
#include <QStringList>

#include <cmath>

namespace IniValues {

static QVariant scalarForStorage(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value;
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return value.toLongLong();
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return value.toULongLong();
    case QMetaType::Float:
    case QMetaType::Double: {
        const double d = value.toDouble();
        if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9.0e15)
            return qlonglong(d);
        return value;
    }
    default:
        return value;
    }
}

QVariant forStorage(const QVariant &value)
{
    const int type = value.metaType().id();
    if (type != QMetaType::QVariantList && type != QMetaType::QStringList)
        return scalarForStorage(value);

    const QVariantList list = value.toList();
    if (list.size() == 1)
        return scalarForStorage(list.first());
    QVariantList out;
    out.reserve(list.size());
    for (const QVariant &element : list)
        out.append(scalarForStorage(element));
    return out;
}

QVariantList toList(const QVariant &stored)
{
    // QVariant::toList() would split a bare text into its characters.
    const int type = stored.metaType().id();
    if (type == QMetaType::QVariantList || type == QMetaType::QStringList)
        return stored.toList();
    return {};
}

} // namespace IniValues
