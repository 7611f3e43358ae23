#include "languagestrings.h"

#include "datapath.h"
#include "safefilename.h"

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
    QSettings file(iniFile, QSettings::IniFormat);   // Qt reads INI text as UTF-8
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
        const QVariant text = file.value(QString::number(i));
        // An unquoted text with a comma reads as a list; keep it whole.
        if (text.metaType().id() == QMetaType::QStringList)
            texts.append(text.toStringList().join(QLatin1String(", ")));
        else
            texts.append(text.toString());
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
