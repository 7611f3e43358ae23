#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class ProfileStore;

// One file per macro, ./modules/macro/<name>.bin, opened afresh by every call.
// A name that is not a safe file name is refused with one debug line and no
// file is created, read, moved or deleted for it.
namespace MacroFiles {

QString folder();
// Whether a macro may be created or renamed to `name`: a safe file name other
// than the name list's sentinel, which a reader of the list would drop.
bool isValidName(const QString &name);
// The macro's file, or an empty text for a name that may not become a file name.
QString fileFor(const QString &name);

bool create(const QString &name, uint index);
bool save(const QString &name, const QStringList &entries, const QVariant &repeat);
// The event entries followed by the loop count; empty for a missing file.
QStringList load(const QString &name);
uint loadIndex(const QString &name);
int loadType(const QString &name);
void setIndex(const QString &name, const QVariant &index);
// Moves the file, then rewrites the macro references of profiles 0..5; false,
// with nothing changed, for a name isValidName() refuses or a file not moved.
bool rename(ProfileStore &profiles, const QString &oldName, const QString &newName);
bool remove(const QString &name);
// "Name", then every button of profiles 0..5 whose macro is `name`.
QStringList uses(const ProfileStore &profiles, const QString &name);
// After the macro at 1-based list position `position` was deleted: buttons
// 0..6 of profiles 0..4 other than the current one that refer to it fall back
// to their default, references behind it move up by one.
void renumberAfterDelete(ProfileStore &profiles, uint position);

} // namespace MacroFiles
