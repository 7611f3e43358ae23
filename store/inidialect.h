#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

// The INI dialect of the files kept without a text codec, as Qt 4's QSettings
// wrote and read them: characters from U+007F up as \x + hexadecimal code,
// double quotes around texts with , ; = or a leading/trailing blank, backslash
// escapes for quote, backslash and control characters, lists joined by ", ",
// keys percent-encoded. Raw bytes read as UTF-8 when the value is valid UTF-8,
// as Latin-1 otherwise, so no byte is lost.
namespace IniDialect {

// One text value as written after "key=".
QByteArray escapedString(const QString &text);
// A list as written after "key=": elements joined by ", ", "@Invalid()" when empty.
QByteArray escapedStringList(const QStringList &texts);
// A key or section name: '/' as '\', anything but letters, digits, _ - . as %XX or %UXXXX.
QByteArray escapedKey(const QString &key);

// A value as written after "key=": a list joined by ", ", anything else escaped as one text.
QByteArray valueText(const QVariant &value);

QString unescapedKey(QByteArrayView key);
// The value of the text after "key=": a QString, a QStringList when it holds an
// unquoted comma, or what an @-form stands for (see stringToVariant).
QVariant unescapedValue(QByteArrayView value, bool *keptTyped = nullptr);

// The text form of a value (@ByteArray(...), @Variant(...), "@@" for a leading "@").
QString variantToString(const QVariant &value);
// Back from text: "@@" as "@", @Invalid() as no value, @ByteArray(...) as bytes,
// @String(...) as its text. Typed forms (@Variant, @DateTime, @Rect ...) are never
// decoded: they stay text, and keptTyped, when given, is set.
QVariant stringToVariant(const QString &text, bool *keptTyped = nullptr);

// A whole file. order, when given, receives the full keys in the order of their first line;
// typedKeys the keys whose value held a typed form kept as text.
void read(QByteArrayView text, QSettings::SettingsMap &map, QStringList *order = nullptr,
          QStringList *typedKeys = nullptr);
// The file for map. Sections and keys that previous already holds keep its order; new ones
// follow, sorted by name.
QByteArray write(const QSettings::SettingsMap &map, QByteArrayView previous = {});

} // namespace IniDialect
