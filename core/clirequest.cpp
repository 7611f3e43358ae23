#include "clirequest.h"

#include "namerules.h"

#include <QFileInfo>

namespace {

// How many values each command takes: at least `values`, and one more when `optional`
// and the next argument is not an option.
struct Verb
{
    const char *name;
    CliRequest::Command command;
    int values;
    bool optional;
};

constexpr Verb verbs[] = {
    {"--help", CliRequest::Help, 0, false},       {"-h", CliRequest::Help, 0, false},
    {"--version", CliRequest::Version, 0, false}, {"--list", CliRequest::List, 0, false},
    {"--profile", CliRequest::Profile, 1, false}, {"--export", CliRequest::Export, 2, false},
    {"--import", CliRequest::Import, 1, true},    {"--status", CliRequest::Status, 0, false},
    {"--autostart", CliRequest::Autostart, 1, false}, {"--link", CliRequest::Link, 2, false},
    {"--unlink", CliRequest::Unlink, 1, false},   {"--links", CliRequest::Links, 0, false},
};

constexpr int profileLimit = 6;   // the profile page's numbers 0..5

// The device options and Qt's own platform options: taken by the tray program too.
// Returns how many arguments after `i` belong to the option, or -1 when `arg` is none;
// `error` is set when the option is malformed.
int deviceOption(const QStringList &args, int i, int simulatedModels, QString *error)
{
    const QString &arg = args.at(i);
    if (arg == QLatin1String("--simulate"))
        return 0;
    if (arg.startsWith(QLatin1String("--simulate="))) {
        bool ok = false;
        const int model = arg.mid(11).toInt(&ok);
        if (!ok || model < 0 || model >= simulatedModels)
            *error = QStringLiteral("no simulated model: %1 (models are 0 to %2)").arg(arg.mid(11)).arg(simulatedModels - 1);
        return 0;
    }
    if (arg.startsWith(QLatin1String("--trace=")) || arg == QLatin1String("--hidden"))
        return 0;
    for (const char *withValue : {"--trace", "-platform", "-display"}) {
        if (arg != QLatin1String(withValue))
            continue;
        if (i + 1 >= args.size())
            *error = QStringLiteral("%1 needs a value (see --help)").arg(arg);
        return 1;
    }
    return -1;
}

bool profileNumber(const QString &text, int *profile)
{
    bool ok = false;
    *profile = text.toInt(&ok);
    return ok && *profile >= 0 && *profile < profileLimit;
}

} // namespace

bool CliRequest::wanted(const QStringList &args, int simulatedModels)
{
    const CliRequest request = parse(args, simulatedModels);
    return request.command != None || !request.error.isEmpty();
}

CliRequest CliRequest::parse(const QStringList &args, int simulatedModels)
{
    CliRequest request;
    QStringList values;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        const int taken = deviceOption(args, i, simulatedModels, &request.error);
        if (!request.error.isEmpty())
            return request;
        if (taken >= 0) {
            i += taken;
            continue;
        }
        const Verb *found = nullptr;
        for (const Verb &verb : verbs) {
            if (arg == QLatin1String(verb.name))
                found = &verb;
        }
        if (!found) {
            request.error = QStringLiteral("unknown option: %1 (see --help)").arg(arg);
            return request;
        }
        if (request.command != None) {
            request.error = QStringLiteral("one command at a time: %1 is a second one (see --help)").arg(arg);
            return request;
        }
        if (i + found->values >= args.size()) {
            request.error = QStringLiteral("%1 needs %2 value(s) (see --help)").arg(arg).arg(found->values);
            return request;
        }
        int count = found->values;
        if (found->optional && i + count + 1 < args.size() && !args.at(i + count + 1).startsWith(QLatin1Char('-')))
            ++count;
        request.command = found->command;
        values = args.mid(i + 1, count);
        i += count;
    }

    QString number;
    switch (request.command) {
    case Profile:
        number = values.at(0);
        break;
    case Export:
        number = values.at(0);
        request.file = values.at(1);
        break;
    case Autostart:
        request.on = values.at(0) == QLatin1String("on");
        if (!request.on && values.at(0) != QLatin1String("off"))
            request.error = QStringLiteral("--autostart takes on or off, not %1").arg(values.at(0));
        return request;
    case Link:
    case Unlink:
        request.windowClass = values.at(0);
        if (!NameRules::isWindowClass(request.windowClass))
            request.error = QStringLiteral("not a window class: \"%1\"").arg(request.windowClass);
        if (request.command == Unlink || !request.error.isEmpty())
            return request;
        number = values.at(1);
        break;
    case Import:
        request.file = values.at(0);
        if (values.size() < 2) {   // into a new profile
            request.file = QFileInfo(request.file).absoluteFilePath();
            return request;
        }
        number = values.at(1);
        break;
    default:
        return request;
    }
    if (!profileNumber(number, &request.profile))
        request.error = QStringLiteral("no profile number: %1 (profiles are 0 to %2)").arg(number).arg(profileLimit - 1);
    else if ((request.command == Export || request.command == Import) && request.file.isEmpty())
        request.error = QStringLiteral("no file name given");
    if (!request.file.isEmpty())
        request.file = QFileInfo(request.file).absoluteFilePath();
    return request;
}

QStringList CliRequest::toArgs() const
{
    for (const Verb &verb : verbs) {
        if (verb.command != command)
            continue;
        const QString name = QLatin1String(verb.name);
        switch (command) {
        case Profile:
            return {name, QString::number(profile)};
        case Export:
            return {name, QString::number(profile), file};
        case Autostart:
            return {name, on ? QStringLiteral("on") : QStringLiteral("off")};
        case Link:
            return {name, windowClass, QString::number(profile)};
        case Unlink:
            return {name, windowClass};
        case Import:
            if (profile < 0)
                return {name, file};
            return {name, file, QString::number(profile)};
        default:
            return {name};
        }
    }
    return {};
}

QString CliRequest::helpText()
{
    return QStringLiteral(
        "Usage: orvane-g7 [command] [--simulate[=N]] [--trace FILE]\n"
        "Without a command the program starts in the tray with its window.\n"
        "\n"
        "Commands (one at a time; when the program already runs, it carries them out):\n"
        "  --list               the supported mice attached and the profiles (* marks the current one)\n"
        "  --profile N          make profile N (0-5) current and send it to the mouse\n"
        "  --export N FILE      write profile N with its macros to the .pf file FILE\n"
        "  --import FILE [N]    read the .pf file FILE into profile N, sent when N is current;\n"
        "                       without N into a new profile, which becomes current and is sent\n"
        "  --status             what the mouse reports now: DPI stage and value, lighting effect\n"
        "  --link CLASS N       make profile N current while a window of class CLASS is in front (X11)\n"
        "  --unlink CLASS       windows of class CLASS no longer switch the profile\n"
        "  --links              the window classes linked to profiles\n"
        "  --version            the program's name and version\n"
        "  --help, -h           this text\n"
        "\n"
        "Set-up (never handed to a running program):\n"
        "  --check              which supported mice are attached and whether this user may open them;\n"
        "                       exit 0 usable, 1 none attached, 2 attached but not accessible\n"
        "  --udev-rule          print the udev rule that gives the logged-in user the mice\n"
        "  --autostart on|off   start (hidden in the tray) with the desktop session, or no longer;\n"
        "                       writes or removes $XDG_CONFIG_HOME/autostart/orvane-g7.desktop\n"
        "\n"
        "Options:\n"
        "  --simulate[=N]       a simulated mouse of model N (0-3, default 1) instead of a real one\n"
        "  --trace FILE         append every report to and from the mouse to FILE\n"
        "  --hidden             start in the tray without showing the window (where there is a tray)\n"
        "\n"
        "Exit code 0 on success; on failure one line on standard error and a non-zero code.\n"
        "The debug output also goes to $XDG_STATE_HOME/orvane-g7/orvane-g7.log\n"
        "(~/.local/state/orvane-g7/orvane-g7.log; kept under 1 MiB, the older part in orvane-g7.log.1).\n");
}
