#pragma once

#include <QStringList>

// What the mouse received, read back from a report trace.
// The command blocks (the 8 bytes after the report ID) with this code, in order.
QList<QByteArray> sentCommandBlocks(const QString &traceFile, uchar code);
// The key matrices: the 64 bytes (without report ID) of each data report following a 03H block.
QList<QByteArray> sentKeyMatrices(const QString &traceFile);
// The macro blocks, the data reports following each 05H block joined: "<slot>: <192 bytes in hex>".
QStringList sentMacroBlocks(const QString &traceFile);
