#include "macrocodec.h"

#include "macrokeycodes.h"

namespace MacroCodec {

static bool isEdge(int type)
{
    return type >= KeyDown && type <= ButtonUp;
}

static bool isUp(int type)
{
    return type == KeyUp || type == ButtonUp;
}

static qint64 delayMs(const Event &event)
{
    bool ok = false;
    const qint64 ms = event.info.trimmed().toLongLong(&ok);
    return ok && ms > 0 ? ms : 0;
}

Event parseEntry(const QString &entry)
{
    Event event;
    event.type = entry.isEmpty() ? -1 : entry.at(0).digitValue();
    event.info = entry.mid(2);
    return event;
}

QList<Event> parseEntries(const QStringList &entries)
{
    QList<Event> events;
    events.reserve(entries.size());
    for (const QString &entry : entries)
        events.append(parseEntry(entry));
    return events;
}

// Index of the first key or button edge, or -1.
static qsizetype firstEdge(const QList<Event> &events)
{
    for (qsizetype i = 0; i < events.size(); ++i) {
        if (isEdge(events.at(i).type))
            return i;
    }
    return -1;
}

QByteArray encode(const QList<Event> &events, uint loopCount)
{
    QByteArray out;
    out.append(char((loopCount >> 8) & 0xFF));
    out.append(char(loopCount & 0xFF));

    const qsizetype first = firstEdge(events);
    if (first < 0 || first == events.size() - 1)
        return out;
    qsizetype last = first;
    for (qsizetype i = first; i < events.size(); ++i) {
        if (isEdge(events.at(i).type))
            last = i;
    }

    qint64 t = 0;
    for (qsizetype i = first; i <= last; ++i) {
        const Event &event = events.at(i);
        if (event.type == Delay) {
            t += delayMs(event);
            continue;
        }
        if (!isEdge(event.type))
            continue;
        const bool longDelay = i != first && i != last && t >= 127;
        int bits = 0x01;
        if (i != first && i != last && t >= 1)
            bits = longDelay ? 0x7F : int(t);
        out.append(char(bits | (isUp(event.type) ? 0x80 : 0x00)));
        out.append(char(macroKeyCode(event.info) & 0xFF));
        if (longDelay) {
            // Two bytes hold the delay: longer ones keep their low 16 bits.
            out.append(char((t >> 8) & 0xFF));
            out.append(char(t & 0xFF));
        }
        t = 0;
    }
    out.append(2, '\0');
    return out;
}

int estimate(const QList<Event> &events)
{
    int count = 2;
    const qsizetype first = firstEdge(events);
    if (first < 0 || first == events.size() - 1)
        return count;
    qint64 units = 0;
    for (qsizetype i = first + 1; i < events.size(); ++i) {
        const Event &event = events.at(i);
        if (event.type == Delay) {
            units += delayMs(event) / 10;
        } else if (isEdge(event.type)) {
            count += units >= 127 ? 4 : 2;
            units = 0;
        }
    }
    return count + 2 + 2;
}

std::optional<Payload> payload(const QVariantList &encoded)
{
    // A list without its closing zeros still needs room for them.
    qsizetype needed = encoded.size();
    if (needed > 2 && (encoded.at(needed - 1).toInt() & 0xFF || encoded.at(needed - 2).toInt() & 0xFF))
        needed += 2;
    if (needed > payloadSize)
        return std::nullopt;
    Payload block{};
    for (qsizetype i = 0; i < encoded.size(); ++i)
        block[size_t(i)] = static_cast<unsigned char>(encoded.at(i).toInt() & 0xFF);
    return block;
}

} // namespace MacroCodec
