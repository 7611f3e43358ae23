#include "tracereader.h"

#include <QFile>
#include <QRegularExpression>

TraceReader::TraceReader(const QString &file)
{
    static const QRegularExpression format(QStringLiteral(
            "^\\d+\\.\\d{3} (- sleep \\d+|(cmd|evt) ((feature|data)-(out|in)( [0-9A-F]{2})+"
            "|read-timeout \\d+|open|open-failed|close|error (feature|data)-(out|in)))$"));
    QFile in(file);
    const QString content = in.open(QIODevice::ReadOnly) ? QString::fromLatin1(in.readAll()) : QString();
    QStringList rows = content.split(QLatin1Char('\n'));
    if (!rows.takeLast().isEmpty())
        return;
    for (const QString &row : std::as_const(rows)) {
        const QStringList parts = row.split(QLatin1Char(' '));
        const TraceLine line{parts.at(0).toDouble(), parts.value(1), parts.value(2), parts.mid(3)};
        if (!format.match(row).hasMatch() || (!m_lines.isEmpty() && line.ms < m_lines.last().ms))
            return;
        m_lines.append(line);
    }
}

QStringList TraceReader::texts(const QStringList &ops) const
{
    QStringList result;
    for (const TraceLine &line : m_lines) {
        if (ops.isEmpty() || ops.contains(line.op))
            result.append(line.text());
    }
    return result;
}
