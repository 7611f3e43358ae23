#pragma once

// The build's data folder for a bench that runs the page: a private copy, so the build tree is not written.

#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

// Copies G7_RUNTIME_DIR/modules into data; false, with one line on standard error, when that fails.
inline bool copyDataFolder(const QTemporaryDir &data)
{
    if (QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), QStringLiteral(G7_RUNTIME_DIR "/modules"),
                                                 data.path()}) == 0)
        return true;
    std::fprintf(stderr, "could not copy " G7_RUNTIME_DIR "/modules\n");
    return false;
}
