#include "catalogue.h"

#include "devicelog.h"

namespace {

// Hexadecimal text without prefix; text that does not parse reads as 0.
quint32 hexValue(const QSettings &ini, const QString &key)
{
    bool ok = false;
    const quint32 value = ini.value(key).toString().trimmed().toUInt(&ok, 16);
    return ok ? value : 0;
}

} // namespace

QList<DevInfoEntry> readCatalogue(const QString &iniPath, QSettings::Format format,
                                  const QStringList &productNames, bool *isEncode)
{
    const QSettings ini(iniPath, format);
    if (isEncode)
        *isEncode = ini.value(QStringLiteral("common/isEncode"), false).toBool();

    int total = ini.value(QStringLiteral("common/total"), 0).toInt();
    if (total > maxCatalogueEntries) {
        qCDebug(lcDevice) << "DevInfo.ini: total" << total << "read as" << maxCatalogueEntries;
        total = maxCatalogueEntries;
    }

    QList<DevInfoEntry> entries;
    for (int i = 0; i < total; ++i) {
        const QString section = QString::number(i) + QLatin1Char('/');
        DevInfoEntry entry;
        bool ok = false;
        const int type = ini.value(section + QStringLiteral("type")).toString().trimmed().toInt(&ok, 16);
        entry.type = ini.contains(section + QStringLiteral("type")) ? (ok ? type : 0) : -1;
        entry.vid = quint16(hexValue(ini, section + QStringLiteral("vid")));
        entry.pid = quint16(hexValue(ini, section + QStringLiteral("pid")));
        entry.usagePage = quint16(hexValue(ini, section + QStringLiteral("usagePage")));
        entry.usage = quint16(hexValue(ini, section + QStringLiteral("usage")));
        entry.usagePage2 = quint16(hexValue(ini, section + QStringLiteral("usagePage2")));
        entry.usage2 = quint16(hexValue(ini, section + QStringLiteral("usage2")));
        entry.reportLength = ini.value(section + QStringLiteral("reportLength"), 0).toString().trimmed().toUInt(&ok, 10);
        if (!ok)
            entry.reportLength = 0;
        entry.productName = productNames.value(i);
        entries.append(entry);
    }
    return entries;
}
