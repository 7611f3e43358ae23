#include "kdewheellines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

constexpr char group[] = "[KDE]";
constexpr char key[] = "WheelScrollLines";

bool isGroupLine(const QByteArray &trimmed) { return trimmed.startsWith('['); }

// "WheelScrollLines=3" or "WheelScrollLines[$i] = 3"; not "WheelScrollLinesX=3" nor a localised "[de]" entry.
bool isKeyLine(const QByteArray &trimmed, bool *locked)
{
    if (!trimmed.startsWith(key))
        return false;
    QByteArray rest = trimmed.mid(qsizetype(sizeof key) - 1).trimmed();
    *locked = false;
    if (rest.startsWith("[$")) {
        const qsizetype close = rest.indexOf(']');
        if (close < 0)
            return false;
        *locked = rest.left(close).contains('i');
        rest = rest.mid(close + 1).trimmed();
    }
    return rest.startsWith('=');
}

} // namespace

KdeWheelLines::KdeWheelLines()
    : m_kdeDesktop(qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':').contains(QStringLiteral("KDE"), Qt::CaseInsensitive))
{
    // Without a home there is no user's configuration to change.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (!folder.isEmpty())
        m_path = folder + QStringLiteral("/kdeglobals");
}

KdeWheelLines::Key KdeWheelLines::find(const QByteArray &file)
{
    Key found = Key::Absent;
    bool inGroup = false;
    for (const QByteArray &line : file.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        bool locked = false;
        if (isGroupLine(trimmed))
            inGroup = trimmed == group;
        else if (inGroup && isKeyLine(trimmed, &locked) && found != Key::Locked)
            found = locked ? Key::Locked : Key::Present;
    }
    return found;
}

QByteArray KdeWheelLines::withLines(const QByteArray &file, unsigned lines)
{
    const QByteArray entry = QByteArray(key) + '=' + QByteArray::number(lines);
    QList<QByteArray> out = file.split('\n');
    if (file.isEmpty() || file.endsWith('\n'))
        out.removeLast();
    bool inGroup = false;
    bool replaced = false;
    qsizetype groups = 0;
    qsizetype insertAt = -1;   // after the first [KDE] group's last non-blank line
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QByteArray trimmed = out[i].trimmed();
        bool locked = false;
        if (isGroupLine(trimmed)) {
            inGroup = trimmed == group;
            groups += inGroup ? 1 : 0;
            if (inGroup && groups == 1)
                insertAt = i + 1;
        } else if (inGroup && isKeyLine(trimmed, &locked)) {
            out[i] = entry;
            replaced = true;
        } else if (inGroup && groups == 1 && !trimmed.isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (!replaced && insertAt >= 0) {
        out.insert(insertAt, entry);
    } else if (!replaced) {
        if (!out.isEmpty() && !out.last().trimmed().isEmpty())
            out.append(QByteArray());
        out.append(group);
        out.append(entry);
    }
    return out.join('\n') + '\n';
}

bool KdeWheelLines::read(QByteArray *text) const
{
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *text = file.readAll();
    return true;
}

bool KdeWheelLines::settable(const QByteArray &text) const
{
    const Key found = find(text);
    return !m_path.isEmpty() && found != Key::Locked && (m_kdeDesktop || found == Key::Present);
}

bool KdeWheelLines::settable() const
{
    QByteArray text;
    return read(&text) && settable(text);
}

bool KdeWheelLines::set(unsigned lines) const
{
    // A file that cannot be read is not replaced: its other settings would be lost.
    QByteArray text;
    if (!read(&text) || !settable(text))
        return false;
    const QByteArray changed = withLines(text, lines);
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile out(m_path);
    return out.open(QIODevice::WriteOnly) && out.write(changed) == changed.size() && out.commit();
}
