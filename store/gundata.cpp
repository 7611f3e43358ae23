#include "gundata.h"

#include "datapath.h"
#include "inivalues.h"
#include "namerules.h"
#include "storefile.h"

#include <QDebug>
#include <QFile>


namespace GunData {

namespace {
constexpr char group[] = "gunData/";
constexpr int valueCount = 5;

QString keyFor(const QString &name)
{
    return QLatin1String(group) + name;
}

bool usableName(const QString &name)
{
    if (NameRules::isSafeRecoilName(name))
        return true;
    qDebug() << "Recoil entry name refused:" << name;
    return false;
}

void store(StoreDocument &settings, const QVariantList &record)
{
    settings.setValue(keyFor(record.at(0).toString()), IniValues::forStorage(record.mid(1, valueCount)));
}
}

QString file()
{
    return dataPath(QStringLiteral("./modules/gun/gunData.bin"));
}

bool save(const QVariantList &record)
{
    if (!QFile::exists(file()))
        return false;
    if (record.size() < 1 + valueCount) {
        qDebug() << "Recoil entry needs a name and five values, got" << record.size();
        return false;
    }
    if (!usableName(record.at(0).toString()))
        return false;
    StoreDocument entries(file());
    store(entries, record);
    return entries.commit();
}

void modify(int modifyType, const QVariantList &record)
{
    if ((modifyType != 0 && modifyType != 1) || !QFile::exists(file()) || record.isEmpty())
        return;
    if (modifyType == 1 && record.size() < 2 + valueCount) {
        qDebug() << "Recoil rename needs a name, five values and the old name, got" << record.size();
        return;
    }
    if (!usableName(record.at(0).toString()))
        return;
    const auto settings = StoreFile::open(file());
    if (modifyType == 0) {
        settings->remove(keyFor(record.at(0).toString()));
        return;
    }
    // An old name that could never have been stored has nothing to remove.
    const QString oldName = record.at(1 + valueCount).toString();
    if (NameRules::isSafeRecoilName(oldName))
        settings->remove(keyFor(oldName));
    store(*settings, record);
}

QVariantList get(const QString &name)
{
    if (!QFile::exists(file()) || !NameRules::isSafeRecoilName(name))
        return {};
    const auto settings = StoreFile::open(file());
    return IniValues::toList(settings->value(keyFor(name)));
}

} // namespace GunData
