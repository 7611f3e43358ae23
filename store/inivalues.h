#pragma once

#include <QVariant>
#include <QVariantList>

// The value forms the program's INI files use, on top of QSettings.
//
// A list is written as its elements joined by ", ". A list of exactly one
// element is written as that element alone, so it comes back as a single text
// and every list reader sees an empty list. Numbers are written as decimal text.
namespace IniValues {

// What to hand QSettings::setValue() so the file gets the forms above: integer
// types and whole doubles become plain numbers (no binary @Variant blobs), a
// one-element list becomes its element, an empty list stays empty.
QVariant forStorage(const QVariant &value);

// The list stored in a value read from a file: the elements of a real list,
// an empty list for anything else (a bare single value, a number, nothing).
QVariantList toList(const QVariant &stored);

} // namespace IniValues
