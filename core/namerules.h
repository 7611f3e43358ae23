#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Rules for the names the user's lists hold (macros, recoil entries, profiles).
namespace NameRules {

// Appended to a one-name list in name.bin, since a lone value would read back as no list.
inline constexpr char sentinel[] = "loaderzenith";
// A read list without the sentinel of a two-entry list.
QStringList withoutSentinel(QStringList names);

// prefix + n + suffix for the first n of 0..11 no name in `used` has; n = 12 when all are taken.
QString firstFreeName(const QStringList &used, const QString &prefix, const QString &suffix);
// The first profile number 0..5 not in `used`; 6 (the spare p7.bin) when all are taken.
int firstFreeProfile(const QList<int> &used);
inline constexpr int profileLimit = 6;

// A recoil entry's name, which gunData.bin keeps as a key: 1...64 characters, no blank at
// either end, no control character, no slash or backslash, nothing INI readers take as syntax.
bool isSafeRecoilName(const QString &name);

// A window class a profile link may name: 1...256 characters, no control character, and no slash
// or backslash, which would make a settings key of more than one level.
bool isWindowClass(const QString &windowClass);

} // namespace NameRules
