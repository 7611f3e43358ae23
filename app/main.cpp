#include "commandline.h"
#include "devicewatch.h"
#include "hookcallbacks.h"
#include "inputhook.h"
#include "qtsinglecoreapplication.h"
#include "renderer.h"
#include "widget.h"

#include <deviceoptions.h>
#include <simulatedg7.h>

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace {

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

} // namespace

int main(int argc, char **argv)
{
    if (CommandLine::wanted(argc, argv))
        return CommandLine::run(argc, argv);

    chooseQuickRenderer();

    QtSingleCoreApplication app(argc, argv);
    if (app.isRunning()) {
        app.sendMessage(QString(), 5000);
        return 1;
    }

    DeviceOptions options = parseDeviceOptions(app.arguments());
    // A trace file named on the command line is relative to where we were started.
    if (!options.traceFile.isEmpty())
        options.traceFile = QFileInfo(options.traceFile).absoluteFilePath();

    QString workingDir = QCoreApplication::applicationFilePath();
    workingDir.truncate(workingDir.lastIndexOf(QLatin1Char('/')));
    QDir::setCurrent(workingDir);

    const std::shared_ptr<SimulatedG7> simulated = installDeviceBackend(options);

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

    w.showNormal();

    w.checkDevice();
    if (!simulated && !mouseFound(w.hid))
        qInfo().noquote() << "No supported mouse found; waiting for one to be plugged in"
                             " (start with --simulate to see the program without a mouse).";

    const int result = app.exec();

    hook.uninstall();

    return result;
}
