// A profile exchange file (.pf) imported as `--import file.pf N` does it:
// ProfileExchange::importProfile, then importMacros on the replaced profile.
// The .pf lies in a folder of its own beside the data folder, as a file from
// another computer would. Every case starts from the same data folder (one
// macro "Keep" in the name list, empty profiles), so cases do not depend on
// each other and the macro folder stays bounded. After the import nothing may
// lie anywhere but where the import may write: the target profile, the macro
// name list and modules/macro/<safe name>.bin; no staging file may be left.
#include "fuzzsupport.h"
#include "macrofiles.h"
#include "namelists.h"
#include "profileexchange.h"
#include "profilestore.h"
#include "safefilename.h"

#include <QDirIterator>
#include <QEvent>
#include <QRegularExpression>
#include <QSettings>

namespace {

struct Pristine
{
    QByteArray nameList;     // modules/setting/name.bin
    QByteArray keepMacro;    // modules/macro/Keep.bin
    QString pfPath;          // the case's .pf, outside the data folder
};

QByteArray readAll(const QString &path)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        abort();
    return in.readAll();
}

void restore(const QString &relative, const QByteArray &bytes)
{
    FuzzSupport::writeCase(relative, reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
}

const Pristine &pristine()
{
    static const Pristine state = [] {
        Pristine p;
        if (!MacroFiles::create(QStringLiteral("Keep"), 0)
            || !MacroFiles::save(QStringLiteral("Keep"), {QStringLiteral("1,A"), QStringLiteral("0,20")}, 1))
            abort();
        NameLists::write(NameLists::Macros, {QStringLiteral("Keep")});
        p.nameList = readAll(QStringLiteral("modules/setting/name.bin"));
        p.keepMacro = readAll(QStringLiteral("modules/macro/Keep.bin"));
        // The "other computer": a folder outside the data folder.
        static QTemporaryDir outside;
        if (!outside.isValid())
            abort();
        p.pfPath = outside.filePath(QStringLiteral("case.pf"));
        return p;
    }();
    return state;
}

// Back to the pristine data folder: no profile files, the one macro and its name list.
void reset()
{
    const Pristine &p = pristine();
    QDirIterator macros(QStringLiteral("modules/macro"), QDir::Files | QDir::Hidden);
    while (macros.hasNext())
        QFile::remove(macros.next());
    for (int n = 0; n < ProfileStore::profileCount; ++n)
        QFile::remove(ProfileStore::profileFile(n));
    restore(QStringLiteral("modules/macro/Keep.bin"), p.keepMacro);
    restore(QStringLiteral("modules/setting/name.bin"), p.nameList);
}

[[noreturn]] void fail(const QString &what)
{
    fprintf(stderr, "pf import: %s\n", qPrintable(what));
    abort();
}

// Only the files an import may write lie in the data folder, and the .pf's folder holds only the .pf.
void checkWrites(int profile)
{
    FuzzSupport::checkNoWriteOutside();
    const QDir outside = QFileInfo(pristine().pfPath).dir();
    const QStringList beside = outside.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    if (beside != QStringList{QStringLiteral("case.pf")})
        fail(QStringLiteral("the .pf's folder holds ") + beside.join(u' '));

    static const QRegularExpression macroFile(QStringLiteral("^modules/macro/([^/]+)\\.bin$"));
    const QString root = FuzzSupport::dataFolder().path() + QLatin1Char('/');
    const QString profileFile = QStringLiteral("modules/setting/p%1.bin").arg(profile + 1);
    QDirIterator it(root + QStringLiteral("modules"), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString relative = entry.filePath().mid(root.size());
        if (entry.isDir()) {
            static const QStringList folders{QStringLiteral("modules/setting"), QStringLiteral("modules/macro"),
                                             QStringLiteral("modules/gun"), QStringLiteral("modules/i18n")};
            if (!folders.contains(relative))
                fail(QStringLiteral("folder made: ") + relative);
            continue;
        }
        if (relative == profileFile || relative == QLatin1String("modules/setting/name.bin"))
            continue;
        const QRegularExpressionMatch match = macroFile.match(relative);
        if (match.hasMatch() && isSafeFileName(match.captured(1)))
            continue;
        fail(QStringLiteral("written: ") + relative);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::init();
    const Pristine &p = pristine();
    reset();
    // The target profile comes from the case, so every profile slot is used.
    const int profile = int(size % ProfileStore::profileCount);
    {
        QFile out(p.pfPath);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            abort();
        out.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    {
        ProfileStore store;
        if (ProfileExchange::importProfile(store, profile, p.pfPath)) {
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
