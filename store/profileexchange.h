#pragma once

#include <QString>
#include <QStringList>

class ProfileStore;
class QSettings;

// Profile exchange files (*.pf): a profile file plus the macros it travels
// with, under profile/name and profile/<i>. A .pf may come from another
// computer, so an import takes only what is safe and never writes outside the
// data folder; what it skips it names on the debug output, one line each.
namespace ProfileExchange {

// Limits of what an import takes: more is not something a person made.
inline constexpr qint64 maxFileSize = 8 * 1024 * 1024;
inline constexpr int maxLineLength = 256 * 1024;
inline constexpr int maxMacros = 100;   // the macro list's own limit
inline constexpr int maxEventsPerMacro = 4096;

// Writes `target`: every key of `profile` (may be null) except its own
// profile group, then profile/name = macroNames and profile/<i> = the events
// and loop count of macro i. An existing target is replaced.
bool exportProfile(QSettings *profile, const QString &target, const QStringList &macroNames);

// Why an import left the profile as it was.
enum class ImportFailure { None, NotAProfile, NotStored };

// Replaces profile `profile` by the safe lines of `source` that hold known
// profile keys, staged in the data folder first. A file that cannot be read
// as a profile (missing, unreadable, too large, not text, no known key) or a
// profile that cannot be written whole (a full disk) leaves the profile as it
// was and returns false; *failure then says which of the two it was.
bool importProfile(ProfileStore &store, int profile, const QString &source, ImportFailure *failure = nullptr);

// Recreates the macros a loaded .pf carries (in `profile`, may be null):
// new names are appended to the macro name list while it has fewer than
// maxMacros, existing macros are overwritten, nothing is duplicated. Unsafe
// macros are skipped. The name list is rewritten only when a macro was taken.
bool importMacros(QSettings *profile);

} // namespace ProfileExchange
