// Profile files through the store's INI dialect: the parser on the raw bytes,
// the writer on what it read, and a profile file opened, read key by key and
// changed through QSettings as the bridge does.
#include "fuzzsupport.h"
#include "inidialect.h"
#include "inivalues.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::init();
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QSettings::SettingsMap map;
    QStringList order;
    IniDialect::read(bytes, map, &order);
    QSettings::SettingsMap again;
    IniDialect::read(IniDialect::write(map, bytes), again);

    FuzzSupport::writeCase(QStringLiteral("modules/setting/p1.bin"), data, size);
    {
        const auto profile = StoreFile::open(QStringLiteral("./modules/setting/p1.bin"));
        const QStringList keys = profile->allKeys();
        for (const QString &key : keys.mid(0, 256)) {
            const QVariant value = profile->value(key);
            IniValues::toList(value);
            value.toString();
            value.toInt();
        }
        profile->setValue(QStringLiteral("sensor/dpi_J2"), IniValues::forStorage(QVariantList{400, 800}));
    }
    FuzzSupport::checkNoWriteOutside();
    return 0;
}
