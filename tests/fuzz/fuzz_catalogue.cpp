// The device catalogue, read and then used for a discovery against the simulated mouse.
#include "catalogue.h"
#include "fuzzsupport.h"
#include "hid_thread.h"
#include "pauses.h"
#include "simulatedg7.h"
#include "storefile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::init();
    setHidBackend(std::make_shared<SimulatedG7>());
    setSleeper(std::make_shared<RecordingSleeper>());
    FuzzSupport::writeCase(QStringLiteral("DevInfo.ini"), data, size);
    bool encode = false;
    const QList<DevInfoEntry> entries =
            readCatalogue(QStringLiteral("DevInfo.ini"), StoreFile::format(), {QStringLiteral("G7"), QString()}, &encode);
    if (entries.size() > maxCatalogueEntries)
        abort();
    Hid_Thread hid;
    hid.findDevices(entries);
    QFile::remove(QStringLiteral("DevInfo.ini"));
    FuzzSupport::checkNoWriteOutside();
    return 0;
}
