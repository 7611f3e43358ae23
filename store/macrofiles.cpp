#include "macrofiles.h"

#include "datapath.h"
#include "inivalues.h"
#include "namelists.h"
#include "profilekeys.h"
#include "profilestore.h"
#include "safefilename.h"
#include "storefile.h"

#include <QDebug>
#include <QFile>
#include <QSettings>

#include <algorithm>

namespace MacroFiles {

// Profiles 0..5 are the ones the profile page can show.
static constexpr int usedProfiles = 6;
// A hostile total must not make a reader loop for ever.
static constexpr int maxEntries = 4096;

// What buttons 0..6 become when the macro they refer to goes away.
static constexpr unsigned char defaultKeyTable[7][4] = {
    {0x01, 0x00, 0xF0, 0x00}, {0x01, 0x00, 0xF1, 0x00}, {0x01, 0x00, 0xF2, 0x00}, {0x01, 0x00, 0xF4, 0x00},
    {0x01, 0x00, 0xF3, 0x00}, {0x07, 0x00, 0x01, 0x00}, {0x07, 0x00, 0x02, 0x00},
};

QString folder()
{
    return dataPath(QStringLiteral("./modules/macro/"));
}

QString fileFor(const QString &name)
{
    if (!isSafeFileName(name)) {
        qDebug() << "Macro name refused as a file name:" << name;
        return QString();
    }
    return folder() + name + QLatin1String(".bin");
}

bool isValidName(const QString &name)
{
    if (name == QLatin1String(NameLists::sentinel)) {
        qDebug() << "Macro name refused: it is the name list's end marker:" << name;
        return false;
    }
    return !fileFor(name).isEmpty();
}

// The file of an existing macro, or an empty text.
static QString existingFile(const QString &name)
{
    const QString path = fileFor(name);
    return !path.isEmpty() && QFile::exists(path) ? path : QString();
}

bool create(const QString &name, uint index)
{
    if (!isValidName(name))
        return false;
    const QString path = fileFor(name);
    StoreDocument file(path);
    file.setValue(QStringLiteral("config/index"), IniValues::forStorage(index));
    file.setValue(QStringLiteral("config/total"), 0);
    file.setValue(QStringLiteral("config/repeat"), 1);
    file.setValue(QStringLiteral("config/did"), -1);
    return file.commit();
}

bool save(const QString &name, const QStringList &entries, const QVariant &repeat)
{
    const QString path = existingFile(name);
    if (path.isEmpty())
        return false;
    StoreDocument file(path);
    file.remove(QStringLiteral("macro"));
    file.setValue(QStringLiteral("config/total"), int(entries.size()));
    file.setValue(QStringLiteral("config/repeat"), IniValues::forStorage(repeat));
    for (qsizetype i = 0; i < entries.size(); ++i)
        file.setValue(QStringLiteral("macro/%1").arg(i), entries.at(i));
    return file.commit();
}

QStringList load(const QString &name)
{
    const QString path = existingFile(name);
    if (path.isEmpty())
        return {};
    auto settings = StoreFile::open(path);
    int total = settings->value(QStringLiteral("config/total")).toInt();
    if (total > maxEntries) {
        qDebug() << "Macro" << name << "claims" << total << "events; reading" << maxEntries;
        total = maxEntries;
    }
    QStringList entries;
    for (int i = 0; i < total; ++i)
        entries.append(settings->value(QStringLiteral("macro/%1").arg(i), QStringLiteral("0")).toString());
    entries.append(settings->value(QStringLiteral("config/repeat"), QStringLiteral("0")).toString());
    return entries;
}

uint loadIndex(const QString &name)
{
    const QString path = existingFile(name);
    return path.isEmpty() ? 0 : StoreFile::open(path)->value(QStringLiteral("config/index"), 0).toUInt();
}

int loadType(const QString &name)
{
    const QString path = existingFile(name);
    return path.isEmpty() ? 0 : StoreFile::open(path)->value(QStringLiteral("config/did"), 0).toInt();
}

void setIndex(const QString &name, const QVariant &index)
{
    const QString path = existingFile(name);
    if (!path.isEmpty())
        StoreFile::open(path)->setValue(QStringLiteral("config/index"), IniValues::forStorage(index));
}

// The button keys of a profile's macro group whose value is `name`, in text order.
static QStringList buttonsUsing(QSettings *settings, const QString &name)
{
    QStringList buttons;
    if (!settings)
        return buttons;
    settings->beginGroup(QStringLiteral("macro"));
    QStringList keys = settings->childKeys();
    std::sort(keys.begin(), keys.end());
    for (const QString &key : keys) {
        if (settings->value(key).toString() == name)
            buttons.append(key);
    }
    settings->endGroup();
    return buttons;
}

bool rename(ProfileStore &profiles, const QString &oldName, const QString &newName)
{
    const QString oldPath = existingFile(oldName);
    if (oldPath.isEmpty())
        return false;
    if (!isValidName(newName))
        return false;
    // Profiles follow only a file that moved, so they never name a macro that is not there.
    if (!QFile::rename(oldPath, fileFor(newName))) {
        qDebug() << "Macro file not renamed:" << oldName << "to" << newName;
        return false;
    }
    for (int p = 0; p < usedProfiles; ++p) {
        QSettings *settings = profiles.profileSettings(p);
        for (const QString &button : buttonsUsing(settings, oldName))
            settings->setValue(QLatin1String(ProfileKey::macroPrefix) + button, newName);
    }
    return true;
}

bool remove(const QString &name)
{
    const QString path = existingFile(name);
    return !path.isEmpty() && QFile::remove(path);
}

QStringList uses(const ProfileStore &profiles, const QString &name)
{
    QStringList result{QStringLiteral("Name")};
    for (int p = 0; p < usedProfiles; ++p)
        result += buttonsUsing(profiles.profileSettings(p), name);
    return result;
}

void renumberAfterDelete(ProfileStore &profiles, uint position)
{
    // Five profiles; the key page resets the current one's buttons itself.
    for (int p = 0; p < 5; ++p) {
        QSettings *settings = profiles.profileSettings(p);
        if (p == profiles.curProfile || !settings)
            continue;
        for (int k = 0; k < 7; ++k) {
            const QString key = QLatin1String(ProfileKey::keyDefinePrefix) + QString::number(k);
            const QVariantList stored = IniValues::toList(settings->value(key));
            unsigned char d[4] = {};
            for (int i = 0; i < 4 && i < stored.size(); ++i)
                d[i] = static_cast<unsigned char>(stored.at(i).toUInt());
            if (d[0] != 9)
                continue;
            if (d[2] == position)
                std::copy(std::begin(defaultKeyTable[k]), std::end(defaultKeyTable[k]), d);
            else if (d[2] > position)
                --d[2];
            else
                continue;
            settings->setValue(key, IniValues::forStorage(QVariantList{int(d[0]), int(d[1]), int(d[2]), int(d[3])}));
        }
    }
}

} // namespace MacroFiles
