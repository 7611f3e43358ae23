#include "startup.h"

#include <datapath.h>
#include <deviceoptions.h>
#include <discovery.h>
#include <hid_thread.h>
#include <profilestore.h>
#include <storefile.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace Startup {

std::shared_ptr<SimulatedG7> prepare(const QStringList &args)
{
    DeviceOptions options = parseDeviceOptions(args);
    // Taken before the working folder changes.
    if (!options.traceFile.isEmpty())
        options.traceFile = QFileInfo(options.traceFile).absoluteFilePath();
    QString workingDir = QCoreApplication::applicationFilePath();
    workingDir.truncate(workingDir.lastIndexOf(QLatin1Char('/')));
    QDir::setCurrent(workingDir);
    chooseDataFolder(workingDir);
    return installDeviceBackend(options);
}

void findMice(Hid_Thread &hid, const ProfileStore &store)
{
    findCataloguedDevices(hid, StoreFile::format(), store.productNames());
}

void loadSecrecyCode(const ProfileStore &store, uint did)
{
    useSecrecyCode(store.secrecyCode(did));
}

} // namespace Startup
