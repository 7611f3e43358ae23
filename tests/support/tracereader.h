#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One line of the report trace: "<ms> <iface> <op> [<fields>]".
struct TraceLine
{
    double ms = 0;
    QString iface;
    QString op;
    QStringList fields;

    // The fields as bytes (feature-out, feature-in, data-out, data-in).
    QByteArray bytes() const;
    // The one decimal field (sleep, read-timeout), -1 without one.
    int number() const;
    // The line without its time: "cmd feature-out 00 02 01 00 00 00 00 00 FC".
    QString text() const;
};

// Reads a report-trace file and checks every line against the format: a line
// that does not match makes the reader invalid and error() names it.
class TraceReader
{
public:
    explicit TraceReader(const QString &file);

    bool isValid() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

    // By value, so "for (line : rig.trace().lines())" is safe.
    QList<TraceLine> lines() const { return m_lines; }
    // text() of each line, optionally only those of one interface ("cmd", "evt", "-").
    QStringList texts(const QString &iface = QString()) const;
    QList<TraceLine> withOp(const QString &op) const;
    // The pauses in order.
    QList<int> sleeps() const;

    static bool parseLine(const QString &line, TraceLine *parsed, QString *why);

private:
    QList<TraceLine> m_lines;
    QString m_error;
};
