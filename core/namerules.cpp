#include "namerules.h"

#include <algorithm>

namespace NameRules {

QStringList withoutSentinel(QStringList names)
{
    if (names.size() == 2 && names.at(1) == QLatin1String(sentinel))
        names.removeLast();
    return names;
}

QString firstFreeName(const QStringList &used, const QString &prefix, const QString &suffix)
{
    constexpr int tries = 12;
    int n = 0;
    while (n < tries && used.contains(prefix + QString::number(n) + suffix))
        ++n;
    return prefix + QString::number(n) + suffix;
}

int firstFreeProfile(const QList<int> &used)
{
    int number = 0;
    while (number < profileLimit && used.contains(number))
        ++number;
    return number;
}

bool isSafeRecoilName(const QString &name)
{
    constexpr int maxLength = 64;
    if (name.isEmpty() || name.size() > maxLength || name.trimmed() != name)
        return false;
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control || QStringLiteral("/\\=;#[]\"").contains(c))
            return false;
    }
    return true;
}

bool isWindowClass(const QString &windowClass)
{
    if (windowClass.isEmpty() || windowClass.size() > 256)
        return false;
    return std::none_of(windowClass.cbegin(), windowClass.cend(), [](QChar c) {
        return c.category() == QChar::Other_Control || c == QLatin1Char('/') || c == QLatin1Char('\\');
    });
}

} // namespace NameRules
