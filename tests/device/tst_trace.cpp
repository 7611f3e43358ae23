#include "deviceoptions.h"
#include "hidbackend.h"
#include "pauses.h"
#include "realhidbackend.h"
#include "reporttrace.h"
#include "scrambler.h"
#include "simulatedg7.h"
#include "support_simrig.h"
#include "tracingbackend.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

#include <thread>

namespace {

const uchar profileReport[9] = {0x00, 0x02, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFC};
const uchar stageQuery[9] = {0x00, 0x87, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x78};

QByteArray fileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_Trace : public QObject
{
    Q_OBJECT
private slots:
    void linesOfACommandExchange();
    void linesOfTheEventInterface();
    void scrambledBytesAsOnTheWire();
    void failures_data();
    void failures();
    void unlabelledPathsAreNamedByTheirUsagePage();
    void timesAreProgramTime();
    void linesFromTwoThreadsStayWhole();
    void appendsToAnExistingFile();
    void unwritableFileRunsWithoutTrace();
    void pauses();
    void options_data();
    void options();
    void installsTheChosenBackend();
};

void tst_Trace::linesOfACommandExchange()
{
    SimRig rig;
    HidBackend &hid = hidBackend();
    HidHandle *cmd = hid.openPath(rig.sim->commandPath());
    QCOMPARE(hid.setNonblocking(cmd, 0), 0);
    QCOMPARE(hid.sendFeatureReport(cmd, profileReport, 9), 9);
    hidSleep(64);
    uchar payload[65] = {};
    for (int i = 0; i < 65; ++i)
        payload[i] = uchar(i == 0 ? 0 : 0xA0 + i % 16);
    QCOMPARE(hid.write(cmd, payload, sizeof payload), 65);
    QCOMPARE(hid.sendFeatureReport(cmd, stageQuery, 9), 9);
    uchar reply[9] = {};
    QCOMPARE(hid.getFeatureReport(cmd, reply, 9), 9);
    hid.close(cmd);

    QString data = QStringLiteral("cmd data-out 00");
    for (int i = 1; i < 65; ++i)
        data += QStringLiteral(" A%1").arg(i % 16, 0, 16).toUpper();
    const TraceReader trace = rig.trace();
    QVERIFY2(trace.isValid(), qPrintable(trace.error()));
    QCOMPARE(trace.texts(), QStringList({"cmd open",
                                         "cmd feature-out 00 02 01 00 00 00 00 00 FC",
                                         "- sleep 64",
                                         data,
                                         "cmd feature-out 00 87 00 00 00 00 00 00 78",
                                         "cmd feature-in 00 87 01 00 00 00 00 00 77",
                                         "cmd close"}));
    QCOMPARE(rig.sleeper->pauses, QList<int>{64});
}

void tst_Trace::linesOfTheEventInterface()
{
    SimRig rig;
    HidBackend &hid = hidBackend();
    HidHandle *evt = hid.openPath(rig.sim->eventPath());
    uchar buf[4];
    QCOMPARE(hid.readTimeout(evt, buf, 4, 30), 0);
    rig.sim->emitDpiEvent(5);
    QCOMPARE(hid.readTimeout(evt, buf, 4, 500), 4);
    rig.sim->queueEvent(QByteArray::fromHex("0607"));
    QCOMPARE(hid.readTimeout(evt, buf, 4, 500), 2);
    hid.close(evt);

    // hid_read on the command interface delivers the data without report ID.
    HidHandle *cmd = hid.openPath(rig.sim->commandPath());
    const uchar colours[9] = {0x00, 0x90, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x6E};
    hid.sendFeatureReport(cmd, colours, 9);
    uchar in[65];
    QCOMPARE(hid.read(cmd, in, sizeof in), 64);
    hid.close(cmd);

    const QStringList lines = rig.traceTexts();
    QCOMPARE(lines.mid(0, 5), QStringList({"evt open", "evt read-timeout 30", "evt data-in 06 07 00 05",
                                           "evt data-in 06 07", "evt close"}));
    QCOMPARE(lines.at(7), QStringLiteral("cmd data-in") + QString(" 00").repeated(64));
}

void tst_Trace::scrambledBytesAsOnTheWire()
{
    SimRig rig;
    rig.sim->setScrambling(true, "731946");
    const uchar code[8] = {0, '7', '3', '1', '9', '4', '6', 0};
    uchar report[9];
    std::copy(profileReport, profileReport + 9, report);
    scrambleBlock(report + 1, code);

    HidBackend &hid = hidBackend();
    HidHandle *cmd = hid.openPath(rig.sim->commandPath());
    hid.sendFeatureReport(cmd, report, 9);
    uchar reply[9];
    hid.getFeatureReport(cmd, reply, 9);
    hid.close(cmd);
    QCOMPARE(rig.sim->state().profile, quint8(1));

    const QStringList lines = rig.traceTexts();
    QCOMPARE(lines.at(1), QStringLiteral("cmd feature-out 00 46 15 DE AF E8 C6 46 37"));
    // The mouse echoes the block, scrambled again on its way back.
    QCOMPARE(lines.at(2), QStringLiteral("cmd feature-in 00 46 15 DE AF E8 C6 46 37"));
}

void tst_Trace::failures_data()
{
    QTest::addColumn<int>("call");
    QTest::addColumn<QStringList>("lines");
    using Call = SimulatedG7::Call;
    QTest::newRow("open") << int(Call::OpenCommand) << QStringList{"cmd open-failed"};
    QTest::newRow("feature write") << int(Call::FeatureOut)
                                   << QStringList{"cmd open", "cmd error feature-out", "cmd close"};
    QTest::newRow("feature read") << int(Call::FeatureIn)
                                  << QStringList{"cmd open", "cmd feature-out 00 02 01 00 00 00 00 00 FC",
                                                 "cmd error feature-in", "cmd close"};
    QTest::newRow("data write") << int(Call::DataOut)
                                << QStringList{"cmd open", "cmd feature-out 00 02 01 00 00 00 00 00 FC",
                                               "cmd error data-out", "cmd close"};
}

void tst_Trace::failures()
{
    QFETCH(int, call);
    QFETCH(QStringList, lines);
    SimRig rig;
    rig.sim->failCall(SimulatedG7::Call(call));
    HidBackend &hid = hidBackend();
    if (HidHandle *cmd = hid.openPath(rig.sim->commandPath())) {
        if (hid.sendFeatureReport(cmd, profileReport, 9) == 9) {
            uchar buf[65] = {};
            if (SimulatedG7::Call(call) == SimulatedG7::Call::FeatureIn)
                hid.getFeatureReport(cmd, buf, 9);
            else
                hid.write(cmd, buf, 65);
        }
        hid.close(cmd);
    }
    const TraceReader trace = rig.trace();
    QVERIFY2(trace.isValid(), qPrintable(trace.error()));
    QCOMPARE(trace.texts(), lines);
}

void tst_Trace::unlabelledPathsAreNamedByTheirUsagePage()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("trace.txt");
    QVERIFY(ReportTrace::open(file));
    auto sim = std::make_shared<SimulatedG7>(2); // model 2's paths carry no label
    TracingBackend hid(sim);

    hid.close(hid.openPath(sim->eventPath()));    // never enumerated
    HidDeviceInfo *devs = hid.enumerate(0x260D, 0x1039);
    hid.freeEnumeration(devs);
    hid.close(hid.openPath(sim->commandPath()));
    hid.close(hid.openPath(sim->eventPath()));
    ReportTrace::labelPath(QString::fromLatin1(sim->eventPath()), "cmd"); // discovery's word wins
    hid.close(hid.openPath(sim->eventPath()));
    ReportTrace::close();

    const QString text = QString::fromLatin1(fileText(file)).remove(QRegularExpression("\\d+\\.\\d{3} "));
    QCOMPARE(text, QStringLiteral("? open\n? close\ncmd open\ncmd close\nevt open\nevt close\ncmd open\ncmd close\n"));
}

void tst_Trace::timesAreProgramTime()
{
    SimRig rig;
    const double before = ReportTrace::elapsedMs();
    hidSleep(8);
    QThread::msleep(20);
    hidSleep(8);
    const double after = ReportTrace::elapsedMs();
    const QList<TraceLine> lines = rig.trace().lines();
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(0).ms >= before - 0.001 && lines.at(1).ms <= after + 0.001);
    QVERIFY2(lines.at(1).ms - lines.at(0).ms >= 19.0, qPrintable(QString::number(lines.at(1).ms - lines.at(0).ms)));
    // The clock starts with the program, not with the first line.
    QVERIFY(before > 0 && before < 60000);
}

void tst_Trace::linesFromTwoThreadsStayWhole()
{
    SimRig rig;
    auto writeMany = [](int count) {
        const uchar report[65] = {0x00, 0x11, 0x22};
        for (int i = 0; i < count; ++i)
            ReportTrace::write("evt", "data-in", report, sizeof report);
    };
    std::thread other(writeMany, 2000);
    for (int i = 0; i < 2000; ++i)
        hidSleep(8);
    other.join();
    const TraceReader trace = rig.trace();
    QVERIFY2(trace.isValid(), qPrintable(trace.error()));
    QCOMPARE(trace.lines().size(), 4000);
    QCOMPARE(trace.sleeps().size(), 2000);
}

void tst_Trace::appendsToAnExistingFile()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("trace.txt");
    QFile existing(file);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("1.000 - sleep 8\n");
    existing.close();
    QVERIFY(ReportTrace::open(file));
    hidSleep(0);
    ReportTrace::close();
    const TraceReader trace(file);
    QVERIFY2(trace.isValid(), qPrintable(trace.error()));
    QCOMPARE(trace.texts(), QStringList({"- sleep 8", "- sleep 0"}));
}

void tst_Trace::unwritableFileRunsWithoutTrace()
{
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Cannot write the report trace /nonexistent/dir/t.txt"));
    QVERIFY(!ReportTrace::open("/nonexistent/dir/t.txt"));
    QVERIFY(!ReportTrace::isOpen());
    hidSleep(0); // no trace, no harm

    DeviceOptions options;
    options.simulate = true;
    options.traceFile = "/nonexistent/dir/t.txt";
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Cannot write the report trace"));
    const std::shared_ptr<SimulatedG7> sim = installDeviceBackend(options);
    QVERIFY(sim);
    QCOMPARE(dynamic_cast<SimulatedG7 *>(&hidBackend()), sim.get());
    setHidBackend(nullptr);
}

void tst_Trace::pauses()
{
    auto recorder = std::make_shared<RecordingSleeper>();
    setSleeper(recorder);
    QElapsedTimer timer;
    timer.start();
    for (int ms : {64, 64, 8, 100})
        hidSleep(ms);
    QVERIFY(timer.elapsed() < 50);
    QCOMPARE(recorder->pauses, QList<int>({64, 64, 8, 100}));

    setSleeper(nullptr);
    timer.restart();
    hidSleep(30);
    QVERIFY(timer.elapsed() >= 29);
    QCOMPARE(recorder->pauses.size(), 4);
}

void tst_Trace::options_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("simulate");
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("trace");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing") << QStringList{"orvane-g7"} << false << 1 << "" << "";
    QTest::newRow("--simulate") << QStringList{"orvane-g7", "--simulate"} << true << 1 << "" << "";
    QTest::newRow("--simulate=3") << QStringList{"x", "--simulate=3"} << true << 3 << "" << "";
    QTest::newRow("--simulate=0") << QStringList{"x", "--simulate=0"} << true << 0 << "" << "";
    QTest::newRow("--simulate=4") << QStringList{"x", "--simulate=4"} << true << 1 << "" << "--simulate";
    QTest::newRow("--simulate=-1") << QStringList{"x", "--simulate=-1"} << true << 1 << "" << "--simulate";
    QTest::newRow("--simulate=two") << QStringList{"x", "--simulate=two"} << true << 1 << "" << "--simulate";
    QTest::newRow("--trace FILE") << QStringList{"x", "--trace", "/tmp/t.txt", "--simulate"} << true << 1
                                  << "/tmp/t.txt" << "";
    QTest::newRow("--trace=FILE") << QStringList{"x", "--trace=a b.txt"} << false << 1 << "a b.txt" << "";
    QTest::newRow("--trace without file") << QStringList{"x", "--trace"} << false << 1 << "" << "--trace";
}

void tst_Trace::options()
{
    QFETCH(QStringList, args);
    QFETCH(bool, simulate);
    QFETCH(int, model);
    QFETCH(QString, trace);
    QFETCH(QString, message);
    if (!message.isEmpty())
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^" + message));
    const DeviceOptions options = parseDeviceOptions(args);
    QCOMPARE(options.simulate, simulate);
    QCOMPARE(options.model, model);
    QCOMPARE(options.traceFile, trace);
}

void tst_Trace::installsTheChosenBackend()
{
    QTemporaryDir dir;
    DeviceOptions options;
    options.simulate = true;
    options.model = 3;
    options.traceFile = dir.filePath("t.txt");
    const std::shared_ptr<SimulatedG7> sim = installDeviceBackend(options);
    QVERIFY(sim);
    QCOMPARE(sim->productId(), uint16_t(0x1048));
    auto *tracing = dynamic_cast<TracingBackend *>(&hidBackend());
    QVERIFY(tracing);
    QCOMPARE(&tracing->inner(), static_cast<HidBackend *>(sim.get()));
    HidDeviceInfo *devs = hidBackend().enumerate(0x260D, 0x1048);
    QVERIFY(devs);
    hidBackend().freeEnumeration(devs);
    hidBackend().close(hidBackend().openPath(sim->commandPath()));
    ReportTrace::close();
    QCOMPARE(TraceReader(options.traceFile).texts(), QStringList({"cmd open", "cmd close"}));

    options = DeviceOptions();
    QVERIFY(!installDeviceBackend(options));
    QVERIFY(dynamic_cast<RealHidBackend *>(&hidBackend()) != nullptr);
    setHidBackend(nullptr);
}

QTEST_GUILESS_MAIN(tst_Trace)
#include "tst_trace.moc"
