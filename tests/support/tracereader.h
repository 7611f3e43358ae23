#pragma once

#include <QStringList>

// One line of the report trace: "<ms> <iface> <op> [<fields>]".
struct TraceLine
{
    double ms = 0;
    QString iface;
    QString op;
    QStringList fields;

    QByteArray bytes() const { return QByteArray::fromHex(fields.join(QString()).toLatin1()); }
    // The line without its time: "cmd feature-out 00 02 01 00 00 00 00 00 FC".
    QString text() const { return (QStringList{iface, op} + fields).join(QLatin1Char(' ')); }
};

// Reads a trace file; a line off the format or back in time ends it, and an unterminated last line (one still being
// written) gives no lines at all.
class TraceReader
{
public:
    explicit TraceReader(const QString &file);

    QList<TraceLine> lines() const { return m_lines; }  // by value: safe on a temporary reader
    // text() of the lines whose operation is one of `ops` (all lines when empty).
    QStringList texts(const QStringList &ops = {}) const;

private:
    QList<TraceLine> m_lines;
};
