#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// What the mouse received, read back from a report trace.
struct MacroBlock
{
    int slot;
    QByteArray bytes;   // the 192 bytes of the three data reports
};
// The command blocks (the 8 bytes after the report ID) with this code, in order.
QList<QByteArray> sentCommandBlocks(const QString &traceFile, uchar code);
// The key matrices: the 64 bytes (without report ID) of each data report following a 03H block.
QList<QByteArray> sentKeyMatrices(const QString &traceFile);
// The macro blocks: the data reports following each 05H block, joined.
QList<MacroBlock> sentMacroBlocks(const QString &traceFile);
