#include "scrambler.h"
#include "simulatedg7.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <thread>

namespace {

// A request block written as seven bytes: report ID 00 in front and the check
// byte (the complement of the sum) behind.
QByteArray request(const QByteArray &sevenHex)
{
    QByteArray block = QByteArray::fromHex(sevenHex);
    unsigned sum = 0;
    for (char b : block)
        sum += quint8(b);
    return '\0' + block + char(~sum & 0xFF);
}

QByteArray pattern(int n, int start = 0)
{
    QByteArray bytes;
    for (int i = 0; i < n; ++i)
        bytes.append(char(start + i));
    return bytes;
}

using Call = SimulatedG7::Call;

// The command interface of a simulated mouse, driven with raw reports.
class Wire
{
public:
    explicit Wire(SimulatedG7 &sim) : sim(sim), cmd(sim.openPath(sim.commandPath())) {}
    ~Wire() { sim.close(cmd); }

    int feature(const QByteArray &report)
    {
        return sim.sendFeatureReport(cmd, reinterpret_cast<const uchar *>(report.constData()), size_t(report.size()));
    }
    QByteArray featureIn()
    {
        uchar buf[9] = {};
        const int n = sim.getFeatureReport(cmd, buf, sizeof buf);
        return n < 0 ? QByteArray("error") : QByteArray(reinterpret_cast<char *>(buf), n);
    }
    // One output data report: report ID 00 and the payload padded to 64 bytes.
    int data(QByteArray payload)
    {
        payload.resize(SimulatedG7::reportLength, '\0');
        payload.prepend('\0');
        return sim.write(cmd, reinterpret_cast<const uchar *>(payload.constData()), size_t(payload.size()));
    }
    QByteArray dataIn()
    {
        uchar buf[65] = {};
        const int n = sim.read(cmd, buf, sizeof buf);
        return n < 0 ? QByteArray("error") : QByteArray(reinterpret_cast<char *>(buf), n);
    }
    // Steps "F <hex>" (a feature report as written) and "D <hex>" (a data payload).
    void run(const QStringList &steps)
    {
        for (const QString &step : steps) {
            const QByteArray bytes = QByteArray::fromHex(step.mid(2).toLatin1());
            if (step.startsWith(QLatin1Char('F')))
                QCOMPARE(feature(bytes), int(bytes.size()));
            else
                QCOMPARE(data(bytes), SimulatedG7::reportLength + 1);
        }
    }

    SimulatedG7 &sim;
    HidHandle *cmd;
};

QString F(const QByteArray &report)
{
    return QStringLiteral("F ") + QString::fromLatin1(report.toHex());
}

QString D(const QByteArray &payload)
{
    return QStringLiteral("D ") + QString::fromLatin1(payload.toHex());
}

QByteArray one(quint8 b)
{
    return QByteArray(1, char(b));
}

// A setting of the firmware's memory as bytes, by name.
QByteArray field(const G7FirmwareState &s, const QString &name)
{
    if (name == "reportRate") return one(s.reportRate);
    if (name == "profile") return one(s.profile);
    if (name == "keyboardOptions") return s.keyboardOptions;
    if (name == "keyMatrix") return s.keyMatrix;
    if (name == "liftOff") return one(s.liftOff);
    if (name == "gunData") return s.gunData;
    if (name == "macro2") return s.macros.at(2);
    if (name == "led") return one(s.ledEffect) + one(s.ledColour) + one(s.ledOption1) + one(s.ledOption2);
    if (name == "dpi") return one(s.dpiStage) + one(s.dpiEnabled) + s.dpi + one(s.dpiDoubled);
    if (name == "stageColours") return s.stageColours;
    if (name == "xy") return one(s.xSensitivity) + one(s.ySensitivity);
    if (name == "ledColours") return s.ledColours;
    return "no such field";
}

QByteArray everything(const G7FirmwareState &s)
{
    QByteArray all;
    for (const char *name : {"reportRate", "profile", "keyboardOptions", "keyMatrix", "liftOff", "gunData",
                             "macro2", "led", "dpi", "stageColours", "xy", "ledColours"})
        all += field(s, QString::fromLatin1(name));
    for (const QByteArray &macro : s.macros)
        all += macro;
    return all;
}

QByteArray readEvent(SimulatedG7 &sim, HidHandle *evt, int timeoutMs, int bufferSize = 4)
{
    uchar buf[64] = {};
    const int n = sim.readTimeout(evt, buf, size_t(bufferSize), timeoutMs);
    return n < 0 ? QByteArray("error") : QByteArray(reinterpret_cast<char *>(buf), n);
}

} // namespace

class tst_SimulatedG7 : public QObject
{
    Q_OBJECT
private slots:
    void enumeratesItsInterfaces_data();
    void enumeratesItsInterfaces();
    void repeatedInterfaceOpensUnderEveryPath();
    void stateAfterCommands_data();
    void stateAfterCommands();
    void queriesAnswerFromState_data();
    void queriesAnswerFromState();
    void badBlocksAreIgnored_data();
    void badBlocksAreIgnored();
    void scrambledExchange();
    void eventReports();
    void eventsReadOnAnotherThread();
    void unplugAndReplug();
    void unplugWakesABlockedRead();
    void failingCalls_data();
    void failingCalls();
    void unplugMidTransfer();
    void shortAndSilentReports();
};

void tst_SimulatedG7::enumeratesItsInterfaces_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("pid");
    QTest::newRow("model 0") << 0 << 0x1038;
    QTest::newRow("model 1") << 1 << 0x1031;
    QTest::newRow("model 2") << 2 << 0x1039;
    QTest::newRow("model 3") << 3 << 0x1048;
    QTest::newRow("model out of range is model 1") << 7 << 0x1031;
}

void tst_SimulatedG7::enumeratesItsInterfaces()
{
    QFETCH(int, model);
    QFETCH(int, pid);
    SimulatedG7 sim(model);

    HidDeviceInfo *devs = sim.enumerate(0x260D, uint16_t(pid));
    QStringList listed;
    for (HidDeviceInfo *d = devs; d; d = d->next)
        listed << QStringLiteral("%1:%2 %3/%4").arg(d->vendorId, 0, 16).arg(d->productId, 0, 16)
                          .arg(d->usagePage, 0, 16).arg(d->usage);
    QCOMPARE(listed, QStringList({QStringLiteral("260d:%1 ff01/1").arg(pid, 0, 16),
                                  QStringLiteral("260d:%1 ff02/1").arg(pid, 0, 16)}));
    QCOMPARE(QByteArray(devs->path), sim.commandPath());
    QCOMPARE(QByteArray(devs->next->path), sim.eventPath());
    sim.freeEnumeration(devs);

    devs = sim.enumerate(0, 0);
    QVERIFY(devs && devs->next && !devs->next->next);
    sim.freeEnumeration(devs);
    QCOMPARE(sim.enumerate(0x260D, uint16_t(pid + 1)), nullptr);
    QCOMPARE(sim.enumerate(0x1234, uint16_t(pid)), nullptr);
}

void tst_SimulatedG7::repeatedInterfaceOpensUnderEveryPath()
{
    SimulatedG7 sim;
    using I = SimulatedG7::Interface;
    sim.setListing({I::Command, I::Command, I::Event});
    HidDeviceInfo *devs = sim.enumerate(0x260D, 0x1031);
    QVERIFY(devs && devs->next && devs->next->next);
    const QByteArray first(devs->path), second(devs->next->path);
    QVERIFY(first != second);
    QCOMPARE(devs->next->usagePage, uint16_t(0xFF01));
    sim.freeEnumeration(devs);
    for (const QByteArray &path : {first, second}) {
        HidHandle *h = sim.openPath(path);
        const QByteArray report = request("02040000000000");
        QCOMPARE(sim.sendFeatureReport(h, reinterpret_cast<const uchar *>(report.constData()), 9), 9);
        sim.close(h);
    }
    QCOMPARE(sim.state().profile, quint8(4));

    sim.setListing({I::Command});
    devs = sim.enumerate(0x260D, 0x1031);
    QVERIFY(devs && !devs->next);
    sim.freeEnumeration(devs);
    QCOMPARE(sim.openPath("sim-g7/260d:1031/nothing"), nullptr);
    QCOMPARE(sim.openHandles(), 0);
}

void tst_SimulatedG7::stateAfterCommands_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("01H report rate") << QStringList{"F 00010203030F0000E7"} << "reportRate" << QByteArray::fromHex("02");
    QTest::newRow("02H profile") << QStringList{"F 0002010000000000FC"} << "profile" << QByteArray::fromHex("01");
    QTest::newRow("03H keyboard options") << QStringList{F(request("03112233440000"))} << "keyboardOptions"
                                          << QByteArray::fromHex("11223344");
    QTest::newRow("03H key matrix") << QStringList{F(request("03000001000000")), D(pattern(64, 1))} << "keyMatrix"
                                    << pattern(64, 1);
    QTest::newRow("03H key matrix does not touch the options")
            << QStringList{F(request("03112233440000")), F(request("03000001000000")), D(pattern(64))}
            << "keyboardOptions" << QByteArray::fromHex("11223344");
    QTest::newRow("04H lift-off") << QStringList{F(request("04030000000000"))} << "liftOff" << QByteArray::fromHex("03");
    QTest::newRow("04H gun data") << QStringList{F(request("04010203040500"))} << "gunData"
                                  << QByteArray::fromHex("0102030405");
    QTest::newRow("05H macro slot 2")
            << QStringList{"F 0005000203000000F5", D(pattern(64, 0)), D(pattern(64, 64)), D(pattern(64, 128))}
            << "macro2" << pattern(192);
    QTest::newRow("05H cut short by the next command")
            << QStringList{"F 0005000203000000F5", D(pattern(64)), F(request("01010303 0F0000")), D(pattern(64))}
            << "macro2" << QByteArray(192, '\0');
    QTest::newRow("06H lighting effect") << QStringList{"F 00060D0732060100 00"} << "led"
                                         << QByteArray::fromHex("0D073206");
    QTest::newRow("08H then 07H") << QStringList{"F 0008102030400F0000", "F 0007027F0102030400"} << "dpi"
                                  << QByteArray::fromHex("027F01020304102030400F");
    QTest::newRow("0AH four-byte payload") << QStringList{F(request("0A000001000000")), D("\x11\x22\x33\x44")}
                                           << "stageColours" << QByteArray("\x11\x22\x33\x44") + QByteArray(20, '\0');
    QTest::newRow("0BH sensitivity") << QStringList{F(request("0B050900000000"))} << "xy" << QByteArray::fromHex("0509");
    QTest::newRow("0CH lighting colours") << QStringList{F(request("0C000001000000")), D(pattern(24, 0x80))}
                                          << "ledColours" << pattern(24, 0x80);
    QTest::newRow("13H restores the factory state")
            << QStringList{"F 00010203030F0000E7", F(request("13FF0000000000"))} << "reportRate" << QByteArray::fromHex("01");
    QTest::newRow("data report nobody announced") << QStringList{D(pattern(64, 1))} << "keyMatrix" << QByteArray(64, '\0');
}

void tst_SimulatedG7::stateAfterCommands()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, field);
    QFETCH(QByteArray, expected);
    SimulatedG7 sim;
    {
        Wire wire(sim);
        wire.run(steps);
    }
    QCOMPARE(::field(sim.state(), field).toHex(' '), expected.toHex(' '));
    QCOMPARE(sim.ignoredBlocks(), QList<QByteArray>());
    QCOMPARE(sim.openHandles(), 0);
}

void tst_SimulatedG7::queriesAnswerFromState_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QByteArray>("dataIn");

    QTest::newRow("83H keyboard options") << QStringList{F(request("03112233440000"))} << request("83000000000000")
                                          << request("83112233440000") << QByteArray();
    QTest::newRow("87H current stage") << QStringList{"F 0007057F0102030400"} << request("87000000000000")
                                       << request("87050000000000") << QByteArray();
    QTest::newRow("8BH current stage") << QStringList{"F 0007037F0102030400"} << request("8B000000000000")
                                       << request("8B030000000000") << QByteArray();
    QTest::newRow("8DH lighting effect") << QStringList{"F 00060D0732060100 00"} << request("8D000000000000")
                                         << request("8D0D3206000000") << QByteArray();
    QTest::newRow("00H code") << QStringList{} << request("00010203040000") << request("00373331390000")
                              << QByteArray();
    QTest::newRow("90H stage colours as an input report")
            << QStringList{F(request("0A000001000000")), D(pattern(24, 0x40))} << request("90010000000000")
            << request("90010000000000") << pattern(24, 0x40) + QByteArray(40, '\0');
    QTest::newRow("set commands are echoed") << QStringList{} << request("0B050900000000")
                                             << request("0B050900000000") << QByteArray();
}

void tst_SimulatedG7::queriesAnswerFromState()
{
    QFETCH(QStringList, steps);
    QFETCH(QByteArray, query);
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, dataIn);
    SimulatedG7 sim;
    Wire wire(sim);
    wire.run(steps);
    QCOMPARE(wire.feature(query), 9);
    QCOMPARE(wire.featureIn().toHex(' '), reply.toHex(' '));
    if (!dataIn.isEmpty())
        QCOMPARE(wire.dataIn().toHex(' '), dataIn.toHex(' '));
    sim.setReadCap(50);
    QCOMPARE(wire.dataIn(), QByteArray("error")); // nothing more to read
}

void tst_SimulatedG7::badBlocksAreIgnored_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::newRow("01H with a wrong check byte") << QByteArray::fromHex("00010203030F0000E6");
    QTest::newRow("07H with a check byte instead of 00") << request("07027F01020304");
    QTest::newRow("06H with a check byte instead of 00") << request("060D0732060100");
    QTest::newRow("08H with a check byte instead of 00") << request("08102030400F00");
    QTest::newRow("unknown code") << request("55010203040506");
    QTest::newRow("macro slot 12") << request("05000C03000000");
    QTest::newRow("13H without FF") << request("13000000000000");
    QTest::newRow("feature report of 3 bytes") << QByteArray::fromHex("000102");
    QTest::newRow("report ID 1") << QByteArray::fromHex("01010203030F0000E7");
}

void tst_SimulatedG7::badBlocksAreIgnored()
{
    QFETCH(QByteArray, report);
    SimulatedG7 sim;
    const QByteArray before = everything(sim.state());
    {
        Wire wire(sim);
        QCOMPARE(wire.feature(report), int(report.size()));
        // A payload announced by an ignored block is not taken either.
        wire.data(pattern(64, 1));
    }
    QCOMPARE(everything(sim.state()).toHex(), before.toHex());
    QCOMPARE(sim.ignoredBlocks().size(), 1);
    QCOMPARE(sim.acceptedBlocks().size(), 0);
}

void tst_SimulatedG7::scrambledExchange()
{
    SimulatedG7 sim;
    const QByteArray code = "246810";
    const uchar key[8] = {0, '2', '4', '6', '8', '1', '0', 0};
    sim.setScrambling(true, code);
    Wire wire(sim);
    auto scrambled = [&key](QByteArray report) {
        scrambleBlock(reinterpret_cast<uchar *>(report.data()) + 1, key);
        return report;
    };

    wire.feature(scrambled(request("02030000000000")));
    QCOMPARE(sim.state().profile, quint8(3));
    // A plain block means nothing to a mouse that expects scrambled ones.
    wire.feature(request("02050000000000"));
    QCOMPARE(sim.state().profile, quint8(3));
    QCOMPARE(sim.ignoredBlocks().size(), 1);

    // Payloads travel plain after a scrambled announcement.
    wire.feature(scrambled(request("03000001000000")));
    wire.data(pattern(64, 9));
    QCOMPARE(sim.state().keyMatrix, pattern(64, 9));

    wire.feature(scrambled(request("03010203040000")));
    wire.feature(scrambled(request("83000000000000")));
    QByteArray reply = wire.featureIn();
    QCOMPARE(reply.size(), 9);
    QVERIFY(reply != request("83010203040000"));
    unscrambleBlock(reinterpret_cast<uchar *>(reply.data()) + 1, key);
    QCOMPARE(reply.toHex(' '), request("83010203040000").toHex(' '));

    // The code is part of the key: another code does not get through.
    sim.setScrambling(true, "000000");
    wire.feature(scrambled(request("02070000000000")));
    QCOMPARE(sim.state().profile, quint8(3));
}

void tst_SimulatedG7::eventReports()
{
    SimulatedG7 sim;
    HidHandle *evt = sim.openPath(sim.eventPath());
    QVERIFY(evt);

    sim.emitDpiEvent(3);
    QCOMPARE(readEvent(sim, evt, 500).toHex(' '), QByteArray("06 07 00 03"));
    {
        Wire wire(sim);
        wire.feature(request("87000000000000"));
        QCOMPARE(wire.featureIn().toHex(' '), request("87020000000000").toHex(' '));
    }

    sim.queueEvent(QByteArray::fromHex("0607"));
    sim.queueEvent(QByteArray::fromHex("060700050000"));
    sim.queueEvent(QByteArray::fromHex("06080002"));
    QCOMPARE(readEvent(sim, evt, 0).toHex(' '), QByteArray("06 07"));
    QCOMPARE(readEvent(sim, evt, 0).toHex(' '), QByteArray("06 07 00 05")); // cut to the buffer
    QCOMPARE(readEvent(sim, evt, 0, 8).toHex(' '), QByteArray("06 08 00 02"));
    QCOMPARE(sim.pendingEvents(), 0);

    QElapsedTimer timer;
    timer.start();
    QCOMPARE(readEvent(sim, evt, 120), QByteArray());
    QVERIFY2(timer.elapsed() >= 110, qPrintable(QString::number(timer.elapsed())));

    // The event interface takes no commands.
    const QByteArray report = request("02010000000000");
    QCOMPARE(sim.sendFeatureReport(evt, reinterpret_cast<const uchar *>(report.constData()), 9), -1);
    sim.close(evt);
}

void tst_SimulatedG7::eventsReadOnAnotherThread()
{
    SimulatedG7 sim;
    constexpr int count = 40;
    QList<int> stages;
    qint64 longestWait = 0;
    std::thread monitor([&] {
        HidHandle *evt = sim.openPath(sim.eventPath());
        QElapsedTimer timer;
        timer.start();
        while (stages.size() < count && timer.elapsed() < 5000) {
            QElapsedTimer wait;
            wait.start();
            uchar buf[4];
            if (sim.readTimeout(evt, buf, 4, 500) == 4)
                stages.append(buf[3]);
            longestWait = std::max(longestWait, wait.elapsed());
        }
        sim.close(evt);
    });
    QList<int> sent;
    {
        Wire wire(sim);
        for (int i = 0; i < count; ++i) {
            const int stage = i % 8 + 1;
            sent.append(stage);
            if (i % 2) {
                sim.queueEvent(QByteArray::fromHex("060700") + char(stage));
            } else {
                sim.emitDpiEvent(stage);
                wire.feature(request("8B000000000000"));
                QCOMPARE(wire.featureIn().at(2), char(stage - 1));
            }
            if (i % 10 == 0)
                QThread::msleep(20);
        }
    }
    monitor.join();
    QCOMPARE(stages, sent);
    // A waiting read returns as soon as an event comes, not at its timeout.
    QVERIFY2(longestWait < 400, qPrintable(QString::number(longestWait)));
}

void tst_SimulatedG7::unplugAndReplug()
{
    SimulatedG7 sim;
    QSignalSpy changed(&sim, &SimulatedG7::devicesChanged);
    HidHandle *cmd = sim.openPath(sim.commandPath());
    const QByteArray profile = request("02020000000000");
    const auto *bytes = reinterpret_cast<const uchar *>(profile.constData());
    QCOMPARE(sim.sendFeatureReport(cmd, bytes, 9), 9);
    const QByteArray macro = request("05000203000000");
    QCOMPARE(sim.sendFeatureReport(cmd, reinterpret_cast<const uchar *>(macro.constData()), 9), 9);

    sim.unplug();
    QCOMPARE(changed.size(), 1);
    QVERIFY(!sim.isPlugged());
    QCOMPARE(sim.sendFeatureReport(cmd, bytes, 9), -1);
    uchar buf[9];
    QCOMPARE(sim.getFeatureReport(cmd, buf, 9), -1);
    QCOMPARE(sim.enumerate(0x260D, 0x1031), nullptr);
    QCOMPARE(sim.openPath(sim.commandPath()), nullptr);
    QCOMPARE(sim.openPath(sim.eventPath()), nullptr);
    sim.emitDpiEvent(2); // nobody to send it
    sim.unplug();
    QCOMPARE(changed.size(), 1);

    sim.plug();
    QCOMPARE(changed.size(), 2);
    QCOMPARE(sim.sendFeatureReport(cmd, bytes, 9), -1); // a handle from before stays dead
    sim.close(cmd);
    HidDeviceInfo *devs = sim.enumerate(0x260D, 0x1031);
    QVERIFY(devs);
    sim.freeEnumeration(devs);
    HidHandle *evt = sim.openPath(sim.eventPath());
    QCOMPARE(readEvent(sim, evt, 0), QByteArray());
    sim.close(evt);
    QCOMPARE(sim.state().profile, quint8(2)); // the mouse keeps its memory
    {
        // ... but not the payload it was waiting for.
        Wire wire(sim);
        for (int i = 0; i < 3; ++i)
            wire.data(pattern(64));
    }
    QCOMPARE(sim.strayDataReports(), 3);
    QCOMPARE(sim.state().macros.at(2), QByteArray(192, '\0'));
    QCOMPARE(sim.openHandles(), 0);
}

void tst_SimulatedG7::unplugWakesABlockedRead()
{
    SimulatedG7 sim;
    sim.setReadCap(5000);
    HidHandle *cmd = sim.openPath(sim.commandPath());
    HidHandle *evt = sim.openPath(sim.eventPath());
    int dataResult = 0, eventResult = 0;
    QElapsedTimer timer;
    timer.start();
    std::thread reader([&] {
        uchar buf[65];
        dataResult = sim.read(cmd, buf, sizeof buf);
    });
    std::thread monitor([&] {
        uchar buf[4];
        eventResult = sim.readTimeout(evt, buf, 4, 5000);
    });
    QThread::msleep(50);
    sim.unplug();
    reader.join();
    monitor.join();
    QCOMPARE(dataResult, -1);
    QCOMPARE(eventResult, -1);
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    sim.close(cmd);
    sim.close(evt);
}

void tst_SimulatedG7::failingCalls_data()
{
    QTest::addColumn<int>("call");
    QTest::addColumn<int>("nth");
    QTest::addColumn<int>("times");
    QTest::addColumn<QString>("outcomes");
    QTest::newRow("second feature write") << int(Call::FeatureOut) << 2 << 1 << "ok fail ok ok";
    QTest::newRow("every feature read") << int(Call::FeatureIn) << 1 << -1 << "fail fail fail";
    QTest::newRow("two command opens") << int(Call::OpenCommand) << 1 << 2 << "fail fail ok";
    QTest::newRow("first event open") << int(Call::OpenEvent) << 1 << 1 << "fail ok";
    QTest::newRow("third data write") << int(Call::DataOut) << 3 << 1 << "ok ok fail ok";
    QTest::newRow("first data read") << int(Call::DataIn) << 1 << 1 << "fail ok";
    QTest::newRow("second event read") << int(Call::EventIn) << 2 << 1 << "ok fail ok";
}

void tst_SimulatedG7::failingCalls()
{
    QFETCH(int, call);
    QFETCH(int, nth);
    QFETCH(int, times);
    QFETCH(QString, outcomes);
    SimulatedG7 sim;
    Wire wire(sim);
    HidHandle *evt = sim.openPath(sim.eventPath());
    sim.failCall(Call(call), nth, times);

    auto attempt = [&]() -> bool {
        switch (Call(call)) {
        case Call::OpenCommand:
        case Call::OpenEvent: {
            HidHandle *h = sim.openPath(Call(call) == Call::OpenCommand ? sim.commandPath() : sim.eventPath());
            sim.close(h);
            return h;
        }
        case Call::FeatureOut:
            return wire.feature(request("83000000000000")) == 9;
        case Call::FeatureIn:
            return wire.featureIn().size() == 9;
        case Call::DataOut:
            return wire.data(pattern(8)) == 65;
        case Call::DataIn:
            wire.feature(request("90000000000000"));
            return wire.dataIn().size() == 64;
        case Call::EventIn:
            sim.emitDpiEvent(4);
            return readEvent(sim, evt, 0).size() == 4;
        }
        return false;
    };
    QStringList seen;
    for (int i = 0; i < outcomes.count(QLatin1Char(' ')) + 1; ++i)
        seen << (attempt() ? "ok" : "fail");
    QCOMPARE(seen.join(' '), outcomes);
    sim.close(evt);
}

void tst_SimulatedG7::unplugMidTransfer()
{
    SimulatedG7 sim;
    QSignalSpy changed(&sim, &SimulatedG7::devicesChanged);
    sim.unplugAfterDataReports(2);
    Wire wire(sim);
    QCOMPARE(wire.feature(request("05000203000000")), 9);
    QCOMPARE(wire.data(pattern(64)), 65);
    QCOMPARE(changed.size(), 0);
    QCOMPARE(wire.data(pattern(64)), 65);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(wire.data(pattern(64)), -1);
    QCOMPARE(sim.state().macros.at(2), QByteArray(192, '\0'));
}

void tst_SimulatedG7::shortAndSilentReports()
{
    SimulatedG7 sim;
    Wire wire(sim);
    HidHandle *evt = sim.openPath(sim.eventPath());

    sim.setShortReports(5);
    wire.feature(request("83000000000000"));
    QCOMPARE(wire.featureIn().toHex(' '), QByteArray("00 83 00 00 00"));
    sim.setShortReports(3);
    sim.emitDpiEvent(2);
    QCOMPARE(readEvent(sim, evt, 0).toHex(' '), QByteArray("06 07 00"));
    sim.setShortReports(0);

    sim.setSilent(true);
    sim.setReadCap(80);
    sim.emitDpiEvent(6);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(readEvent(sim, evt, 100), QByteArray());
    QVERIFY(timer.elapsed() >= 90);
    wire.feature(request("90000000000000"));
    timer.restart();
    QCOMPARE(wire.dataIn(), QByteArray("error"));
    QVERIFY(timer.elapsed() >= 70 && timer.elapsed() < 1000);

    // Once it talks again, what was queued arrives.
    sim.setSilent(false);
    QCOMPARE(readEvent(sim, evt, 0).toHex(' '), QByteArray("06 07 00 06"));
    QCOMPARE(wire.dataIn().size(), 64);

    // A non-blocking handle does not wait at all.
    sim.setReadCap(5000);
    QCOMPARE(sim.setNonblocking(wire.cmd, 1), 0);
    timer.restart();
    QCOMPARE(wire.dataIn(), QByteArray());
    QVERIFY(timer.elapsed() < 100);
    sim.close(evt);
}

QTEST_GUILESS_MAIN(tst_SimulatedG7)
#include "tst_simulatedg7.moc"
