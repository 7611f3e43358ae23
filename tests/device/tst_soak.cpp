#include "discovery.h"
#include "myqquickview.h"
#include "profilestore.h"
#include "storefile.h"
#include "support_simrig.h"
#include "tempdatafolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QThreadPool>

namespace {

// Resident set size in kB, from /proc.
long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool addressSanitizer = true;   // its quarantine holds freed memory back
#else
constexpr bool addressSanitizer = false;
#endif

} // namespace

// 100 unplug/replug cycles, each followed by setting changes through the
// slots the pages call (the value stored in the profile, the command sent): nothing stored or sent
// is lost, no handle stays open, one monitor loop runs, memory stays flat.
class tst_Soak : public QObject
{
    Q_OBJECT
private slots:
    void unplugReplugCycles();
};

void tst_Soak::unplugReplugCycles()
{
    constexpr int cycles = 100;
    TempDataFolder data;
    QVERIFY(data.copyFromSource("modules/setting/apConfig.bin"));
    SimRig rig;
    QuietHost host;
    Hid_Thread hid(&host);
    myQQuickView view;      // the bridge the pages call; no page loaded
    view.hid = &hid;
    ProfileStore &profiles = view.store;
    QTest::ignoreMessage(QtDebugMsg, "Device Connect");
    runDiscovery(hid);
    QVERIFY(host.viewEnabled);

    const long atStart = residentKb();
    long before = 0;
    QElapsedTimer clock;
    clock.start();
    for (int cycle = 0; cycle < cycles; ++cycle) {
        QTest::ignoreMessage(QtDebugMsg, "Device removed");
        rig.sim->unplug();
        QTRY_VERIFY(!host.viewEnabled);
        QTRY_COMPARE(rig.sim->openHandles(), 0);
        rig.sim->plug();
        QTest::ignoreMessage(QtDebugMsg, "Device Connect");
        runDiscovery(hid);
        QVERIFY(host.viewEnabled);

        // What the sensor and DPI pages do for one change.
        const uchar rate = uchar(1 + cycle % 4);
        const uchar stage = uchar(cycle % 8);
        const uchar lift = uchar(1 + cycle % 3);
        view.ui_01H_SetReportRate(rate);
        view.mouseSetJMGD(lift);
        profiles.setValue(QStringLiteral("sensor/dpiStage_J2"), stage);
        hid.hid_07H_SetDPISet(stage, 0xFF, 8, 16, 32, 48);
        QCOMPARE(rig.sim->state().reportRate, rate);
        QCOMPARE(rig.sim->state().liftOff, lift);
        QCOMPARE(rig.sim->state().dpiStage, stage);
        QTRY_COMPARE(QThreadPool::globalInstance()->activeThreadCount(), 1);
        QVERIFY(rig.sim->openHandles() <= 1);   // at most the monitor's event handle
        if (cycle == 9)
            before = residentKb();   // after the first cycles have built their caches
    }
    const long after = residentKb();
    qInfo("soak: %d cycles in %lld ms, RSS %ld kB at start, %ld kB after 10 cycles, %ld kB after %d", cycles,
          clock.elapsed(), atStart, before, after, cycles);
    QVERIFY(clock.elapsed() < 120000);
    if (!addressSanitizer)
        QVERIFY2(after - before < 4096, "RSS grew by 4 MB or more");

    // A fresh reader of the file sees the last values.
    profiles.currentSettings()->sync();
    const auto file = StoreFile::open(ProfileStore::profileFile(profiles.curProfile));
    QCOMPARE(file->value("sensor/reportRate_J2").toInt(), 1 + (cycles - 1) % 4);
    QCOMPARE(file->value("sensor/dpiStage_J2").toInt(), (cycles - 1) % 8);
    QCOMPARE(file->value("sensor/jmgd").toInt(), 1 + (cycles - 1) % 3);

    hid.stopMonitor();
}

QTEST_MAIN(tst_Soak)
#include "tst_soak.moc"
