#pragma once

#include "namerules.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

// name.bin: the ordered lists of macro, recoil and profile names the pages
// show. Each call opens the file afresh.
namespace NameLists {

enum Type { Macros = 0, Guns = 1, Profiles = 2, SelectedGuns = 3 };

// Appended to a one-name list, since a lone value would read back as no list.
using NameRules::sentinel;

QString file();
// The key of a list type, or an empty text for a type outside 0..3.
QString key(int type);

// The list as stored, sentinel included; empty for a missing key, a bare value
// or an unknown type.
QVariantList read(int type);
// Stores the whole list (a one-name list gets the sentinel); an empty list
// removes the key; an unknown type writes nothing. The file is left untouched
// when the list is stored as it is already. False when it could not be written.
bool write(int type, const QStringList &names);

// What a page makes of a read list: the sentinel of a two-entry list dropped.
QStringList withoutSentinel(const QVariantList &stored);

// A profile entry is the display name followed by the profile number as its
// last character ("Standard0").
struct ProfileEntry
{
    QString name;
    int number = -1;   // -1 when the last character is no digit
};
ProfileEntry splitProfileEntry(const QString &entry);
QString profileEntry(const QString &name, int number);

} // namespace NameLists
