#pragma once

#include <QByteArray>
#include <QString>

// The wheel lines of a KDE Plasma desktop: WheelScrollLines in the [KDE] group of
// kdeglobals, which Qt and KDE programs read as lines per wheel notch (a number
// past a page scrolls one page). The file is edited line by line, never through
// a typed-value reader, and everything else in it stays as it was.
class KdeWheelLines
{
public:
    // kdeglobals in $XDG_CONFIG_HOME, and whether $XDG_CURRENT_DESKTOP names KDE.
    KdeWheelLines();

    // Under KDE, or where the file already has the key; never where the key is locked ([$i]).
    bool settable() const;
    bool set(unsigned lines) const;

private:
    enum class Key { Absent, Present, Locked };
    static Key find(const QByteArray &file);
    // The file with the key set to lines: the key's line replaced, else added to [KDE], else a new [KDE] group.
    static QByteArray withLines(const QByteArray &file, unsigned lines);
    // False when the file is there but cannot be read; a missing file reads as empty.
    bool read(QByteArray *text) const;
    bool settable(const QByteArray &text) const;

    QString m_path;
    bool m_kdeDesktop = false;
};
