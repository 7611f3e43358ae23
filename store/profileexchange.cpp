#include "profileexchange.h"

#include "datapath.h"
#include "inidialect.h"
#include "inivalues.h"
#include "macrofiles.h"
#include "namelists.h"
#include "profilekeys.h"
#include "profilestore.h"
#include "safefilename.h"
#include "storefile.h"

#include <QDebug>
#include <QLoggingCategory>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSettings>
#include <QTemporaryFile>

#include <algorithm>

// The command line keeps its answer to one line: it switches these details off.
Q_LOGGING_CATEGORY(lcExchange, "g7.exchange")

namespace ProfileExchange {

static const QString macroGroup = QStringLiteral("profile");
static const QString namesKey = QStringLiteral("profile/name");

static QString macroKey(int i)
{
    return QStringLiteral("profile/%1").arg(i);
}

static QStringList texts(const QVariantList &values)
{
    QStringList result;
    for (const QVariant &v : values)
        result.append(v.toString());
    return result;
}

// A list value, or a bare value taken as the only element (how a one-element
// list comes back); empty for a missing key.
static QStringList listOrBare(QSettings *settings, const QString &key)
{
    if (!settings->contains(key))
        return {};
    const QVariant stored = settings->value(key);
    const QVariantList list = IniValues::toList(stored);
    if (!list.isEmpty())
        return texts(list);
    // An empty list is stored as an empty or invalid value.
    return stored.toString().isEmpty() ? QStringList{} : QStringList{stored.toString()};
}

bool exportProfile(QSettings *profile, const QString &target, const QStringList &macroNames)
{
    QSettings::SettingsMap map;
    if (profile) {
        // The macros of an earlier import are replaced by the current ones below.
        const QStringList keys = profile->allKeys();
        for (const QString &key : keys) {
            if (!key.startsWith(macroGroup + QLatin1Char('/')))
                map.insert(key, profile->value(key));
        }
    }
    map.insert(namesKey, IniValues::forStorage(macroNames));
    for (int i = 0; i < macroNames.size(); ++i)
        map.insert(macroKey(i), IniValues::forStorage(MacroFiles::load(macroNames.at(i))));
    // Renamed over the target only when whole: a failed write keeps the earlier export.
    return StoreFile::replace(target, IniDialect::write(map));
}

// --- import of the file itself -------------------------------------------------

// Whether the quotes of an INI value close and no escape runs off its end
// (a trailing backslash would join the next line to it).
static bool quotingIsClosed(const QByteArray &value)
{
    bool quoted = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value.at(i);
        if (c == '\\') {
            if (++i >= value.size())
                return false;
        } else if (c == '"') {
            quoted = !quoted;
        }
    }
    return !quoted;
}

// Why a key line may not be imported, or an empty text.
static QString lineFault(const QByteArray &line)
{
    if (line.size() > maxLineLength)
        return QStringLiteral("value of %1 bytes").arg(line.size());
    const qsizetype equals = line.indexOf('=');
    if (equals < 0)
        return QStringLiteral("no value");
    const QByteArray value = line.mid(equals + 1).trimmed();
    // "@@" is a literal at sign, "@Invalid()" an empty list; other typed values are not ours.
    if (value.startsWith('@') && !value.startsWith("@@") && value != "@Invalid()")
        return QStringLiteral("typed value");
    if (!quotingIsClosed(value))
        return QStringLiteral("broken quoting");
    return QString();
}

static QString shortened(const QByteArray &line)
{
    return QString::fromLatin1(line.left(40)) + (line.size() > 40 ? QStringLiteral("...") : QString());
}

// The lines of a .pf that the INI reader can take safely; a line it cannot
// (and the keys under a broken section line) is dropped with one debug line.
static QByteArray safeLines(const QByteArray &contents)
{
    QByteArray kept;
    bool sectionBroken = false;
    int lineNo = 0;
    // Any run of CR and LF ends a line, as for the INI reader.
    for (const QByteArray &raw : contents.split('\n')) {
        for (const QByteArray &part : raw.split('\r')) {
            ++lineNo;
            const QByteArray line = part.trimmed();
            QString fault;
            if (line.isEmpty() || line.startsWith(';') || line.startsWith('#')) {
                // comment or blank
            } else if (line.startsWith('[')) {
                sectionBroken = !line.endsWith(']') || line.indexOf(']') != line.size() - 1 || line.size() > 1024;
                if (sectionBroken)
                    fault = QStringLiteral("broken section line");
            } else if (sectionBroken) {
                fault = QStringLiteral("key under a broken section line");
            } else {
                fault = lineFault(line);
            }
            if (!fault.isEmpty()) {
                qCDebug(lcExchange).noquote() << "Profile import skips line" << lineNo << shortened(line) << "-" << fault;
                continue;
            }
            kept += line;
            kept += '\n';
        }
    }
    return kept;
}

// The keys a profile holds, as data: an exact key, or a prefix with a decimal number first ... last.
struct ProfileKeyRule
{
    const char *key;
    int first = -1;   // -1: the key is exact
    int last = -1;
};
static const ProfileKeyRule profileKeyRules[] = {
    {ProfileKey::keyDefinePrefix, 0, 15},    {ProfileKey::macroPrefix, 0, 15},
    {ProfileKey::xySensitivePrefix, 0, 1},   {ProfileKey::selectGunPrefix, 0, 0},
    {ProfileKey::colourTablePrefix, 0, 1},   {ProfileKey::ledEffect},
    {ProfileKey::reportRate},                {ProfileKey::liftOff},
    {ProfileKey::cursorSpeed},               {ProfileKey::scrollLines},
    {ProfileKey::doubleClickSpeed},          {ProfileKey::dpiSelect},
    {"sensor/dpi_J2"},                       {"sensor/dpi_J2_3336"},
    {"sensor/dpi_J2_3337"},                  {"profile/name"},
    {"profile/", 0, maxMacros - 1},
};

static bool isProfileKey(const QString &key)
{
    return std::any_of(std::begin(profileKeyRules), std::end(profileKeyRules), [&key](const ProfileKeyRule &rule) {
        const QLatin1String name(rule.key);
        if (rule.first < 0)
            return key == name;
        if (!key.startsWith(name))
            return false;
        // Only the number as written: "03" or "+3" is another key.
        bool ok = false;
        const int n = key.sliced(name.size()).toInt(&ok);
        return ok && n >= rule.first && n <= rule.last && key.sliced(name.size()) == QString::number(n);
    });
}

// The file's known profile keys, in our own writing, or an empty text when it has none.
static QByteArray profileText(const QByteArray &safe, const QString &source)
{
    QSettings::SettingsMap map;
    QStringList typedKeys;
    IniDialect::read(safe, map, nullptr, &typedKeys);
    const QSet<QString> typed(typedKeys.cbegin(), typedKeys.cend());
    QStringList unknown;
    for (auto it = map.begin(); it != map.end();) {
        const bool known = isProfileKey(it.key());
        if (!known)
            unknown.append(it.key());
        if (!known || typed.contains(it.key()))
            it = map.erase(it);
        else
            ++it;
    }
    if (!typedKeys.isEmpty())
        qCDebug(lcExchange).noquote() << "Profile import skips" << typedKeys.size() << "typed values, the first under" << typedKeys.first();
    if (!unknown.isEmpty())
        qCDebug(lcExchange).noquote() << "Profile import skips" << unknown.size() << "unknown keys, the first"
                           << QDebug::toString(unknown.first().left(40));
    if (map.isEmpty()) {
        qCDebug(lcExchange).noquote() << "Profile import finds no profile settings in" << source;
        return QByteArray();
    }
    // Lines keep the order the file gave them.
    return IniDialect::write(map, safe);
}

// The chosen file's contents, or a null array (with one debug line) when it cannot be read as a profile.
static QByteArray readSource(const QString &source)
{
    QFile file(source);
    const QFileInfo info(source);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        qCDebug(lcExchange).noquote() << "Profile import cannot read" << source;
        return QByteArray();
    }
    if (info.size() > maxFileSize) {
        qCDebug(lcExchange).noquote() << "Profile import refuses" << source << "- it has" << info.size() << "bytes";
        return QByteArray();
    }
    QByteArray contents = file.read(maxFileSize + 1);
    if (contents.size() > maxFileSize || contents.contains('\0')) {
        qCDebug(lcExchange).noquote() << "Profile import refuses" << source << "- not a profile text file";
        return QByteArray();
    }
    if (contents.isNull())
        contents = QByteArray("");
    return contents;
}

bool importProfile(ProfileStore &store, int profile, const QString &source, ImportFailure *failure)
{
    ImportFailure unused;
    ImportFailure &why = failure ? *failure : unused;
    why = ImportFailure::NotAProfile;
    if (!store.profileSettings(profile)) {
        qCDebug(lcExchange) << "No profile" << profile;
        return false;
    }
    const QByteArray contents = readSource(source);
    if (contents.isNull())
        return false;
    const QByteArray text = profileText(safeLines(contents), source);
    if (text.isEmpty())
        return false;
    why = ImportFailure::NotStored;
    // A fresh name each time: the INI reader keeps the parsed copy of a file it saw before.
    QTemporaryFile staging(dataPath(QStringLiteral("./modules/setting/import-XXXXXX.tmp")));
    if (!staging.open() || !StoreFile::writeAll(staging, text)) {
        qCDebug(lcExchange).noquote() << "Profile import cannot stage" << source << "in" << staging.fileName();
        return false;
    }
    staging.close();
    if (!store.replaceProfile(profile, staging.fileName()))
        return false;
    why = ImportFailure::None;
    return true;
}

// --- import of the macros -----------------------------------------------------

struct CarriedMacro
{
    QString name;
    QStringList entries;
    QString loops;
};

// Why macro i of the file is not taken, or an empty text; fills `macro` when it is.
static QString macroFault(QSettings *profile, int i, const QString &name, CarriedMacro &macro)
{
    if (!isSafeFileName(name))
        return QStringLiteral("not a safe file name");
    const QStringList stored = listOrBare(profile, macroKey(i));
    if (stored.isEmpty())
        return QStringLiteral("no events stored");
    if (stored.size() - 1 > maxEventsPerMacro)
        return QStringLiteral("%1 events").arg(stored.size() - 1);
    bool ok = false;
    const uint loops = stored.last().toUInt(&ok);
    if (!ok || loops > 65535)
        return QStringLiteral("loop count ") + stored.last().left(20);
    for (qsizetype e = 0; e + 1 < stored.size(); ++e) {
        const QString &entry = stored.at(e);
        if (entry.size() < 3 || entry.at(0) < u'0' || entry.at(0) > u'4' || entry.at(1) != u',' || entry.size() > 64)
            return QStringLiteral("event ") + entry.left(20);
    }
    macro = {name, stored.mid(0, stored.size() - 1), stored.last()};
    return QString();
}

bool importMacros(QSettings *profile)
{
    if (!profile)
        return true;
    QStringList carried = listOrBare(profile, namesKey);
    if (carried.size() > maxMacros) {
        qCDebug(lcExchange) << "Profile import takes the first" << maxMacros << "of" << carried.size() << "macros";
        carried = carried.mid(0, maxMacros);
    }
    // Everything is checked before the first macro file is written.
    QList<CarriedMacro> taken;
    for (int i = 0; i < carried.size(); ++i) {
        CarriedMacro macro;
        const QString fault = macroFault(profile, i, carried.at(i), macro);
        if (!fault.isEmpty()) {
            qCDebug(lcExchange).noquote() << "Profile import skips macro" << i << QDebug::toString(carried.at(i).left(40)) << "-" << fault;
            continue;
        }
        // A name carried twice: the later content wins, as it would in the file.
        auto same = std::find_if(taken.begin(), taken.end(), [&](const CarriedMacro &m) { return m.name == macro.name; });
        if (same != taken.end())
            *same = macro;
        else
            taken.append(macro);
    }
    if (taken.isEmpty())
        return true;

    QStringList names = NameLists::withoutSentinel(NameLists::read(NameLists::Macros));
    int refused = 0;
    for (const CarriedMacro &macro : std::as_const(taken)) {
        const bool isNew = !names.contains(macro.name);
        // The macro list holds no more than the editor lets a person make.
        if (isNew && names.size() >= maxMacros) {
            ++refused;
            continue;
        }
        if (isNew)
            MacroFiles::create(macro.name, uint(names.size()));
        if (MacroFiles::save(macro.name, macro.entries, macro.loops)) {
            if (isNew)
                names.append(macro.name);
        } else {
            qCDebug(lcExchange).noquote() << "Profile import cannot store macro" << macro.name;
        }
    }
    if (refused > 0)
        qCDebug(lcExchange) << "Profile import skips" << refused << "new macros: the macro list is full at" << maxMacros;
    NameLists::write(NameLists::Macros, names);
    return true;
}

} // namespace ProfileExchange
