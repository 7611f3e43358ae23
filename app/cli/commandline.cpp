#include "commandline.h"

#include "autostart.h"
#include "clicommands.h"
#include "clirequest.h"
#include "devicelock.h"
#include "singleinstancepeer.h"
#include "startup.h"

#include <hid_thread.h>
#include <hidbackend.h>
#include <profileexchange.h>
#include <profilesender.h>
#include <profilestore.h>
#include <simulatedg7.h>

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>

namespace {

// A profile with macros takes a few seconds on the mouse; this is far beyond it.
constexpr int answerTimeoutMs = 30000;
constexpr int usageError = 2;
// A call that waits longer than this for another one says so instead.
constexpr int busyWaitMs = 1000;
constexpr int simulatedModels = int(SimulatedG7::productIds.size());

QStringList arguments(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    return args;
}

int print(const PeerAnswer &answer)
{
    QTextStream(stdout) << answer.out;
    QTextStream(stderr) << answer.err;
    return answer.code;
}

QString accessOf(const DeviceRecord &record)
{
    QStringList refused;
    for (const QString &path : {record.path, record.path2}) {
        if (path.isEmpty())
            continue;
        HidHandle *handle = hidBackend().openPath(path.toLocal8Bit().constData());
        if (handle)
            hidBackend().close(handle);
        else
            refused.append(path);
    }
    if (refused.isEmpty())
        return QStringLiteral("access granted");
    return QStringLiteral("no access to %1 (check the device permissions)").arg(refused.join(QStringLiteral(", ")));
}

// Works on the mouse and the data files itself: nobody else holds them.
int runAlone(const CliRequest &request, const QStringList &args)
{
    [[maybe_unused]] const auto simulated = Startup::prepare(args);   // the tray program's data files and mouse

    ProfileStore store;
    store.setCurrentProfile(store.savedProfile());
    Hid_Thread hid;
    Startup::findMice(hid, store);
    bool opened = false;
    const auto mouseReady = [&] {
        if (!opened && !hid.record(hid.did).path.isEmpty()) {
            Startup::loadSecrecyCode(store, hid.did);
            opened = hid.openHid(hid.did) != nullptr;
            hid.hidFree = true;
        }
        return opened;
    };

    CliTarget target{store, hid, mouseReady, accessOf,
                     [&](int profile) {
                         store.setCurrentProfile(profile);
                         ProfileSender::send(ProfileSendPlan::Switch, store, hid);
                     },
                     [&](const QString &) { ProfileSender::send(ProfileSendPlan::Load, store, hid); },
                     [&] { return createProfile(store); }};
    const int code = print(runCliRequest(request, target));
    // Settings objects replaced during an import go now, not with a later event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return code;
}

} // namespace

namespace CommandLine {

bool wanted(int argc, char **argv)
{
    return CliRequest::wanted(arguments(argc, argv), simulatedModels);
}

int run(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The answer is the command's own lines: the device layer's texts and the import's details
    // are left out (QT_LOGGING_RULES brings them back), whatever else is said stays.
    QLoggingCategory::setFilterRules(QStringLiteral("g7.device.debug=false\ng7.exchange.debug=false"));
    const QStringList args = arguments(argc, argv);
    const CliRequest request = CliRequest::parse(args, simulatedModels);
    if (!request.error.isEmpty())
        return print(PeerAnswer{usageError, QString(), request.error + QLatin1Char('\n')});
    if (request.command == CliRequest::Help)
        return print(PeerAnswer{0, CliRequest::helpText(), QString()});
    if (request.command == CliRequest::Autostart) {
        QString error;
        if (!Autostart::setEnabled(request.on, QCoreApplication::applicationFilePath(), &error))
            return print(PeerAnswer{1, QString(), error + QLatin1Char('\n')});
        return print(PeerAnswer{0, QStringLiteral("autostart %1: %2\n").arg(request.on ? "on" : "off", Autostart::filePath()), QString()});
    }

    // Handed to the tray program when it runs; otherwise worked here, alone, holding the mouse.
    const auto handOver = [&request](SingleInstancePeer &peer) {
        PeerAnswer answer;
        if (!peer.sendCommand(request.toArgs(), answerTimeoutMs, &answer))
            return print(PeerAnswer{1, QString(),
                                    QStringLiteral("the running program did not answer within %1 s\n")
                                        .arg(answerTimeoutMs / 1000)});
        return print(answer);
    };
    {
        SingleInstancePeer running(nullptr, false);
        if (running.isRunning())
            return handOver(running);
    }
    DeviceLock device;
    if (!device.acquire(busyWaitMs)) {
        // Held by a tray program that started meanwhile, or by another call.
        SingleInstancePeer running(nullptr, false);
        if (running.isRunning())
            return handOver(running);
        return print(PeerAnswer{1, QString(), QStringLiteral("busy: another command-line call is using the mouse; try again\n")});
    }
    return runAlone(request, args);
}

} // namespace CommandLine
