// A macro file as the macro editor loads it, then through the macro encoder
// the send uses, down to the block for the mouse.
#include "fuzzsupport.h"
#include "macrocodec.h"
#include "macrofiles.h"
#include "macrokeycodes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::init();
    FuzzSupport::writeCase(QStringLiteral("modules/macro/m.bin"), data, size);
    const QStringList entries = MacroFiles::load(QStringLiteral("m"));
    MacroFiles::loadIndex(QStringLiteral("m"));
    MacroFiles::loadType(QStringLiteral("m"));
    const QList<MacroCodec::Event> events = MacroCodec::parseEntries(entries.mid(0, qMax(0, entries.size() - 1)));
    MacroCodec::estimate(events);
    const uint loops = entries.isEmpty() ? 1 : entries.last().toUInt();
    const QByteArray encoded = MacroCodec::encode(events, loops, macroKeyCode);
    QVariantList values;
    for (const char byte : encoded)
        values.append(int(uchar(byte)));
    MacroCodec::payload(values);
    FuzzSupport::checkNoWriteOutside();
    return 0;
}
