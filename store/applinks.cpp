#include "applinks.h"

#include "storefile.h"

#include <namerules.h>

#include <QSettings>

#include <algorithm>

namespace AppLinks {

namespace {

const QString group = QStringLiteral("appLinks");

QString keyOf(const QString &windowClass)
{
    return group + QLatin1Char('/') + windowClass;
}

int profileNumber(const QVariant &value)
{
    bool ok = false;
    const int profile = value.toString().toInt(&ok);
    return ok && profile >= 0 ? profile : -1;
}

} // namespace

bool validClass(const QString &windowClass)
{
    return NameRules::isWindowClass(windowClass);
}

QList<Link> read(const QSettings &apConfig)
{
    QList<Link> links;
    for (const QString &key : apConfig.allKeys()) {
        if (!key.startsWith(group + QLatin1Char('/')))
            continue;
        const QString windowClass = key.mid(group.size() + 1);
        const int profile = profileNumber(apConfig.value(key));
        if (profile >= 0 && validClass(windowClass))
            links.append({windowClass, profile});
    }
    std::sort(links.begin(), links.end(), [](const Link &a, const Link &b) { return a.windowClass < b.windowClass; });
    return links;
}

int profileFor(const QSettings &apConfig, const QString &windowClass)
{
    return validClass(windowClass) ? profileNumber(apConfig.value(keyOf(windowClass))) : -1;
}

QStringList classesOf(const QSettings &apConfig, int profile)
{
    QStringList classes;
    for (const Link &link : read(apConfig)) {
        if (link.profile == profile)
            classes.append(link.windowClass);
    }
    return classes;
}

bool link(QSettings &apConfig, const QString &windowClass, int profile)
{
    if (!validClass(windowClass) || profile < 0 || profileFor(apConfig, windowClass) == profile)
        return false;
    apConfig.setValue(keyOf(windowClass), profile);
    StoreFile::sync(apConfig);
    return true;
}

bool unlink(QSettings &apConfig, const QString &windowClass)
{
    if (profileFor(apConfig, windowClass) < 0)
        return false;
    apConfig.remove(keyOf(windowClass));
    StoreFile::sync(apConfig);
    return true;
}

bool unlinkProfile(QSettings &apConfig, int profile)
{
    const QStringList classes = classesOf(apConfig, profile);
    for (const QString &windowClass : classes)
        apConfig.remove(keyOf(windowClass));
    if (!classes.isEmpty())
        StoreFile::sync(apConfig);
    return !classes.isEmpty();
}

} // namespace AppLinks
