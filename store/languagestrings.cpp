#include "languagestrings.h"

#include "datapath.h"
#include "safefilename.h"
#include "storefile.h"

#include <QDebug>
#include <QFileInfo>
#include <QSettings>

#include <iterator>

namespace LanguageStrings {

static constexpr const char *groups[] = {
    "main", "keyMatrix", "keyMenu", "macroEditor", "gunControl", "macroKey", "other",
};

QString groupName(int type)
{
    if (type < 0 || type >= int(std::size(groups)))
        return QString();
    return QLatin1String(groups[type]);
}

QStringList read(const QString &iniFile, int type)
{
    if (iniFile.isEmpty() || !QFileInfo(iniFile).isFile())
        return {};
    QSettings file(iniFile, StoreFile::format());   // raw UTF-8 reads as UTF-8
    const QString group = groupName(type);
    if (!group.isEmpty())
        file.beginGroup(group);

    int total = file.value(QStringLiteral("total"), 0).toInt();
    if (total > maxEntries) {
        qDebug().noquote() << "Language file" << iniFile << "counts" << total
                           << "texts in one group, reading" << maxEntries;
        total = maxEntries;
    }
    QStringList texts;
    for (int i = 0; i < total; ++i) {
        const QVariant stored = file.value(QString::number(i));
        // An unquoted text with a comma reads as a list; keep it whole.
        const int type = stored.metaType().id();
        QString text = type == QMetaType::QStringList || type == QMetaType::QVariantList
                ? stored.toStringList().join(QLatin1String(", "))
                : stored.toString();
        if (text.size() > maxTextLength) {
            qDebug().noquote() << "Language file" << iniFile << "holds a text of" << text.size()
                               << "characters, keeping" << maxTextLength;
            // Never cut a surrogate pair in half.
            text.truncate(text.at(maxTextLength - 1).isHighSurrogate() ? maxTextLength - 1 : maxTextLength);
        }
        texts.append(text);
    }
    return texts;
}

QString fileForCode(const QString &langCode)
{
    if (!isSafeFileName(langCode)) {
        qDebug() << "Language code is no file name:" << langCode;
        return QString();
    }
    return dataPath(QStringLiteral("./modules/i18n/") + langCode + QStringLiteral(".ini"));
}

} // namespace LanguageStrings
