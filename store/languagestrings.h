#pragma once

#include <QString>
#include <QStringList>

// The language files ./modules/i18n/<code>.ini: one group per page, each with
// a count "total" and the texts "0", "1", ... in the order of the page's array.
namespace LanguageStrings {

// Group of each type: main, keyMatrix, keyMenu, macroEditor, gunControl,
// macroKey, other. Any other type reads the top level of the file.
QString groupName(int type);

// The texts of one group of a language file; empty when the file is missing.
QStringList read(const QString &iniFile, int type);

// The file of a language code, or an empty text for a code that is no safe
// file name.
QString fileForCode(const QString &langCode);

// The most texts taken from one group, so a hostile count cannot stall us.
inline constexpr int maxEntries = 1000;
// The longest text taken, so a huge one cannot stall the page's layout.
inline constexpr int maxTextLength = 4000;

} // namespace LanguageStrings
