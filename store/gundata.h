#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

// The recoil entries in ./modules/gun/gunData.bin, group gunData, one key per
// entry name with its five values (trigger key, interval, X, Y, run times).
// The file is installation data: while it is missing nothing is read or written.
namespace GunData {

QString file();

// record: name, then the five values. False when nothing could be stored
// (no file, a bad record, or the file could not be written).
bool save(const QVariantList &record);
// 0 removes record[0]; 1 removes the old name record[6] and stores record[0]
// with record[1...5]; any other type changes nothing.
void modify(int modifyType, const QVariantList &record);
// The five values of name; empty when the file or the entry is missing.
QVariantList get(const QString &name);

} // namespace GunData
