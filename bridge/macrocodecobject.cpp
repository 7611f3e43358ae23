#include "macrocodecobject.h"

#include "macrokeycodes.h"

QByteArray encodeMacroEntries(const QStringList &macros, uint repeat)
{
    return MacroCodec::encode(MacroCodec::parseEntries(macros), repeat, macroKeyCode);
}

QVariantList MacroCodecObject::encode(const QStringList &macros, int repeat) const
{
    QVariantList bytes;
    for (const char byte : encodeMacroEntries(macros, uint(repeat)))
        bytes.append(int(static_cast<unsigned char>(byte)));
    return bytes;
}

int MacroCodecObject::encodedLength(const QStringList &macros) const
{
    return int(encodeMacroEntries(macros, 0).size());
}

bool MacroCodecObject::fits(const QStringList &macros) const
{
    return encodedLength(macros) <= MacroCodec::payloadSize;
}

int MacroCodecObject::estimate(const QStringList &macros) const
{
    return MacroCodec::estimate(MacroCodec::parseEntries(macros));
}
