// gunData.bin: every entry the file names read back, then a rename through the store.
#include "fuzzsupport.h"
#include "gundata.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::writeCase(QStringLiteral("modules/gun/gunData.bin"), data, size);
    QStringList names;
    {
        const auto file = StoreFile::open(GunData::file());
        file->beginGroup(QStringLiteral("gunData"));
        names = file->childKeys().mid(0, 64);
    }
    for (const QString &name : names)
        GunData::get(name);
    if (!names.isEmpty())
        GunData::modify(1, {QStringLiteral("renamed"), 1, 2, 3, 4, 5, names.first()});
    FuzzSupport::checkNoWriteOutside();
    return 0;
}
