// name.bin as the pages read it: every list type and every profile entry split.
#include "fuzzsupport.h"
#include "namelists.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::writeCase(QStringLiteral("modules/setting/name.bin"), data, size);
    for (int type = -1; type <= 4; ++type) {
        const QStringList names = NameLists::withoutSentinel(NameLists::read(type));
        for (const QString &name : names)
            NameLists::splitProfileEntry(name);
    }
    FuzzSupport::checkNoWriteOutside();
    return 0;
}
