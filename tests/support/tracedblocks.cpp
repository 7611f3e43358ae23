#include "tracedblocks.h"
#include "tracereader.h"

QList<QByteArray> sentCommandBlocks(const QString &traceFile, uchar code)
{
    QList<QByteArray> found;
    for (const TraceLine &line : TraceReader(traceFile).lines()) {
        const QByteArray bytes = line.bytes();
        if (line.op == QLatin1String("feature-out") && bytes.size() == 9 && uchar(bytes.at(1)) == code)
            found.append(bytes.mid(1));
    }
    return found;
}

QList<QByteArray> sentKeyMatrices(const QString &traceFile)
{
    QList<QByteArray> found;
    bool keyMatrixBlock = false;
    for (const TraceLine &line : TraceReader(traceFile).lines()) {
        if (line.op == QLatin1String("feature-out"))
            keyMatrixBlock = line.fields.value(1) == QLatin1String("03");
        else if (line.op == QLatin1String("data-out") && keyMatrixBlock)
            found.append(line.bytes().mid(1, 64));
    }
    return found;
}

QStringList sentMacroBlocks(const QString &traceFile)
{
    QStringList found;
    int slot = -1;
    QByteArray block;
    for (const TraceLine &line : TraceReader(traceFile).lines()) {
        if (line.op == QLatin1String("feature-out")) {
            slot = line.fields.value(1) == QLatin1String("05") ? line.fields.value(3).toInt(nullptr, 16) : -1;
            block.clear();
        } else if (line.op == QLatin1String("data-out") && slot >= 0 && (block += line.bytes().mid(1, 64)).size() == 192) {
            found.append(QString::asprintf("%02d: ", slot) + QLatin1String(block.toHex(' ')));
            slot = -1;
        }
    }
    return found;
}
