#include "deviceoptions.h"
#include "reporttrace.h"
#include "support_simrig.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Report ID 00, the block and its check byte (the complement of the sum).
QByteArray request(const QByteArray &sevenHex)
{
    const QByteArray block = QByteArray::fromHex(sevenHex);
    const int sum = std::accumulate(block.begin(), block.end(), 0, [](int s, char b) { return s + quint8(b); });
    return '\0' + block + char(~sum);
}

int send(HidHandle *dev, const QByteArray &report, bool data = false)
{
    const auto *bytes = reinterpret_cast<const uchar *>(report.constData());
    return data ? hidBackend().write(dev, bytes, size_t(report.size()))
                : hidBackend().sendFeatureReport(dev, bytes, size_t(report.size()));
}

} // namespace

class tst_Wire : public QObject
{
    Q_OBJECT
private slots:
    void traceOfAnExchange();
    void badBlocksAreIgnored_data();
    void badBlocksAreIgnored();
    void replugKeepsSettingsNotPayloads();
};

// Every call on the seam leaves its line; TraceReader checks the format.
void tst_Wire::traceOfAnExchange()
{
    SimRig rig;
    HidBackend &hid = hidBackend();
    uchar in[65];
    HidHandle *cmd = hid.openPath(rig.sim->commandPath());
    send(cmd, request("90010000000000"));
    QCOMPARE(hid.getFeatureReport(cmd, in, 9), 9);
    QCOMPARE(hid.read(cmd, in, 65), 64);
    hid.close(cmd);
    HidHandle *evt = hid.openPath(rig.sim->eventPath());
    QCOMPARE(hid.readTimeout(evt, in, 4, 30), 0);
    rig.sim->emitDpiEvent(5);
    QCOMPARE(hid.readTimeout(evt, in, 4, 500), 4);
    hid.close(evt);
    rig.sim->failCall(SimulatedG7::Call::OpenCommand);
    QVERIFY(!hid.openPath(rig.sim->commandPath()));
    cmd = hid.openPath(rig.sim->commandPath());
    for (auto call : {SimulatedG7::Call::FeatureOut, SimulatedG7::Call::FeatureIn, SimulatedG7::Call::DataOut})
        rig.sim->failCall(call);
    QCOMPARE(send(cmd, request("87000000000000")) + hid.getFeatureReport(cmd, in, 9)
                     + send(cmd, QByteArray(65, 0), true), -3);
    hid.close(cmd);
    const TraceReader trace = rig.trace();
    QVERIFY2(trace.isValid(), qPrintable(trace.error()));
    QCOMPARE(trace.texts(), QStringList({"cmd open", "cmd feature-out 00 90 01 00 00 00 00 00 6E",
                                         "cmd feature-in 00 90 01 00 00 00 00 00 6E",
                                         "cmd data-in" + QString(" 00").repeated(64), "cmd close", "evt open",
                                         "evt read-timeout 30", "evt data-in 06 07 00 05", "evt close",
                                         "cmd open-failed", "cmd open", "cmd error feature-out",
                                         "cmd error feature-in", "cmd error data-out", "cmd close"}));

    // An unwritable trace file costs one console line and no trace.
    DeviceOptions options{true, 1, "/nonexistent/dir/t.txt"};
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Cannot write the report trace /nonexistent/dir/t.txt"));
    const std::shared_ptr<SimulatedG7> sim = installDeviceBackend(options);
    QVERIFY(sim && !ReportTrace::isOpen() && dynamic_cast<SimulatedG7 *>(&hidBackend()) == sim.get());
}

void tst_Wire::badBlocksAreIgnored_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::newRow("01H with a wrong check byte") << QByteArray::fromHex("00010203030F0000E6");
    QTest::newRow("07H with a check byte instead of 00") << request("07027F01020304");
    QTest::newRow("unknown code") << request("55010203040506");
    QTest::newRow("macro slot 12") << request("05000C03000000");
    QTest::newRow("3-byte report") << QByteArray::fromHex("000102");
    QTest::newRow("report ID 1") << QByteArray::fromHex("01010203030F0000E7");
}

// The firmware ignores a bad block and the payload it announced.
void tst_Wire::badBlocksAreIgnored()
{
    QFETCH(QByteArray, report);
    SimRig rig;
    HidHandle *cmd = hidBackend().openPath(rig.sim->commandPath());
    QCOMPARE(send(cmd, report), int(report.size()));
    QCOMPARE(send(cmd, QByteArray(65, '\x01'), true), 65);
    hidBackend().close(cmd);
    QVERIFY(rig.sim->ignoredBlocks().size() == 1 && rig.sim->acceptedBlocks().isEmpty());
    QCOMPARE(rig.sim->strayDataReports(), 1);
    QCOMPARE(rig.sim->state().reportRate, quint8(1));
}

// After a replug the mouse keeps its settings but not a half-received payload.
void tst_Wire::replugKeepsSettingsNotPayloads()
{
    SimRig rig;
    QSignalSpy changed(rig.sim.get(), &SimulatedG7::devicesChanged);
    HidHandle *old = hidBackend().openPath(rig.sim->commandPath());
    send(old, request("02020000000000"));
    send(old, request("05000203000000"));
    rig.sim->unplug();
    QVERIFY(!hidBackend().openPath(rig.sim->commandPath()));
    rig.sim->plug();
    QCOMPARE(send(old, request("02030000000000")), -1);
    hidBackend().close(old);
    HidHandle *cmd = hidBackend().openPath(rig.sim->commandPath());
    for (int i = 0; i < 3; ++i)
        QCOMPARE(send(cmd, QByteArray(65, '\x01'), true), 65);
    hidBackend().close(cmd);
    QCOMPARE(changed.size(), 2);
    QCOMPARE(rig.sim->strayDataReports(), 3);
    QCOMPARE(rig.sim->state().profile, quint8(2));
    QCOMPARE(rig.sim->state().macros.at(2), QByteArray(192, '\0'));
}

QTEST_GUILESS_MAIN(tst_Wire)
#include "tst_wire.moc"
