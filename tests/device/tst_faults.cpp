#include "myqquickview.h"
#include "pagerig.h"
#include "support_simrig.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

#include <optional>

namespace {

// Collects the commands' failure texts for as long as it lives.
class FailureLog
{
public:
    FailureLog() { forward = qInstallMessageHandler(record); texts.clear(); }
    ~FailureLog() { qInstallMessageHandler(forward); }
    static inline QStringList texts;

private:
    static void record(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (text.startsWith("cmd Failed") || text.startsWith("hid_"))
            texts << text;
        forward(type, context, text);
    }
    static inline QtMessageHandler forward = nullptr;
};

} // namespace

// Each fault at each step of each command: the command returns within the transport's own waits, the channel is
// free, and with the mouse back (replugged and found again) the next command goes through and one monitor runs.
class tst_Faults : public QObject
{
    Q_OBJECT
private slots:
    void init() { QTest::failOnWarning(QRegularExpression(".*")); }
    void faultSweep_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("step");
        // Every command that moves data reports, and every query.
        for (int c = 0; c < commandSlots().size(); ++c) {
            const CommandSlot &cmd = commandSlots().at(c);
            const int code = QByteArray(cmd.wire).mid(3, 2).toInt(nullptr, 16);
            const bool query = code == 0x00 || code >= 0x80;
            if (cmd.dataReports == 0 && !query)
                continue;
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
            if (query)
                row("reply read fails", 1);
            row("event interface flaps", 0);
        }
    }
    void faultSweep()
    {
        QFETCH(int, command);
        QFETCH(QString, fault);
        QFETCH(int, step);
        SimRig rig;
        RecordingHost host;
        Hid_Thread hid(&host);
        connectMouse(hid);
        QTRY_COMPARE(poolLoops(), 1);
        using Call = SimulatedG7::Call;
        SimulatedG7 &sim = *rig.sim;
        const QHash<QString, std::function<void()>> inject = {
            {"unplug after data reports", [&] { sim.unplugAfterDataReports(step); }},
            {"command open fails", [&] { sim.failCall(Call::OpenCommand, step); }},
            {"block refused", [&] { sim.failCall(Call::FeatureOut); }},
            {"silent", [&] { sim.setSilent(true); }},
            {"short reports", [&] { sim.setShortReports(step); }},
            {"second data report refused", [&] { sim.failCall(Call::DataOut, step); }},
            {"reply read fails", [&] { sim.failCall(Call::FeatureIn, step, -1); }},
            {"event interface flaps", [&] { sim.failCall(Call::OpenEvent, 1, 3); }}};
        inject.value(fault)();
        const bool unplugs = fault == "unplug after data reports" || fault == "event interface flaps";
        if (unplugs)
            QTest::ignoreMessage(QtDebugMsg, "Device removed");
        commandSlots().at(command).run(hid);
        // Pauses are recorded, not waited: what time passes is spent in reads, bounded by 500 ms in all.
        QVERIFY2(rig.readWaitMs() <= 500, qPrintable(QString::number(rig.readWaitMs())));
        QVERIFY(hid.hidFree);
        if (unplugs && rig.sim->isPlugged())
            rig.sim->unplug();      // no data report left to unplug after, or the event interface flapped
        if (unplugs)
            QTRY_VERIFY(!hid.monitorRunning && !host.viewEnabled);   // the monitor saw the mouse go and ended
        rig.sim->clearFaults();
        // Still attached and still known: the next command goes through as it is.
        if (rig.sim->isPlugged() && !hid.record(hid.did).path.isEmpty())
            QVERIFY(rig.setsRate(hid, 2));
        // Pulled and put back (a stopped monitor ends at once instead of after its 500 ms read).
        QVERIFY(rig.unplugged(hid));
        rig.sim->plug();
        connectMouse(hid);
        QVERIFY(rig.setsRate(hid, 3));
        QTRY_COMPARE(poolLoops(), 1);
        QVERIFY(hid.monitorRunning);
        QVERIFY(rig.unplugged(hid));
        QCOMPARE(host.offThreadCalls, 0);   // the monitor hands what it notices to the GUI thread
    }

    void discoveryAtEveryPump_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<int>("command");
        QTest::newRow("connect") << "connect" << -1;
        QTest::newRow("reconnect") << "reconnect" << -1;
        for (int c = 0; c < commandSlots().size(); ++c)
            QTest::newRow(commandSlots().at(c).name) << "command" << c;
        QTest::newRow("83H behind a held channel") << "held" << -1;
    }
    // A rescan at the n-th event pump of a connect or a command, for every n: the run ends within its own waits,
    // the rescan follows it once, the next command reaches the firmware and one monitor loop runs.
    void discoveryAtEveryPump()
    {
        QFETCH(QString, scenario);
        QFETCH(int, command);
        const auto run = [&](Hid_Thread &hid) {
            if (scenario == "connect" || scenario == "reconnect")
                discover(hid);
            else if (scenario == "command")
                commandSlots().at(command).run(hid);
            else     // a UI event dispatched by 01H's pump starts a query (83H) that waits for the channel
                QMetaObject::invokeMethod(&hid, [&hid] { commandSlots().at(16).run(hid); }, Qt::QueuedConnection),
                        hid.hid_01H_SetReportRate(2);
        };
        // The held channel is waited for 255 times; a sample of them, the first and the last.
        const QList<int> sample = {1, 2, 3, 128, 256, 257};
        for (int n = 1; scenario != "held" || n <= sample.last(); ++n) {
            if (scenario == "held" && !sample.contains(n))
                continue;
            SimRig rig;
            RecordingHost host;
            Hid_Thread hid(&host);
            host.onConnect = [&hid](int) { hid.hid_02H_SetCurrentProfile(0); };   // the page's first step
            if (scenario != "connect")
                discover(hid);
            const qsizetype connectsBefore = host.calls.count("connected 1");
            PumpProbe probe;
            bool injected = false;
            probe.start([&](int pump) {
                if (pump == n) {
                    injected = true;
                    discover(hid);
                }
            });
            std::optional<FailureLog> failures(std::in_place);
            run(hid);
            probe.stop();
            if (!injected) {     // every pump of the run was tried
                QVERIFY(rig.unplugged(hid));
                return;
            }
            const QByteArray at = scenario.toLatin1() + " pump " + QByteArray::number(n);
            QVERIFY2(rig.readWaitMs() <= 500, at + ": reads waited " + QByteArray::number(rig.readWaitMs()) + " ms");
            // The rescan ran after the run, once, and connected again.
            QTRY_VERIFY2(host.calls.count("connected 1") == connectsBefore + (scenario == "connect" ? 2 : 1), at);
            // Nothing of the run went out cut into: the firmware refused no block and no data report.
            QVERIFY2(rig.sim->ignoredBlocks().isEmpty() && rig.sim->strayDataReports() == 0, at);
            failures.reset();
            // No command lost the channel; behind a held channel only the waiting query gives up.
            QCOMPARE(FailureLog::texts, scenario == "held" ? QStringList{"cmd Failed"} : QStringList());
            QVERIFY2(hid.hidFree && deviceReady, at);
            QVERIFY2(rig.setsRate(hid, 3), at);
            QTRY_COMPARE(poolLoops(), 1);
            QVERIFY2(hid.monitorRunning && rig.sim->openHandles() <= 1, at);
            QVERIFY(rig.unplugged(hid));
        }
        QFAIL("the held channel was polled more than 255 times");
    }

    // Socket activity during commands is handled after them: a client killed while its record's commands run
    // (a socket deleted from its own readyRead crashes).
    void socketsWaitForCommands()
    {
        SimRig rig;
        RecordingHost host;
        Hid_Thread hid(&host);
        discover(hid);
        QStringList seen;
        const auto note = [&](const QString &what) { seen << what + (hid.channelInUse() ? " inside a command" : ""); };
        QLocalSocket client;
        QTemporaryDir dir;
        QLocalServer server;    // after what its sockets' handlers use, which it outlives
        QVERIFY(server.listen(dir.filePath("socket")));
        connect(&server, &QLocalServer::newConnection, [&] {
            note("new client");
            QLocalSocket *peer = server.nextPendingConnection();
            connect(peer, &QLocalSocket::readyRead, peer, [&, peer] {
                note("record");
                const QPointer<QLocalSocket> alive(peer);
                client.abort();
                // Two commands: the first pump notices the closed connection, the next runs a deferred delete.
                hid.hid_01H_SetReportRate(2);
                hid.hid_01H_SetReportRate(3);
                seen << (alive ? "record's socket alive" : "record's socket deleted");
            });
            connect(peer, &QLocalSocket::disconnected, peer, [&] { note("gone"); });
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        });
        client.connectToServer(server.fullServerName());
        QTRY_COMPARE(seen, QStringList{"new client"});
        QVERIFY(client.write("record") > 0 && client.flush());
        QTRY_COMPARE(seen, (QStringList{"new client", "record", "record's socket alive", "gone"}));
        QCOMPARE(rig.sim->state().reportRate, quint8(3));
        QVERIFY(rig.unplugged(hid));
    }

    // Device-change messages in a burst while the page re-sends a profile: the re-send is not cut into, the
    // burst ends in one reconnect, the profile keeps its values, one monitor loop runs, no handle stays open.
    void burstDuringResend()
    {
        RecordingHost host;
        PageRig page;
        SimulatedG7 &sim = *page.sim;
        QVERIFY(page.data.writeFile("modules/setting/p1.bin", "[sensor]\nreportRate_J2=4\n"));
        QVERIFY(page.start());
        Hid_Thread &hid = *page.hid;
        myQQuickView &view = *page.view;
        hid.owner = &host;
        host.onConnect = [&view](int curDevice) { view.initUI(curDevice); };
        host.onClearBusy = [&view] { view.clearHidBusy(); };
        discover(hid);
        // The page has loaded again once its start-up ran, after the connect step.
        QTRY_VERIFY_WITH_TIMEOUT(host.viewEnabled && deviceReady && view.rootObject()->property("isPowerOn").toBool(), 5000);
        const auto resend = [&] {
            QMetaObject::invokeMethod(view.rootObject(), "reloadPanels", Q_ARG(QVariant, true));
        };
        PumpProbe probe;
        qsizetype from = sim.acceptedBlocks().size();
        probe.start([](int) {});
        resend();
        probe.stop();
        const int pumps = probe.pumps;
        const QList<QByteArray> reference = sim.acceptedBlocks().mid(from);
        QVERIFY2(reference.size() >= 8 && pumps >= reference.size() - 4, qPrintable(QString::number(pumps)));
        const QByteArray file = page.data.readFile("modules/setting/p1.bin");
        // Two bursts: a rescan at every pump; then also the mouse gone from the second pump to the last.
        for (const bool unplugs : {false, true}) {
            from = sim.acceptedBlocks().size();
            probe.start([&](int pump) {
                if (unplugs && pump == 2)
                    sim.unplug();
                if (unplugs && pump == pumps)
                    sim.plug();
                discover(hid);
            });
            resend();
            probe.stop();
            QCOMPARE(probe.pumps, pumps);   // the burst adds no wait to the re-send
            if (!unplugs)
                QCOMPARE(sim.acceptedBlocks().mid(from), reference);   // nothing lost, nothing cut in
            QTRY_COMPARE(host.calls.count("connected 1"), unplugs ? 3 : 2);   // the burst: one reconnect after it
            QTRY_VERIFY(host.viewEnabled && hid.hidFree && hid.monitorRunning);
            QTRY_COMPARE(poolLoops(), 1);
            QVERIFY(sim.openHandles() <= 1);
            StoreFile::sync(*view.store.currentSettings());
            QCOMPARE(page.data.readFile("modules/setting/p1.bin"), file);
            // The next re-send puts the whole profile on the mouse again.
            from = sim.acceptedBlocks().size();
            resend();
            QCOMPARE(sim.acceptedBlocks().mid(from), reference);
        }
    }
};

QTEST_MAIN(tst_Faults)
#include "tst_faults.moc"
