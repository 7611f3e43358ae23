#include "devicehost.h"
#include "discovery.h"
#include "support_simrig.h"
#include "tempdatafolder.h"

#include <QElapsedTimer>
#include <QTest>
#include <QThreadPool>

#include <functional>

namespace {

class QuietHost : public DeviceHost
{
public:
    void deviceConnected(int) override {}
    void showNotice(const QString &, const QString &) override {}
    void setViewEnabled(bool enabled) override { viewEnabled = enabled; }
    void hideWindow() override {}
    void clearHidBusy() override {}
    QVariant language() const override { return QStringLiteral("English"); }
    bool viewEnabled = false;
};

using Command = std::function<void(Hid_Thread &)>;

struct Named
{
    const char *name;
    int dataReports;   // data reports the command moves with a 64-byte report length
    Command run;
};

// Every command that moves data reports, and every query.
const QList<Named> &commands()
{
    static uchar keys[64] = {1, 0, 0xF0, 0};
    static uchar macro[192] = {1, 0, 4, 1, 0, 4, 2};
    static uchar colours[24] = {0x10, 0x20, 0x30};
    static const QList<Named> list = {
        {"key matrix", 1, [](Hid_Thread &h) { h.hidARM_03H_SetKeyMatrix(keys); }},
        {"macro", 3, [](Hid_Thread &h) { h.hid_05H_SetMacroKey(2, macro); }},
        {"stage colours", 1, [](Hid_Thread &h) { h.hid_10H_SetLED8StageColor(1, colours); }},
        {"read stage colours", 1, [](Hid_Thread &h) { uchar c[24] = {}; h.hid_90H_GetLED8StageColor(1, c); }},
        {"83H", 0, [](Hid_Thread &h) { uchar a = 0, b = 0, c = 0, d = 0; h.hid_83H_GetKeyboardoption(a, b, c, d); }},
        {"87H", 0, [](Hid_Thread &h) { h.hid_87H_GetCurrentDPI(); }},
        {"8BH", 0, [](Hid_Thread &h) { uchar s = 0; h.hid_8BH_GetCurrentDPIStage(s); }},
        {"8DH", 0, [](Hid_Thread &h) { uchar e = 0, o = 0, p = 0; h.hid_8DH_GetRGBLedEffect(e, o, p); }},
        {"00H", 0, [](Hid_Thread &h) { uchar a = 0, b = 0, c = 0, d = 0; h.hid_00H_GetSecrecyCode(a, b, c, d); }},
    };
    return list;
}

int poolLoops()
{
    return QThreadPool::globalInstance()->activeThreadCount();
}

} // namespace

// Each fault at each step of each command: the command returns within the
// transport's own waits, the channel is free afterwards, and after the mouse
// is back (replugged and rediscovered where it went away) the next command
// reaches the firmware and exactly one monitor loop runs.
class tst_Faults : public QObject
{
    Q_OBJECT
private slots:
    void init() { QTest::failOnWarning(QRegularExpression(".*")); }
    void faultSweep_data();
    void faultSweep();
};

void tst_Faults::faultSweep_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("step");
    for (int c = 0; c < commands().size(); ++c) {
        const Named &cmd = commands().at(c);
        const auto row = [&](const QString &fault, int step) {
            QTest::addRow("%s: %s %d", cmd.name, qPrintable(fault), step) << c << fault << step;
        };
        for (int step = 0; step <= cmd.dataReports; ++step)
            row("unplug after data reports", step);
        row("command open fails", 1);
        row("command open fails", 2);
        row("block refused", 1);
        row("silent", 0);
        for (int bytes = 1; bytes <= 8; ++bytes)
            row("short reports", bytes);
        if (cmd.dataReports > 1)
            row("second data report refused", 2);
        if (cmd.dataReports == 0 || QByteArray(cmd.name).startsWith("read"))
            row("reply read fails", 1);
        row("event interface flaps", 0);
    }
}

void tst_Faults::faultSweep()
{
    QFETCH(int, command);
    QFETCH(QString, fault);
    QFETCH(int, step);
    TempDataFolder data;
    SimRig rig;
    rig.sim->setReadCap(300);
    QuietHost host;
    Hid_Thread hid(&host);
    QTest::ignoreMessage(QtDebugMsg, "Device Connect");
    runDiscovery(hid);
    QVERIFY(deviceReady);
    QTRY_COMPARE(poolLoops(), 1);

    if (fault == "unplug after data reports")
        rig.sim->unplugAfterDataReports(step);
    else if (fault == "command open fails")
        rig.sim->failCall(SimulatedG7::Call::OpenCommand, step);
    else if (fault == "block refused")
        rig.sim->failCall(SimulatedG7::Call::FeatureOut);
    else if (fault == "silent")
        rig.sim->setSilent(true);
    else if (fault == "short reports")
        rig.sim->setShortReports(step);
    else if (fault == "second data report refused")
        rig.sim->failCall(SimulatedG7::Call::DataOut, step);
    else if (fault == "reply read fails")
        rig.sim->failCall(SimulatedG7::Call::FeatureIn, step, -1);
    else if (fault == "event interface flaps")
        rig.sim->failCall(SimulatedG7::Call::OpenEvent, 1, 3);

    const bool unplugs = fault == "unplug after data reports" || fault == "event interface flaps";
    if (unplugs)
        QTest::ignoreMessage(QtDebugMsg, "Device removed");
    QElapsedTimer clock;
    clock.start();
    commands().at(command).run(hid);
    // Pauses are recorded, not waited: what time passes is spent in reads, each bounded by 500 ms.
    QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(hid.hidFree);
    if (unplugs && rig.sim->isPlugged())
        rig.sim->unplug();      // no data report left to unplug after, or the event interface flapped
    if (unplugs)
        QTRY_VERIFY(!hid.monitorRunning);   // the monitor saw the mouse go and ended

    rig.sim->clearFaults();
    if (rig.sim->isPlugged() && !hid.record(hid.did).path.isEmpty()) {
        // Still attached and still known: the next command goes through as it is.
        const qsizetype accepted = rig.sim->acceptedBlocks().size();
        hid.hid_01H_SetReportRate(2);
        QCOMPARE(rig.sim->acceptedBlocks().size(), accepted + 1);
        QCOMPARE(rig.sim->state().reportRate, quint8(2));
    }

    // Pulled and put back (a stopped monitor ends at once instead of after its 500 ms read).
    hid.stopMonitor();
    rig.sim->unplug();
    QTRY_COMPARE(poolLoops(), 0);
    QCOMPARE(rig.sim->openHandles(), 0);
    rig.sim->plug();
    QTest::ignoreMessage(QtDebugMsg, "Device Connect");
    runDiscovery(hid);
    const qsizetype accepted = rig.sim->acceptedBlocks().size();
    hid.hid_01H_SetReportRate(3);
    QCOMPARE(rig.sim->acceptedBlocks().size(), accepted + 1);
    QCOMPARE(rig.sim->state().reportRate, quint8(3));
    QTRY_COMPARE(poolLoops(), 1);
    QVERIFY(hid.monitorRunning);
    hid.stopMonitor();
    rig.sim->unplug();
    QTRY_COMPARE(poolLoops(), 0);
}

QTEST_GUILESS_MAIN(tst_Faults)
#include "tst_faults.moc"
