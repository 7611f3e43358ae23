#include "tracereader.h"

#include <QFile>
#include <QRegularExpression>

namespace {

const QStringList byteOps = {"feature-out", "feature-in", "data-out", "data-in"};
const QStringList numberOps = {"sleep", "read-timeout"};
const QStringList bareOps = {"open", "open-failed", "close"};

bool isByte(const QString &field)
{
    static const QRegularExpression hexByte(QStringLiteral("^[0-9A-F]{2}$"));
    return hexByte.match(field).hasMatch();
}

} // namespace

QByteArray TraceLine::bytes() const
{
    QByteArray result;
    for (const QString &field : fields)
        result.append(char(field.toUInt(nullptr, 16)));
    return result;
}

int TraceLine::number() const
{
    bool ok = false;
    const int value = fields.size() == 1 ? fields.first().toInt(&ok) : -1;
    return ok ? value : -1;
}

QString TraceLine::text() const
{
    QStringList parts{iface, op};
    parts += fields;
    return parts.join(QLatin1Char(' '));
}

bool TraceReader::parseLine(const QString &line, TraceLine *parsed, QString *why)
{
    static const QRegularExpression time(QStringLiteral("^\\d+\\.\\d{3}$"));
    static const QRegularExpression decimal(QStringLiteral("^\\d+$"));
    const QStringList parts = line.split(QLatin1Char(' '));
    auto fail = [why](const QString &reason) {
        *why = reason;
        return false;
    };
    if (parts.size() < 3)
        return fail(QStringLiteral("fewer than three fields"));
    if (!time.match(parts.at(0)).hasMatch())
        return fail(QStringLiteral("time is not milliseconds with three decimals"));
    TraceLine result;
    result.ms = parts.at(0).toDouble();
    result.iface = parts.at(1);
    result.op = parts.at(2);
    result.fields = parts.mid(3);
    const bool pause = result.op == QLatin1String("sleep");
    if (pause != (result.iface == QLatin1String("-")))
        return fail(QStringLiteral("sleep lines and only they use the interface -"));
    if (!pause && result.iface != QLatin1String("cmd") && result.iface != QLatin1String("evt"))
        return fail(QStringLiteral("unknown interface"));
    if (byteOps.contains(result.op)) {
        if (result.fields.isEmpty())
            return fail(QStringLiteral("no bytes"));
        for (const QString &field : result.fields) {
            if (!isByte(field))
                return fail(QStringLiteral("not an upper-case hex byte: ") + field);
        }
    } else if (numberOps.contains(result.op)) {
        if (result.fields.size() != 1 || !decimal.match(result.fields.first()).hasMatch())
            return fail(QStringLiteral("needs one decimal field"));
    } else if (bareOps.contains(result.op)) {
        if (!result.fields.isEmpty())
            return fail(QStringLiteral("takes no field"));
    } else if (result.op == QLatin1String("error")) {
        if (result.fields.size() != 1 || !byteOps.contains(result.fields.first()))
            return fail(QStringLiteral("error names the failed transfer"));
    } else {
        return fail(QStringLiteral("unknown operation"));
    }
    *parsed = result;
    return true;
}

TraceReader::TraceReader(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("cannot open ") + file;
        return;
    }
    const QByteArray content = in.readAll();
    if (!content.isEmpty() && !content.endsWith('\n')) {
        m_error = QStringLiteral("the last line is not terminated");
        return;
    }
    const QList<QByteArray> rows = content.split('\n');
    double last = 0;
    for (int i = 0; i + 1 < rows.size(); ++i) {
        const QString row = QString::fromLatin1(rows.at(i));
        TraceLine line;
        QString why;
        if (!parseLine(row, &line, &why)) {
            m_error = QStringLiteral("line %1 \"%2\": %3").arg(i + 1).arg(row, why);
            return;
        }
        if (line.ms < last) {
            m_error = QStringLiteral("line %1 goes back in time").arg(i + 1);
            return;
        }
        last = line.ms;
        m_lines.append(line);
    }
}

QStringList TraceReader::texts(const QString &iface) const
{
    QStringList result;
    for (const TraceLine &line : m_lines) {
        if (iface.isEmpty() || line.iface == iface)
            result.append(line.text());
    }
    return result;
}

QList<TraceLine> TraceReader::withOp(const QString &op) const
{
    QList<TraceLine> result;
    for (const TraceLine &line : m_lines) {
        if (line.op == op)
            result.append(line);
    }
    return result;
}

QList<int> TraceReader::sleeps() const
{
    QList<int> result;
    for (const TraceLine &line : withOp(QStringLiteral("sleep")))
        result.append(line.number());
    return result;
}
