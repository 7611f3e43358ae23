#include "macrosender.h"

#include "hid_thread.h"
#include "macrocodec.h"

#include <QDebug>

void sendMacro(Hid_Thread *hid, const QVariantList &macroData, const QVariant &macroIndex)
{
    static constexpr uint lastSlot = 11;
    const uint slot = macroIndex.toUInt() & 0xFF;
    if (slot > lastSlot)
        return;
    std::optional<MacroCodec::Payload> block = MacroCodec::payload(macroData);
    if (!block) {
        // Cut short, the mouse would run on past the macro's end.
        qDebug() << "Macro not sent: its" << macroData.size() << "bytes exceed the" << MacroCodec::payloadSize
                 << "the mouse takes";
        return;
    }
    if (hid)
        hid->hid_05H_SetMacroKey(uchar(slot), block->data());
}
