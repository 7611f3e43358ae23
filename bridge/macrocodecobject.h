#pragma once

#include "macrocodec.h"

#include <QObject>
#include <QStringList>
#include <QVariantList>

// The macro encoding for the editor page (context property "macroCodec"), so
// the page sends and limits exactly what the mouse receives.
class MacroCodecObject : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int payloadSize READ payloadSize CONSTANT)
public:
    using QObject::QObject;

    int payloadSize() const { return MacroCodec::payloadSize; }

    // The bytes for event entries ("1,A", "0,50", ...) and a loop count.
    Q_INVOKABLE QVariantList encode(const QStringList &macros, int repeat) const;
    // Their real length, closing zeros included.
    Q_INVOKABLE int encodedLength(const QStringList &macros) const;
    // Whether they fit the mouse's macro block.
    Q_INVOKABLE bool fits(const QStringList &macros) const;
    // The page's own estimate of the length.
    Q_INVOKABLE int estimate(const QStringList &macros) const;
};

// encode() for C++ callers.
QByteArray encodeMacroEntries(const QStringList &macros, uint repeat);
// The same bytes as the list of values the macro send takes.
QVariantList encodedMacroList(const QStringList &macros, uint repeat);
