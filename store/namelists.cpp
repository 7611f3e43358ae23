#include "namelists.h"

#include "datapath.h"
#include "inivalues.h"
#include "storefile.h"


#include <iterator>

namespace NameLists {

QString file()
{
    return dataPath(QStringLiteral("./modules/setting/name.bin"));
}

QString key(int type)
{
    static const char *const keys[] = {"macro/macroName", "gun/gunName", "profile/profileName", "gun/selectGun"};
    if (type < 0 || type >= int(std::size(keys)))
        return QString();
    return QLatin1String(keys[type]);
}

QVariantList read(int type)
{
    const QString listKey = key(type);
    if (listKey.isEmpty())
        return {};
    return IniValues::toList(StoreFile::open(file())->value(listKey, 0));
}

bool write(int type, const QStringList &names)
{
    const QString listKey = key(type);
    if (listKey.isEmpty())
        return true;
    QStringList stored = names;
    if (stored.size() == 1)
        stored.append(QLatin1String(sentinel));
    StoreDocument lists(file());
    if (stored.isEmpty())
        lists.remove(listKey);
    else
        lists.setValue(listKey, IniValues::forStorage(stored));
    return lists.commit();
}

QStringList withoutSentinel(const QVariantList &stored)
{
    QStringList names;
    for (const QVariant &entry : stored)
        names.append(entry.toString());
    return NameRules::withoutSentinel(names);
}

ProfileEntry splitProfileEntry(const QString &entry)
{
    ProfileEntry result;
    if (entry.isEmpty())
        return result;
    result.name = entry.chopped(1);
    result.number = entry.back().isDigit() ? entry.back().digitValue() : -1;
    return result;
}

QString profileEntry(const QString &name, int number)
{
    return name + QString::number(number);
}

} // namespace NameLists
