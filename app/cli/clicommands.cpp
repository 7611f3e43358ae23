#include "clicommands.h"

#include "applinks.h"
#include "hid_thread.h"
#include "namelists.h"
#include "profileexchange.h"
#include "profilestore.h"
#include "profilevalues.h"

#include <QTextStream>

namespace {

constexpr int failed = 1;
using NameRules::profileLimit;

PeerAnswer failure(const QString &line)
{
    PeerAnswer answer;
    answer.code = failed;
    answer.err = line + QLatin1Char('\n');
    return answer;
}

PeerAnswer success(const QString &text)
{
    PeerAnswer answer;
    answer.code = 0;
    answer.out = text;
    return answer;
}

QList<NameLists::ProfileEntry> profileEntries()
{
    QList<NameLists::ProfileEntry> entries;
    for (const QString &text : NameLists::withoutSentinel(NameLists::read(NameLists::Profiles)))
        entries.append(NameLists::splitProfileEntry(text));
    return entries;
}

// The profile page's name of `profile`; empty when the page does not list it.
QString profileName(int profile)
{
    for (const NameLists::ProfileEntry &entry : profileEntries()) {
        if (entry.number == profile)
            return entry.name.isEmpty() ? QStringLiteral("(no name)") : entry.name;
    }
    return QString();
}

PeerAnswer list(CliTarget &target)
{
    QString text;
    QTextStream out(&text);
    bool anyMouse = false;
    for (const DeviceRecord &record : target.hid.devList) {
        if (record.path.isEmpty() && record.path2.isEmpty())
            continue;
        anyMouse = true;
        out << "mouse: " << record.productName << " (model " << record.index << "), command interface "
            << (record.path.isEmpty() ? QStringLiteral("missing") : record.path) << ", event interface "
            << (record.path2.isEmpty() ? QStringLiteral("missing") : record.path2) << ", "
            << target.access(record) << '\n';
    }
    if (!anyMouse)
        out << "mouse: none attached\n";
    out << "profiles:\n";
    for (const NameLists::ProfileEntry &entry : profileEntries()) {
        out << (entry.number == target.store.curProfile ? "* " : "  ") << entry.number << ' ' << entry.name
            << '\n';
    }
    out.flush();
    return success(text);
}

PeerAnswer links(CliTarget &target)
{
    QString text;
    for (const AppLinks::Link &link : AppLinks::read(*target.store.apConfig())) {
        const QString name = profileName(link.profile);
        text += QStringLiteral("%1 %2 (%3)\n").arg(link.windowClass).arg(link.profile)
                    .arg(name.isEmpty() ? QStringLiteral("not listed") : name);
    }
    return success(text.isEmpty() ? QStringLiteral("no window class is linked\n") : text);
}

PeerAnswer status(CliTarget &target)
{
    Hid_Thread &hid = target.hid;
    uchar stage = 0;
    if (hid.hid_8BH_GetCurrentDPIStage(stage) <= 1)
        return failure(QStringLiteral("the mouse did not answer the DPI stage query"));
    uchar effect = 0, option1 = 0, option2 = 0;
    if (hid.hid_8DH_GetRGBLedEffect(effect, option1, option2) <= 1)
        return failure(QStringLiteral("the mouse did not answer the lighting query"));
    // The mouse knows the stage only; its value is the current profile's.
    const QVariantList values = ProfileValues::dpiStages(target.store, hid.did);
    const QString value = stage < values.size()
        ? values.at(stage).toString() + QStringLiteral(" DPI")
        : QStringLiteral("its DPI value is unknown: the current profile has none for this stage");
    return success(QStringLiteral("DPI stage %1 of 8: %2\nlighting effect %3 (options %4, %5)\n")
                       .arg(stage + 1).arg(value).arg(effect).arg(option1).arg(option2));
}

} // namespace

int createProfile(ProfileStore &store)
{
    QStringList stored = NameLists::withoutSentinel(NameLists::read(NameLists::Profiles));
    if (stored.size() >= profileLimit)
        return -1;
    QList<int> numbers;
    QStringList names;
    for (const QString &text : stored) {
        const NameLists::ProfileEntry entry = NameLists::splitProfileEntry(text);
        numbers.append(entry.number);
        names.append(entry.name);
    }
    const int number = NameRules::firstFreeProfile(numbers);
    if (!store.resetProfile(number))
        return -1;
    stored.append(NameLists::profileEntry(NameRules::firstFreeName(names, QStringLiteral("profile_"), QString()), number));
    NameLists::write(NameLists::Profiles, stored);
    store.setCurrentProfile(number);
    return number;
}

PeerAnswer runCliRequest(const CliRequest &request, CliTarget &target)
{
    if (!request.error.isEmpty())
        return failure(request.error);

    QString name;
    if (request.profile >= 0) {
        name = profileName(request.profile);
        if (name.isEmpty())
            return failure(QStringLiteral("profile %1 does not exist (see --list)").arg(request.profile));
    }

    switch (request.command) {
    case CliRequest::None:
    case CliRequest::Help:
        return success(CliRequest::helpText());
    case CliRequest::Version:
        return success(QStringLiteral("orvane-g7 " G7_VERSION "\n"));
    case CliRequest::List:
        return list(target);
    case CliRequest::Status:
        if (!target.mouseReady())
            return failure(QStringLiteral("no supported mouse attached"));
        return status(target);
    case CliRequest::Profile:
        if (!target.mouseReady())
            return failure(QStringLiteral("no supported mouse attached; profile %1 not switched").arg(request.profile));
        target.switchProfile(request.profile);
        return success(QStringLiteral("profile %1 (%2) is current and sent to the mouse\n").arg(request.profile).arg(name));
    case CliRequest::Link:
        AppLinks::link(*target.store.apConfig(), request.windowClass, request.profile);
        return success(QStringLiteral("%1 linked to profile %2 (%3)\n").arg(request.windowClass).arg(request.profile).arg(name));
    case CliRequest::Unlink:
        if (!AppLinks::unlink(*target.store.apConfig(), request.windowClass))
            return failure(QStringLiteral("%1 is not linked (see --links)").arg(request.windowClass));
        return success(QStringLiteral("%1 unlinked\n").arg(request.windowClass));
    case CliRequest::Links:
        return links(target);
    case CliRequest::Export: {
        const QStringList macros = NameLists::withoutSentinel(NameLists::read(NameLists::Macros));
        if (!ProfileExchange::exportProfile(target.store.profileSettings(request.profile), request.file, macros))
            return failure(QStringLiteral("cannot write %1").arg(request.file));
        return success(QStringLiteral("profile %1 (%2) exported to %3\n").arg(request.profile).arg(name, request.file));
    }
    case CliRequest::Import: {
        int profile = request.profile;
        if (profile < 0) {
            profile = target.newProfile();
            if (profile < 0)
                return failure(QStringLiteral("all %1 profiles are in use; name the one to import into (see --list)")
                                   .arg(profileLimit));
            name = profileName(profile);
        }
        ProfileExchange::ImportFailure why = ProfileExchange::ImportFailure::None;
        if (!ProfileExchange::importProfile(target.store, profile, request.file, &why))
            return failure(QStringLiteral("%1 %2; profile %3 %4")
                               .arg(request.file,
                                    why == ProfileExchange::ImportFailure::NotStored
                                        ? QStringLiteral("could not be stored (is the disk full?)")
                                        : QStringLiteral("cannot be read as a profile file"))
                               .arg(profile)
                               .arg(request.profile < 0 ? QStringLiteral("was made with the factory settings")
                                                        : QStringLiteral("is unchanged")));
        ProfileExchange::importMacros(target.store.profileSettings(profile));
        QString done = QStringLiteral("%1 imported into profile %2 (%3)").arg(request.file).arg(profile).arg(name);
        if (profile != target.store.curProfile)
            return success(done + QLatin1Char('\n'));
        if (!target.mouseReady())
            return failure(done + QStringLiteral(", but not sent: no supported mouse attached"));
        target.applyImported(request.file);
        return success(done + QStringLiteral(" and sent to the mouse\n"));
    }
    }
    return failure(QStringLiteral("unknown command"));
}
