// Times the full re-send that follows a profile switch on the real main page
// against the simulated mouse with real pauses, run by hand:
//   build/bin/bench_profile_resend [rounds [trace-file]]
// The profile panel is told to switch (changeProfile) and then to close
// (closeUI), which re-sends every setting of the new profile; the time of that
// close is compared with the sum of the pauses the device layer took meanwhile.
// Works on a copy of the build's data folder, so the build tree is not written.

#include "datacopy.h"

#include <uicontroler.h>
#include <widget.h>

#include <deviceoptions.h>
#include <myqquickview.h>
#include <pauses.h>
#include <reporttrace.h>
#include <simulatedg7.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QQuickItem>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

// Really sleeps and adds up the pauses taken on the GUI thread, where the sends run.
class CountingSleeper : public RealSleeper
{
public:
    void sleep(int ms) override
    {
        if (QThread::currentThread() == qApp->thread())
            total += ms;
        RealSleeper::sleep(ms);
    }
    int total = 0;
};

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 4;

    QTemporaryDir data;
    if (!copyDataFolder(data))
        return 1;
    // The trace's time stamps show where a re-send spends the time between its pauses.
    if (argc > 2)
        ReportTrace::open(QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath());
    QDir::setCurrent(data.path());
    auto sleeper = std::make_shared<CountingSleeper>();
    setSleeper(sleeper);
    DeviceOptions options;
    options.simulate = true;
    const std::shared_ptr<SimulatedG7> mouse = installDeviceBackend(options);

    Widget w;
    w.showNormal();
    w.checkDevice();

    QObject *profile = nullptr;
    int round = 0;
    qint64 bestNs = -1;
    int bestPauses = 0;
    std::printf("%-6s %-8s %12s %12s %12s %8s\n", "round", "switch", "re-read", "re-send", "pauses", "ratio");
    QTimer step;
    step.setInterval(1600); // longer than the 1200 ms lock a switch takes
    QObject::connect(&step, &QTimer::timeout, &w, [&] {
        if (!profile && w.controller->view->rootObject())
            profile = w.controller->view->rootObject()->findChild<QObject *>(QStringLiteral("profileMain"));
        if (!profile) {
            std::fprintf(stderr, "no profileMain on the page\n");
            QCoreApplication::exit(1);
            return;
        }
        if (round == rounds) {
            std::printf("best re-send %.1f ms, its pauses %d ms, ratio %.4f (goal <= 1.02)\n", bestNs / 1e6,
                        bestPauses, bestPauses ? bestNs / 1e6 / bestPauses : 0.0);
            w.hid.stopMonitor();
            QCoreApplication::exit(0);
            return;
        }
        const int to = (round + 1) % 2; // 1, 0, 1, ...
        // The switch itself re-reads every panel without sending: the page's own share of a re-send.
        QElapsedTimer timer;
        timer.start();
        QMetaObject::invokeMethod(profile, "changeProfile", Q_ARG(int, to));
        const qint64 readNs = timer.nsecsElapsed();
        sleeper->total = 0;
        timer.start();
        QMetaObject::invokeMethod(profile, "closeUI");
        const qint64 ns = timer.nsecsElapsed();
        const int paused = sleeper->total;
        std::printf("%-6d %d -> %d   %10.1fms %10.1fms %10dms %8.4f\n", round, 1 - to, to, readNs / 1e6, ns / 1e6,
                    paused, paused ? ns / 1e6 / paused : 0.0);
        if (paused > 0 && (bestNs < 0 || ns < bestNs)) {
            bestNs = ns;
            bestPauses = paused;
        }
        ++round;
    });
    // The page is up once the 1000 ms start-up lock has let go.
    QTimer::singleShot(2500, &w, [&] { step.start(); });
    return app.exec();
}
