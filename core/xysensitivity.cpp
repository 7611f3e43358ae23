#include "xysensitivity.h"

namespace XySensitivity {

int storedLevel(const QString &stored)
{
    const bool digit = stored.size() == 1 && stored.at(0) >= u'0' && stored.at(0) <= u'8';
    return digit ? stored.at(0).digitValue() : 9;
}

int wireValue(int level)
{
    return (level + 1) * 20;
}

} // namespace XySensitivity
