// The device catalogue, read and then used for a discovery against the simulated mouse.
#include "catalogue.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::writeCase(QStringLiteral("DevInfo.ini"), data, size);
    setHidBackend(std::make_shared<SimulatedG7>());
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
