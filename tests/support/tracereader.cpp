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
        m_error = QStringLiteral("the last line is not terminated");
    for (int i = 0; i < rows.size() && m_error.isEmpty(); ++i) {
        const QStringList parts = rows.at(i).split(QLatin1Char(' '));
        const TraceLine line{parts.at(0).toDouble(), parts.value(1), parts.value(2), parts.mid(3)};
        if (!format.match(rows.at(i)).hasMatch())
            m_error = QStringLiteral("line %1 is off the format: %2").arg(i + 1).arg(rows.at(i));
        else if (!m_lines.isEmpty() && line.ms < m_lines.last().ms)
            m_error = QStringLiteral("line %1 goes back in time").arg(i + 1);
        else
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
