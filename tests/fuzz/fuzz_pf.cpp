// A profile exchange file (.pf) imported as `--import file.pf N` does it:
// ProfileExchange::importProfile, then importMacros on the replaced profile.
// The .pf lies in a folder of its own beside the data folder, as a file from
// another computer would. Every case starts from the same data folder (one
// macro "Keep" in the name list, empty profiles), so cases do not depend on
// each other and the macro folder stays bounded. After the import nothing may
// lie outside the data folder, and no staging file beside the .pf.
#include "fuzzsupport.h"
#include "namelists.h"
#include "profileexchange.h"
#include "profilestore.h"

#include <QDirIterator>
#include <QEvent>
#include <QSettings>

namespace {

void restore(const QString &path, const QByteArray &bytes)
{
    FuzzSupport::writeCase(path, reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
}

// Back to the pristine data folder: no profile files, the one macro and its name list.
void reset()
{
    QDirIterator macros(QStringLiteral("modules/macro"), QDir::Files | QDir::Hidden);
    while (macros.hasNext())
        QFile::remove(macros.next());
    for (int n = 0; n < ProfileStore::profileCount; ++n)
        QFile::remove(ProfileStore::profileFile(n));
    restore(QStringLiteral("modules/macro/Keep.bin"),
            "[config]\ndid=-1\nindex=0\nrepeat=1\ntotal=2\n\n[macro]\n0=\"1,A\"\n1=\"0,20\"\n");
    restore(QStringLiteral("modules/setting/name.bin"), "[macro]\nmacroName=Keep, loaderzenith\n");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::init();
    reset();
    // The target profile comes from the case, so every profile slot is used.
    const int profile = int(size % ProfileStore::profileCount);
    static QTemporaryDir outside;   // the other computer's folder, outside the data folder
    const QString pf = outside.filePath(QStringLiteral("case.pf"));
    FuzzSupport::writeCase(pf, data, size);
    {
        ProfileStore store;
        if (ProfileExchange::importProfile(store, profile, pf)) {
            ProfileExchange::importMacros(store.profileSettings(profile));
            // What the pages would read next: every key of the imported profile.
            QSettings *settings = store.profileSettings(profile);
            const QStringList keys = settings->allKeys();
            for (const QString &key : keys.mid(0, 256))
                settings->value(key).toString();
            NameLists::withoutSentinel(NameLists::read(NameLists::Macros));
        }
    }
    // The settings object replaceProfile() let go of.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    FuzzSupport::checkNoWriteOutside();
    const QDir beside(outside.path());
    if (beside.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot) != QStringList{"case.pf"}) {
        fprintf(stderr, "pf import: wrote beside the .pf\n");
        abort();
    }
    return 0;
}
