#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantList>

#include <array>
#include <optional>

// The bytes a macro becomes in the mouse: the loop count, one record per key or
// button edge with its delay, two closing zeros. Used by the editor (through
// the bridge) to know the real length and by the send to refuse what does not fit.
namespace MacroCodec {

// The block the mouse takes for one macro slot.
inline constexpr int payloadSize = 192;
using Payload = std::array<unsigned char, payloadSize>;

enum EventType { Delay = 0, KeyDown = 1, KeyUp = 2, ButtonDown = 3, ButtonUp = 4 };

struct Event
{
    int type = Delay;
    QString info;   // milliseconds for a delay, a key or button name otherwise
};

// "1,A" -> key down A: the first character is the type, the info starts at the third.
Event parseEntry(const QString &entry);
QList<Event> parseEntries(const QStringList &entries);

// Key and button names become their codes (macroKeyCode); a name outside the vocabulary gives 0.
QByteArray encode(const QList<Event> &events, uint loopCount);

// The editor's own size estimate (delays counted in whole 10 ms units); it can
// be lower than the real length, which is why the real one is checked as well.
int estimate(const QList<Event> &events);

// The 192-byte block for an encoded list (each value's low 8 bits, zero
// filled), or nothing when the list with its closing zeros (counted even when
// the list lacks them) is longer.
std::optional<Payload> payload(const QVariantList &encoded);

} // namespace MacroCodec
