#include "macrosender.h"

#include "hid_thread.h"
#include "macrocodec.h"

#include <QDebug>

bool sendMacro(Hid_Thread *hid, const QVariantList &macroData, const QVariant &macroIndex)
{
    static constexpr uint lastSlot = 11;
    const uint slot = macroIndex.toUInt() & 0xFF;
    if (slot > lastSlot) {
        qDebug() << "Macro not sent: the mouse has no macro slot" << slot;
        return false;
    }
    std::optional<MacroCodec::Payload> block = MacroCodec::payload(macroData);
    if (!block) {
        // Cut short, the mouse would run on past the macro's end.
        qDebug() << "Macro not sent: its" << macroData.size() << "bytes exceed the" << MacroCodec::payloadSize
                 << "the mouse takes";
        return false;
    }
    if (hid)
        hid->hid_05H_SetMacroKey(uchar(slot), block->data());
    return true;
}
