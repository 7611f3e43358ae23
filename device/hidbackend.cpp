#include "hidbackend.h"

#include "realhidbackend.h"

#include <QList>
#include <cstdlib>
#include <QMutex>

namespace {

QMutex backendMutex;
std::shared_ptr<HidBackend> installed;

// A replaced backend may still be inside a read on the event monitor's
// thread; it is kept alive until the program ends.
QList<std::shared_ptr<HidBackend>> &retired()
{
    static QList<std::shared_ptr<HidBackend>> list;
    return list;
}

} // namespace

HidBackend &hidBackend()
{
    {
        QMutexLocker lock(&backendMutex);
        if (installed)
            return *installed;
    }
    static RealHidBackend real;
    return real;
}

void setHidBackend(std::shared_ptr<HidBackend> backend)
{
    QMutexLocker lock(&backendMutex);
    if (installed)
        retired().append(installed);
    installed = std::move(backend);
}

void freeDeviceInfoList(HidDeviceInfo *devs)
{
    while (devs) {
        HidDeviceInfo *next = devs->next;
        std::free(devs->path);
        delete devs;
        devs = next;
    }
}
