#include "updatelauncher.h"

#include "datapath.h"
#include "hid_thread.h"
#include "pauses.h"

#include <QDebug>
#include <QFileInfo>
#include <QProcess>

#include <iterator>

namespace UpdateLauncher {

namespace {
// Indexed by catalogue index; any other index takes the first.
constexpr const char *programs[] = {
    "./update/3336.exe", "./update/update1.exe", "./update/noLight.exe", "./update/3337.exe",
};
constexpr int settleMs = 500;
}

QString programFor(unsigned did)
{
    return QLatin1String(did < std::size(programs) ? programs[did] : programs[0]);
}

bool launch(QObject *owner, Hid_Thread *hid)
{
    const QFileInfo program(dataPath(programFor(hid ? hid->did : 0)));
#ifndef Q_OS_WIN
    if (!program.isFile() || !program.isExecutable()) {
        qDebug() << "Updater not started:" << program.filePath()
                 << (program.exists() ? "is not executable" : "is missing");
        return false;
    }
#endif
    // The updater talks to the mouse itself; the next connection restarts the monitor.
    if (hid)
        hid->stopMonitor();
    hidSleep(settleMs);

    auto *process = new QProcess(owner);
    process->setWorkingDirectory(program.absolutePath());
    process->setProgram(program.absoluteFilePath());
    // Nothing reads the updater: what it prints would pile up in our memory for as long as it runs.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start();
    return true;
}

} // namespace UpdateLauncher
