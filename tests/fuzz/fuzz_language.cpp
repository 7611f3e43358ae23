// A language file: every group as the pages ask for it.
#include "fuzzsupport.h"
#include "languagestrings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::writeCase(QStringLiteral("modules/i18n/xx.ini"), data, size);
    const QString file = LanguageStrings::fileForCode(QStringLiteral("xx"));
    for (int type = -1; type <= 7; ++type) {
        const QStringList texts = LanguageStrings::read(file, type);
        if (texts.size() > LanguageStrings::maxEntries)
            abort();
    }
    FuzzSupport::checkNoWriteOutside();
    return 0;
}
