// A macro file as the macro editor loads it, then through the encoder down to the block for the mouse; then the
// editor's create, save, rename (profiles 0..5 referring to it) and delete, on names and numbers from the case.
#include "fuzzsupport.h"
#include "macrocodec.h"
#include "macrofiles.h"
#include "profilekeys.h"
#include "profilestore.h"

#include <QSettings>

namespace {

// A name from a text of the case, made unique so no file of an earlier case is met again.
QString nameFrom(const QString &text, const char *tag)
{
    static int serial = 0;
    return text.left(12) + QLatin1String(tag) + QString::number(++serial);
}

void editorOperations(const QStringList &loaded, uchar position)
{
    const QString name = nameFrom(loaded.value(0), "c");
    const QString renamed = nameFrom(loaded.value(loaded.size() - 1), "r");
    const QStringList entries = loaded.mid(0, qMax(0, loaded.size() - 1));
    const QString loops = loaded.value(loaded.size() - 1, QStringLiteral("1"));

    // One store for the run: its profiles change in memory only, so a case costs no profile writes.
    static ProfileStore profiles;
    if (MacroFiles::create(name, position)) {
        if (!MacroFiles::save(name, entries, loops))
            FuzzSupport::fail(QStringLiteral("a created macro cannot be saved"));
        if (MacroFiles::load(name) != entries + QStringList{loops} || MacroFiles::loadIndex(name) != position)
            FuzzSupport::fail(QStringLiteral("saved and loaded differ for ") + name);
        for (int p = 0; p < 6; ++p)
            profiles.profileSettings(p)->setValue(QLatin1String(ProfileKey::macroPrefix) + QString::number(p), name);
        QString current = name;
        if (MacroFiles::rename(profiles, name, renamed)) {
            current = renamed;
            if (MacroFiles::uses(profiles, renamed).size() != 7 || MacroFiles::uses(profiles, name).size() != 1)
                FuzzSupport::fail(QStringLiteral("buttons do not follow the rename to ") + renamed);
            if (MacroFiles::load(renamed) != entries + QStringList{loops})
                FuzzSupport::fail(QStringLiteral("the renamed macro lost its events"));
        }
        if (!MacroFiles::remove(current) || MacroFiles::remove(current) || !MacroFiles::load(current).isEmpty())
            FuzzSupport::fail(QStringLiteral("a deleted macro is still there"));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::writeCase(QStringLiteral("modules/macro/m.bin"), data, size);
    const QStringList entries = MacroFiles::load(QStringLiteral("m"));
    MacroFiles::loadIndex(QStringLiteral("m"));
    MacroFiles::loadType(QStringLiteral("m"));
    const QList<MacroCodec::Event> events = MacroCodec::parseEntries(entries.mid(0, qMax(0, entries.size() - 1)));
    MacroCodec::estimate(events);
    const uint loops = entries.isEmpty() ? 1 : entries.last().toUInt();
    const QByteArray encoded = MacroCodec::encode(events, loops);
    QVariantList values;
    for (const char byte : encoded)
        values.append(int(uchar(byte)));
    MacroCodec::payload(values);

    // The file operations run for one case in eight: each written file waits for the disk.
    if (size % 8 == 0)
        editorOperations(entries, size ? data[size - 1] : 0);
    FuzzSupport::checkNoWriteOutside();
    return 0;
}
