// A profile exchange file (.pf) imported as `--import file.pf N` does it: importProfile, then importMacros on the
// replaced profile. Every case starts from the same data folder, so cases do not depend on each other.
#include "fuzzsupport.h"
#include "namelists.h"
#include "profileexchange.h"
#include "profilestore.h"
#include "safefilename.h"

#include <QDirIterator>
#include <QEvent>
#include <QRegularExpression>
#include <QSettings>

namespace {

// The case's .pf, in a folder of its own outside the data folder: the other computer's.
const QString &pfPath()
{
    static QTemporaryDir outside;
    static const QString path = outside.filePath(QStringLiteral("case.pf"));
    return path;
}

void restore(const QString &path, const QByteArray &bytes)
{
    FuzzSupport::writeCase(path, reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
}

// Back to the pristine data folder: no profile files, the one macro and its name list.
void reset()
{
    QDir(QStringLiteral("modules/macro")).removeRecursively();
    QDir().mkpath(QStringLiteral("modules/macro"));
    for (int n = 0; n < ProfileStore::profileCount; ++n)
        QFile::remove(ProfileStore::profileFile(n));
    restore(QStringLiteral("modules/macro/Keep.bin"),
            "[config]\ndid=-1\nindex=0\nrepeat=1\ntotal=2\n\n[macro]\n0=\"1,A\"\n1=\"0,20\"\n");
    restore(QStringLiteral("modules/setting/name.bin"), "[macro]\nmacroName=Keep, loaderzenith\n");
}

// Only the files an import may write lie in the data folder, and the .pf's folder holds only the .pf.
void checkWrites(int profile)
{
    FuzzSupport::checkNoWriteOutside();
    const QDir outside = QFileInfo(pfPath()).dir();
    const QStringList beside = outside.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    if (beside != QStringList{QStringLiteral("case.pf")})
        FuzzSupport::fail(QStringLiteral("the .pf's folder holds ") + beside.join(u' '));

    static const QRegularExpression macroFile(QStringLiteral("^modules/macro/([^/]+)\\.bin$"));
    const QString root = FuzzSupport::dataFolder().path() + QLatin1Char('/');
    const QString profileFile = QStringLiteral("modules/setting/p%1.bin").arg(profile + 1);
    QDirIterator it(root + QStringLiteral("modules"), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString relative = entry.filePath().mid(root.size());
        const QRegularExpressionMatch match = macroFile.match(relative);
        const bool writable = relative == profileFile || relative == QLatin1String("modules/setting/name.bin")
                              || (match.hasMatch() && isSafeFileName(match.captured(1)));
        if (entry.isDir() ? !FuzzSupport::subfolders.contains(relative) : !writable)
            FuzzSupport::fail(QStringLiteral("written: ") + relative);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::init();
    reset();
    // The target profile comes from the case, so every profile slot is used.
    const int profile = int(size % ProfileStore::profileCount);
    FuzzSupport::writeCase(pfPath(), data, size);
    {
        ProfileStore store;
        if (ProfileExchange::importProfile(store, profile, pfPath())) {
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
    checkWrites(profile);
    return 0;
}
