#include "safefilename.h"

static bool isForbiddenChar(QChar c)
{
    if (QStringView(u"/\\:*?\"<>|").contains(c))
        return true;
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

bool isSafeFileName(const QString &name)
{
    if (name.isEmpty() || name.size() > maxSafeFileNameLength)
        return false;
    if (name.contains(QLatin1String("..")))
        return false;
    const QChar first = name.front();
    const QChar last = name.back();
    if (first.isSpace() || last.isSpace() || first == u'.' || last == u'.')
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate()) {
            if (i + 1 >= name.size() || !name.at(i + 1).isLowSurrogate())
                return false;
            ++i;
            continue;
        }
        if (c.isLowSurrogate() || isForbiddenChar(c))
            return false;
    }
    return true;
}
