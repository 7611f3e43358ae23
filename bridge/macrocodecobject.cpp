#include "macrocodecobject.h"

QByteArray encodeMacroEntries(const QStringList &macros, uint repeat)
{
    return MacroCodec::encode(MacroCodec::parseEntries(macros), repeat);
}

QVariantList encodedMacroList(const QStringList &macros, uint repeat)
{
    QVariantList bytes;
    for (const char byte : encodeMacroEntries(macros, repeat))
        bytes.append(int(static_cast<unsigned char>(byte)));
    return bytes;
}

QVariantList MacroCodecObject::encode(const QStringList &macros, int repeat) const
{
    return encodedMacroList(macros, uint(repeat));
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
