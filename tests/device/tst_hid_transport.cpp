#include "hid_thread.h"
#include "support_attach.h"
#include "support_simrig.h"

#include <QElapsedTimer>
#include <QTest>

#include <functional>

namespace {

struct Payload {
    uchar bytes[192];
    Payload()
    {
        for (int i = 0; i < 192; ++i)
            bytes[i] = uchar(i + 1);
    }
};

QList<QByteArray> dataReportsSent(const SimRig &rig)
{
    QList<QByteArray> reports;
    for (const TraceLine &line : rig.trace().withOp("data-out"))
        reports.append(line.bytes());
    return reports;
}

QStringList opsOf(const SimRig &rig, const QString &iface = QStringLiteral("cmd"))
{
    QStringList ops;
    const TraceReader trace = rig.trace();
    for (const TraceLine &line : trace.lines()) {
        if (line.iface == iface)
            ops.append(line.fields.size() == 1 && line.op == "error" ? "error " + line.fields.first() : line.op);
    }
    return ops;
}

using Call = std::function<void(Hid_Thread &, Payload &)>;

} // namespace

Q_DECLARE_METATYPE(Call)

class tst_HidTransport : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void dataReports_data();
    void dataReports();
    void transferFaults_data();
    void transferFaults();
    void shortReplies();
    void unpluggedBetweenDiscoveryAndCommand();
    void nestedCommandWaitsItsTurn();
    void silentDeviceIsBounded();
    void settleTakes128ms();
};

void tst_HidTransport::init()
{
    isEncode = false;
}

void tst_HidTransport::dataReports_data()
{
    QTest::addColumn<quint32>("reportLength");
    QTest::addColumn<Call>("call");
    QTest::addColumn<int>("payloadLength");
    QTest::addColumn<int>("reports");

    const Call oneColour = [](Hid_Thread &h, Payload &p) { h.hid_10H_SetLED8StageColor(2, p.bytes); };
    const Call colours = [](Hid_Thread &h, Payload &p) { h.hid_LEDColor(p.bytes); };
    const Call macro = [](Hid_Thread &h, Payload &p) { h.hid_05H_SetMacroKey(0, p.bytes); };

    QTest::newRow("4 bytes in one report") << 64u << oneColour << 4 << 1;
    QTest::newRow("24 bytes in one report") << 64u << colours << 24 << 1;
    QTest::newRow("192 bytes in three reports") << 64u << macro << 192 << 3;
    QTest::newRow("192 bytes, 16-byte reports") << 16u << macro << 192 << 12;
    QTest::newRow("192 bytes, 100-byte reports") << 100u << macro << 192 << 2;
    QTest::newRow("report length 0") << 0u << macro << 192 << 0;
    QTest::newRow("report length beyond any HID report") << 100000u << colours << 24 << 0;
}

// The payload goes out in reports of reportLength + 1 bytes, report ID 0 first,
// the last one zero-padded; a report length no report can have sends nothing
// and still ends the command.
void tst_HidTransport::dataReports()
{
    QFETCH(quint32, reportLength);
    QFETCH(Call, call);
    QFETCH(int, payloadLength);
    QFETCH(int, reports);

    SimRig rig;
    Hid_Thread hid;
    attachShippedCatalogue(hid);
    hid.devList[int(hid.did)].reportLength = reportLength;
    Payload payload;
    call(hid, payload);

    const QList<QByteArray> sent = dataReportsSent(rig);
    QCOMPARE(sent.size(), reports);
    QByteArray joined;
    for (const QByteArray &report : sent) {
        QCOMPARE(report.size(), int(reportLength) + 1);
        QCOMPARE(report.at(0), '\0');
        joined += report.mid(1);
    }
    if (reports > 0) {
        const QByteArray expected = QByteArray(reinterpret_cast<char *>(payload.bytes), payloadLength);
        QCOMPARE(joined.left(payloadLength), expected);
        QCOMPARE(joined.mid(payloadLength), QByteArray(joined.size() - payloadLength, '\0'));
    }
    QVERIFY(hid.hidFree);
    QCOMPARE(rig.sim->openHandles(), 0);
}

void tst_HidTransport::transferFaults_data()
{
    QTest::addColumn<std::function<void(SimulatedG7 &)>>("fault");
    QTest::addColumn<Call>("call");
    QTest::addColumn<QStringList>("ops");
    QTest::addColumn<QList<int>>("pauses");
    QTest::addColumn<bool>("pathKept");

    const Call macro = [](Hid_Thread &h, Payload &p) { h.hid_05H_SetMacroKey(1, p.bytes); };
    const Call rate = [](Hid_Thread &h, Payload &) { h.hid_01H_SetReportRate(1); };

    QTest::newRow("feature report refused")
            << std::function<void(SimulatedG7 &)>([](SimulatedG7 &s) { s.failCall(SimulatedG7::Call::FeatureOut); })
            << rate << QStringList{"open", "error feature-out", "close"} << QList<int>{} << true;
    QTest::newRow("second data report refused")
            << std::function<void(SimulatedG7 &)>([](SimulatedG7 &s) { s.failCall(SimulatedG7::Call::DataOut, 2); })
            << macro
            << QStringList{"open", "feature-out", "close", "open", "data-out", "close", "open", "error data-out",
                           "close"}
            << QList<int>{64, 64, 8, 100} << true;
    QTest::newRow("unplugged after the first data report")
            << std::function<void(SimulatedG7 &)>([](SimulatedG7 &s) { s.unplugAfterDataReports(1); })
            << macro
            << QStringList{"open", "feature-out", "close", "open", "data-out", "close", "open-failed"}
            << QList<int>{64, 64, 8, 100} << false;
}

// A failing call ends the transfer at once: the handle is closed, the channel
// freed, the remaining reports skipped; only a failed open forgets the path.
void tst_HidTransport::transferFaults()
{
    QFETCH(std::function<void(SimulatedG7 &)>, fault);
    QFETCH(Call, call);
    QFETCH(QStringList, ops);
    QFETCH(QList<int>, pauses);
    QFETCH(bool, pathKept);

    SimRig rig;
    Hid_Thread hid;
    attachShippedCatalogue(hid);
    fault(*rig.sim);
    Payload payload;
    call(hid, payload);

    QCOMPARE(opsOf(rig), ops);
    QCOMPARE(rig.sleeper->pauses, pauses);
    QVERIFY(hid.hidFree);
    QVERIFY(!hid.hidDev);
    QCOMPARE(rig.sim->openHandles(), 0);
    QCOMPARE(!hid.record(hid.did).path.isEmpty(), pathKept);
}

// Bytes a short reply does not carry keep their presets; a short input report
// leaves the rest of its chunk zero.
void tst_HidTransport::shortReplies()
{
    SimRig rig;
    G7FirmwareState state;
    state.keyboardOptions = QByteArray::fromHex("01020304");
    state.dpiStage = 4;
    state.stageColours = QByteArray(24, char(0x77));
    rig.sim->setState(state);
    rig.sim->setShortReports(4);
    Hid_Thread hid;
    attachShippedCatalogue(hid);

    uchar b1 = 0xA1, b2 = 0xA2, b3 = 0xA3, b4 = 0xA4;
    hid.hid_83H_GetKeyboardoption(b1, b2, b3, b4);
    QCOMPARE(QList<int>({b1, b2, b3, b4}), QList<int>({0x01, 0x02, 0xA3, 0xA4}));
    QCOMPARE(hid.hid_87H_GetCurrentDPI(), QVariant(4));

    Payload colours;
    hid.hid_90H_GetLED8StageColor(1, colours.bytes);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(colours.bytes), 24),
             QByteArray(4, char(0x77)) + QByteArray(20, '\0'));
    QVERIFY(hid.hidFree);
}

// The first command after an unplug finds the device gone and forgets its
// path; every later command returns at once without touching the seam.
void tst_HidTransport::unpluggedBetweenDiscoveryAndCommand()
{
    SimRig rig;
    Hid_Thread hid;
    attachShippedCatalogue(hid);
    rig.sim->unplug();

    hid.hid_04H_SetJMGD(2);
    QCOMPARE(opsOf(rig), QStringList{"open-failed"});
    QVERIFY(hid.record(hid.did).path.isEmpty());
    QVERIFY(!hid.record(hid.did).path2.isEmpty());
    QVERIFY(hid.hidFree);

    rig.clearTrace();
    uchar stage = 7;
    hid.hid_8BH_GetCurrentDPIStage(stage);
    hid.hid_06H_SetRGBLedEffect(1, 2, 3, 4);
    QCOMPARE(rig.trace().lines().size(), 0);
    QCOMPARE(stage, uchar(0));
    QVERIFY(rig.sleeper->pauses.isEmpty());
}

// A command started from the event loop while another holds the channel gives
// up after its 255 polls; the holder then finishes normally.
void tst_HidTransport::nestedCommandWaitsItsTurn()
{
    SimRig rig;
    Hid_Thread hid;
    attachShippedCatalogue(hid);
    QVariant inner;
    QMetaObject::invokeMethod(&hid, [&] { inner = hid.hid_87H_GetCurrentDPI(); }, Qt::QueuedConnection);

    QTest::ignoreMessage(QtDebugMsg, "cmd Failed");
    hid.hid_0EH_SetXYSensitive(3, 4);

    QCOMPARE(inner, QVariant(2));
    QCOMPARE(rig.sleeper->pauses, QList<int>(255, 8) + QList<int>({64, 64}));
    const QList<TraceLine> sent = rig.trace().withOp("feature-out");
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.first().text(), QStringLiteral("cmd feature-out 00 0B 03 04 00 00 00 00 ED"));
    QVERIFY(hid.hidFree);
}

// A device that never sends its input reports costs one bounded wait, and the
// caller keeps its own colours.
void tst_HidTransport::silentDeviceIsBounded()
{
    SimRig rig;
    rig.sim->setSilent(true);
    rig.sim->setReadCap(10000);
    Hid_Thread hid;
    attachShippedCatalogue(hid);
    Payload colours;

    QElapsedTimer clock;
    clock.start();
    hid.hid_90H_GetLED8StageColor(1, colours.bytes);
    QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(colours.bytes[0], uchar(1));
    QCOMPARE(colours.bytes[23], uchar(24));
    QVERIFY(hid.hidFree);
    QCOMPARE(rig.sim->openHandles(), 0);
}

void tst_HidTransport::settleTakes128ms()
{
    SimRig rig;
    setSleeper(nullptr);
    Hid_Thread hid;
    attachShippedCatalogue(hid);

    QElapsedTimer clock;
    clock.start();
    hid.hid_04H_SetJMGD(3);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 128 && elapsed < 400, qPrintable(QString::number(elapsed)));
    QCOMPARE(rig.sim->state().liftOff, quint8(3));
}

QTEST_GUILESS_MAIN(tst_HidTransport)
#include "tst_hid_transport.moc"
