#include "appicon.h"
#include "commandline.h"
#include "deviceaccess.h"
#include "devicelock.h"
#include "devicewatch.h"
#include "hookcallbacks.h"
#include "inputhook.h"
#include "logfile.h"
#include "qtsinglecoreapplication.h"
#include "renderer.h"
#include "startup.h"
#include "widget.h"

#include <catalogue.h>
#include <profilekeys.h>
#include <simulatedg7.h>
#include <storefile.h>

#include <QCoreApplication>
#include <QDebug>
#include <QTextStream>

namespace {

constexpr int deviceWaitMs = 60000;

const QString simulatedSuffix = QStringLiteral(" (simulated)");

bool mouseFound(const Hid_Thread &hid)
{
    if (deviceReady)
        return true;
    for (const DeviceRecord &record : hid.devList) {
        if (!record.path.isEmpty() || !record.path2.isEmpty())
            return true;
    }
    return false;
}

bool hasOption(int argc, char **argv, const char *option)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], option) == 0)
            return true;
    }
    return false;
}

// Command-line modes without a window: they run beside a running copy and need no display.
int runWithoutWindow(int argc, char **argv, bool rule)
{
    QCoreApplication app(argc, argv);
    if (!rule)
        return runAccessCheck();
    bool encode = false;
    QTextStream(stdout) << udevRuleText(readCatalogue(QStringLiteral(":/DevInfo.ini"), StoreFile::format(), {}, &encode));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    LogFile log(LogFile::defaultPath());
    LogFile::install(&log);
    if (hasOption(argc, argv, "--check") || hasOption(argc, argv, "--udev-rule"))
        return runWithoutWindow(argc, argv, hasOption(argc, argv, "--udev-rule"));
    if (CommandLine::wanted(argc, argv))
        return CommandLine::run(argc, argv);

    chooseQuickRenderer();

    QtSingleCoreApplication app(argc, argv);
    if (app.isRunning()) {
        const bool answered = app.sendMessage(QString(), 5000);
        qInfo().noquote() << (answered ? "Already running: its window was brought up."
                                       : "Already running, but it did not answer.");
        return 1;
    }
    setDesktopIdentity();
    // A command-line call working alone has the mouse for a few seconds at most; this copy
    // waits for it rather than talking to the mouse at the same time.
    DeviceLock device;
    if (!device.acquire(deviceWaitMs))
        qDebug() << "a command-line call still holds the mouse; starting beside it";

    const std::shared_ptr<SimulatedG7> simulated = Startup::prepare(app.arguments());

    Widget w;
    QObject::connect(&app, &QtSingleCoreApplication::messageReceived, &w, &Widget::receiveMessage);
    app.setCommandHandler([&w](const QStringList &args) { return w.runCommand(args); },
                          [&w] { return !w.hid.channelInUse(); });

    DeviceWatch *watch = DeviceWatch::createSystemWatch(&w);
    w.watchDevices(watch);
    if (simulated) {
        QObject::connect(simulated.get(), &SimulatedG7::devicesChanged, watch, &DeviceWatch::deviceChanged);
        w.setWindowTitle(w.windowTitle() + simulatedSuffix);
        w.trayIcon->setToolTip(w.trayIcon->toolTip() + simulatedSuffix);
    }

    InputHook hook(false);
    HookCallbacks::registerWith(hook, &w);

    // An autostarted copy stays in the tray, unless there is none to bring it back from.
    if (!hasOption(argc, argv, "--hidden") || !QSystemTrayIcon::isSystemTrayAvailable())
        w.showNormal();

    w.checkDevice();
    if (!simulated && !deviceReady && attachedWithoutPermission()) {
        const QString notice = noPermissionText(
            w.language().toString() == QLatin1String(ProfileKey::chineseLanguage));
        qInfo().noquote() << noPermissionText(false);
        w.showNotice(QStringLiteral("Info"), notice);
        w.startWithoutMouse(Widget::MouseState::NoPermission);
    } else if (!simulated && !mouseFound(w.hid)) {
        qInfo().noquote() << "No supported mouse found; waiting for one to be plugged in"
                             " (start with --simulate to see the program without a mouse).";
        w.startWithoutMouse(Widget::MouseState::NoMouse);
    } else if (!deviceReady) {
        w.startWithoutMouse(Widget::MouseState::NoMouse);
    }

    // A Quit chosen while the device check above pumped events came before the loop.
    const int result = w.quitRequested() ? 0 : app.exec();

    hook.uninstall();

    return result;
}
