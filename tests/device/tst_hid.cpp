#include "deviceoptions.h"
#include "support_simrig.h"
#include "tempdatafolder.h"

#include <sys/stat.h>

#include <cstring>

namespace {

// Model 1 with a model 3 mouse beside it, as far as enumeration goes.
class TwoMice : public SimulatedG7
{
public:
    HidDeviceInfo *enumerate(uint16_t vendorId, uint16_t productId) override
    {
        HidDeviceInfo *devs = SimulatedG7::enumerate(vendorId, productId);
        return devs ? devs : model3.enumerate(vendorId, productId);
    }
    SimulatedG7 model3{3};
};

const QStringList connected = {"connected 1", "view enabled", "clear busy", "notice Info: Detect Mouse!"};

// The entry fields in catalogue order, for one comparison with a readable diff.
QStringList describe(const QList<DevInfoEntry> &entries)
{
    QStringList lines;
    for (const DevInfoEntry &e : entries) {
        lines << QString::asprintf("type %d vid %04x pid %04x cmd %04x/%04x evt %04x/%04x len %u name '%s'",
                                   e.type, e.vid, e.pid, e.usagePage, e.usage, e.usagePage2, e.usage2,
                                   e.reportLength, qPrintable(e.productName));
    }
    return lines;
}

const QString mouse = QStringLiteral("type 1 vid 260d pid %1 cmd ff01/0001 evt ff02/0001 len 64 name '%2'");
const QByteArray entry = "[0]\ntype=1\nvid=260D\npid=1031\nusagePage=FF01\nusage=0001\nusagePage2=ff02\nusage2=1\n"
                         "reportLength=64\n";

const QByteArray stateColours = QByteArray::fromHex("a0a1a2a3a4a5a6a7a8a9aaabacadaeafb0b1b2b3b4b5b6b7");

// "<block>|<pause>|D<offset>+<count>" (payload bytes in one data report) as trace lines.
QStringList expand(const QString &wire)
{
    QStringList lines;
    for (const QString &item : wire.split(QLatin1Char('|'))) {
        const QStringList range = item.mid(1).split(QLatin1Char('+'));
        if (item.startsWith(QLatin1Char('D')))
            lines << "cmd data-out 00 " + Payload().left(range[1].toInt(), range[0].toInt()).leftJustified(64, '\0')
                                                 .toHex(' ').toUpper();
        else
            lines << (item.contains(QLatin1Char(' ')) ? "cmd feature-out " : "- sleep ") + item;
    }
    return lines;
}

// Puts mouse and channel in the state the words of the row's tag name.
void prepare(SimRig &rig, Hid_Thread &hid)
{
    const QStringList words = QString::fromLatin1(QTest::currentDataTag()).split(QLatin1Char(' '));
    findCataloguedDevices(hid, StoreFile::format(), {});
    rig.sim->setShortReports(words.contains("short") ? 4 : 0);
    rig.sim->setSilent(words.contains("silent"));
    hid.hidFree = !words.contains("busy");
    if (words.contains("unplugged"))
        rig.sim->unplug();
    if (words.contains("block-refused"))
        rig.sim->failCall(SimulatedG7::Call::FeatureOut);
    if (words.contains("data2-refused"))
        rig.sim->failCall(SimulatedG7::Call::DataOut, 2);
    if (words.contains("unplugged-after-data1"))
        rig.sim->unplugAfterDataReports(1);
}

// Every query with the caller's own presets (A1.., 99, 55), as "<code> <bytes>".
QString queryAll(Hid_Thread &hid)
{
    uchar options[4] = {0xA1, 0xA2, 0xA3, 0xA4}, code[4] = {0xC1, 0xC2, 0xC3, 0xC4};
    uchar stage = 0x99, led[3] = {0x99, 0x99, 0x99}, colours[24];
    std::fill(colours, colours + 24, 0x55);
    QStringList replied;    // the reply lengths the queries return
    replied << QString::number(hid.hid_83H_GetKeyboardoption(options[0], options[1], options[2], options[3]));
    const int dpi = hid.hid_87H_GetCurrentDPI().toInt();
    replied << QString::number(hid.hid_8BH_GetCurrentDPIStage(stage))
            << QString::number(hid.hid_8DH_GetRGBLedEffect(led[0], led[1], led[2]))
            << QString::number(hid.hid_00H_GetSecrecyCode(code[0], code[1], code[2], code[3]))
            << QString::number(hid.hid_90H_GetLED8StageColor(1, colours));
    auto hex = [](const uchar *bytes, int n) { return QByteArray(reinterpret_cast<const char *>(bytes), n).toHex(); };
    return QStringLiteral("83 %1 87 %2 8B %3 8D %4 00 %5 90 %6 replied %7")
            .arg(hex(options, 4)).arg(dpi).arg(hex(&stage, 1), hex(led, 3), hex(code, 4), hex(colours, 24),
                 replied.join(' '));
}

} // namespace

class tst_Hid : public QObject
{
    Q_OBJECT
private slots:
    void catalogues_data()
    {
        QTest::addColumn<QByteArray>("ini");    // empty: the embedded catalogue
        QTest::addColumn<bool>("encode");
        QTest::addColumn<QStringList>("entries");
        const QString empty = QStringLiteral("type -1 vid 0000 pid 0000 cmd 0000/0000 evt 0000/0000 len 0 name '%1'");
        QTest::newRow("embedded") << QByteArray() << false
                                  << QStringList{mouse.arg("1038", "first"), mouse.arg("1031", "second"),
                                                 mouse.arg("1039", ""), mouse.arg("1048", "")};
        QTest::newRow("blanks, FF01 and ff01, isEncode") << "; comment\n[common]\nisEncode = true\ntotal = 1\n" + entry
                                                         << true << QStringList{mouse.arg("1031", "first")};
        QTest::newRow("0x40 and garbage hex read as 0")
                << "[common]\ntotal=1\n" + QByteArray(entry).replace("type=1", "type=zz").replace("vid=260D", "vid=xyz")
                                                .replace("pid=1031", "pid=12G4").replace("=64", "=0x40")
                << false << QStringList{"type 0 vid 0000 pid 0000 cmd ff01/0001 evt ff02/0001 len 0 name 'first'"};
        QTest::newRow("no common section") << entry << false << QStringList{};
        QTest::newRow("hostile total") << QByteArray("[common]\ntotal=2000000000\n") << false
                << QStringList{empty.arg("first"), empty.arg("second")} + QStringList(62, empty.arg(""));
    }
    // A broken catalogue never gives invented entries.
    void catalogues()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, encode);
        QFETCH(QStringList, entries);
        TempDataFolder folder;
        const QString file = ini.isEmpty() ? ":/DevInfo.ini" : folder.filePath("DevInfo.ini");
        QVERIFY(ini.isEmpty() || folder.writeFile("DevInfo.ini", ini));
        if (QByteArray(QTest::currentDataTag()) == "hostile total")
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("total"));
        bool readEncode = !encode;
        const QSettings::Format dialect = StoreFile::format();
        QCOMPARE(describe(readCatalogue(file, dialect, {"first", "second"}, &readEncode)), entries);
        QCOMPARE(readEncode, encode);
        QVERIFY(readCatalogue("/nonexistent/DevInfo.ini", dialect, {}, &readEncode).isEmpty() && !readEncode);
    }

    void discovery_data()
    {
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("blocks");    // as sent
        QTest::addColumn<QString>("found");         // the record with paths, and its name
        const QStringList exchange = {"83 00 00 00 00 00 00 7C", "03 0A 0B 0C C1 00 00 1A"}, none, hidden = {"hide window"};
        const QString model1 = "1 1031/cmd 1031/evt 64 one";
        QTest::newRow("English") << connected << exchange << model1;
        QTest::newRow("Chinese") << (connected.mid(0, 3) << "notice Info: 检测到鼠标!") << exchange << model1;
        const QStringList scrambled = {"46 E9 A6 D7 EC A6 2E 37", "4C F0 D6 D7 B8 A6 8E 8F"};
        // A stored code of another length keeps the code loaded before; the connect goes on.
        for (const char *code : {"", ", a code of five characters", ", a code of seven characters"})
            QTest::addRow("scrambled%s", code) << connected << scrambled << model1;
        QTest::newRow("83H query refused") << connected << none << model1;
        QTest::newRow("83H reply of three bytes") << connected << exchange.mid(0, 1) << model1;
        QTest::newRow("models 1 and 3: the lower index") << connected << exchange << model1;
        QTest::newRow("event interface first") << connected << exchange << model1;
        QTest::newRow("the later of two command paths") << connected << exchange << "1 1031/cmd#1 1031/evt 64 one";
        QTest::newRow("model 3 alone") << QStringList{"connected 3"} + connected.mid(1) << exchange
                                       << "3 1048/cmd 1048/evt 64 ";
        for (const char *row : {"no mouse", "only the command interface", "empty catalogue", "no record for did 1"})
            QTest::newRow(row) << hidden << none << "";
    }
    // The first model with both interfaces connects: bit 6 set on options really read.
    void discovery()
    {
        QFETCH(QStringList, calls);
        QFETCH(QStringList, blocks);
        QFETCH(QString, found);
        const QString tag = QTest::currentDataTag();
        using I = SimulatedG7::Interface;
        TempDataFolder data;
        const QString catalogue = "modules/qml/DevInfo.ini";
        QVERIFY(data.copyFromSource(catalogue));
        if (tag.startsWith("scrambled"))
            data.writeFile(catalogue, data.readFile(catalogue).replace("isEncode = false", "isEncode = true"));
        if (tag.contains("catalogue") || tag.contains("record"))
            data.writeFile(catalogue, tag.contains("catalogue") ? "[common]\ntotal=0\n" : "[common]\ntotal=1\n");
        auto mice = std::make_shared<TwoMice>();
        mice->setListing(tag.contains("first") ? QList{I::Event, I::Command}
                         : tag.contains("only") ? QList{I::Command}
                         : tag.contains("two") ? QList{I::Command, I::Command, I::Event} : QList{I::Command, I::Event});
        if (!tag.contains("models"))
            mice->model3.unplug();
        if (tag == "no mouse")
            mice->unplug();
        SimRig rig(tag.contains("model 3") ? std::make_shared<SimulatedG7>(3) : mice);
        rig.sim->setScrambling(tag.startsWith("scrambled"), "246813");
        G7FirmwareState state;
        state.keyboardOptions = QByteArray::fromHex("0A0B0C81");
        rig.sim->setState(state);
        if (tag.endsWith("bytes"))
            rig.sim->setShortReports(3);
        else if (tag.endsWith("refused"))
            rig.sim->failCall(SimulatedG7::Call::FeatureOut);
        RecordingHost host;
        host.inChinese = tag == "Chinese";
        if (tag.startsWith("scrambled"))
            host.code = tag.contains("five") ? "12345" : tag.contains("seven") ? "1234567" : "246813";
        std::memcpy(SecrecyCode, "\0" "246813", 8);   // what a connect before loaded
        Hid_Thread hid(&host);
        hid.hidFree = false;
        QTest::ignoreMessage(QtDebugMsg, calls.size() == 1 ? "Device Error" : "Device Connect");
        runDiscovery(hid, StoreFile::format(), {"zero", "one"}, data.filePath(catalogue));
        QCOMPARE(host.take(), calls);
        QCOMPARE(deviceReady && hid.hidFree && hid.monitorRunning, calls.size() > 1);
        QStringList withPaths;
        for (const DeviceRecord &r : hid.devList) {
            if (!r.path.isEmpty() || !r.path2.isEmpty())
                withPaths << QStringLiteral("%1 %2 %3 %4 %5").arg(r.index).arg(r.path, r.path2).arg(r.reportLength)
                                     .arg(r.productName);
        }
        QCOMPARE(withPaths.join(';').remove("sim-g7/260d:"), found);
        for (QString &block : blocks)
            block.prepend("cmd feature-out 00 ");
        QCOMPARE(rig.trace().texts({"feature-out"}), blocks);
    }

    // Every event report in turn, each followed by a stage-1 event.
    void eventReports()
    {
        const struct { const char *report, *notice; } cases[] = {
            {"06070003", "text 3 1600"}, {"06070008", "text 7 26000"},   // stage 8 uses the seventh text
            {"06050003", nullptr}, {"05070003", nullptr}, {"060700", nullptr}, {"06070000", nullptr}, {"06070009", nullptr}};
        const quint32 values[8] = {400, 800, 1600, 3200, 6400, 12000, 16000, 26000};
        std::copy(values, values + 8, dpiStageValues);
        for (int i = 0; i < 8; ++i)
            dpiSwitchText[i] = QStringLiteral("text %1").arg(i + 1);
        SimRig rig;
        RecordingHost host;
        auto hid = std::make_unique<Hid_Thread>(&host);
        connectMouse(*hid);
        QTRY_COMPARE(poolLoops(), 1);
        host.take();
        for (const auto &c : cases) {
            rig.sim->queueEvent(QByteArray::fromHex(c.report));
            rig.sim->emitDpiEvent(1);
            const QStringList expected = QStringList{"notice Info: " + QString(c.notice), "notice Info: text 1 400"}.mid(!c.notice);
            QTRY_COMPARE(host.calls.size(), expected.size());
            QCOMPARE(host.take(), expected);
        }
        hid->stopMonitor();
        hid->monitorFuture.waitForFinished();
        QCoreApplication::processEvents();   // anything more the ended monitor handed over
        QCOMPARE(host.take(), QStringList());
        QCOMPARE(host.offThreadCalls, 0);
        // Every read of the monitor is bounded, so a stop takes effect within one read.
        const QStringList reads = rig.trace().texts({"read-timeout", "error"}).filter(QRegularExpression("^evt"));
        QCOMPARE(reads, QStringList(reads.size(), "evt read-timeout 500"));
        // The device object waits for the loop it started: none reopens the event interface after it.
        connectMouse(*hid);
        hid.reset();
        const int opened = rig.sim->openCount(SimulatedG7::Interface::Event);
        QVERIFY(QThreadPool::globalInstance()->waitForDone(5000));
        QCOMPARE(rig.sim->openCount(SimulatedG7::Interface::Event), opened);
    }

    // Every slot in turn on one mouse: what it puts on the wire, then on a busy channel its text after 255 polls and
    // nothing sent.
    void everyCommand()
    {
        SimRig rig;
        Hid_Thread hid;
        findCataloguedDevices(hid, StoreFile::format(), {});
        const auto wire = [&rig] { return rig.trace().texts({"feature-out", "data-out", "sleep"}); };
        for (const CommandSlot &command : commandSlots()) {
            rig.clearTrace();
            command.run(hid);
            QCOMPARE(wire(), expand(command.wire));
            QVERIFY(rig.sim->ignoredBlocks().isEmpty() && hid.hidFree && rig.sim->openHandles() == 0);
            rig.clearTrace();
            hid.hidFree = false;
            QTest::ignoreMessage(QtDebugMsg, command.failText);
            command.run(hid);
            hid.hidFree = true;
            QCOMPARE(wire(), QStringList(255, "- sleep 8"));
        }
    }

    void replies_data()
    {
        QTest::addColumn<QString>("results");
        const QString caller = "83 a1a2a3a4 87 0 8B 00 8D 000000 00 00000000 90 " + QString(48, '5') + " replied 0 0 0 0 0";
        QTest::newRow("answered") << "83 01020304 87 5 8B 05 8D 070809 00 37333139 90 " + QString(stateColours.toHex())
                                     + " replied 9 9 9 9 9";
        QTest::newRow("short replies") << "83 a1a2a3a4 87 5 8B 05 8D 070800 00 37330000 90 a0a1a2a3" + QString(40, '0')
                                          + " replied 4 4 4 4 4";
        QTest::newRow("silent") << "83 01020304 87 5 8B 05 8D 070809 00 37333139 90 " + QString(48, '5')
                                   + " replied 9 9 9 9 0";
        QTest::newRow("unplugged after discovery") << caller;
        QTest::newRow("busy") << "83 a1a2a3a4 87 2 8B 99 8D 999999 00 c1c2c3c4 90 " + QString(48, '5') + " replied 0 0 0 0 0";
    }
    // Without an answer a query hands back its presets: the caller's options and colours, else zeros.
    void replies()
    {
        QFETCH(QString, results);
        SimRig rig;
        G7FirmwareState state;
        state.keyboardOptions = QByteArray::fromHex("01020304");
        state.dpiStage = 5;
        std::tie(state.ledEffect, state.ledOption1, state.ledOption2) = std::make_tuple(7, 8, 9);
        state.stageColours = stateColours;
        rig.sim->setState(state);
        Hid_Thread hid;
        prepare(rig, hid);
        for (int i = hid.hidFree ? 6 : 0; i < 6; ++i)
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^cmd Failed"));
        QCOMPARE(queryAll(hid), results);
        // A silent mouse costs one bounded wait: the colour read gives up after 500 ms.
        const int waited = rig.readWaitMs();
        QVERIFY(QByteArray(QTest::currentDataTag()) == "silent" ? waited > 0 && waited <= 500 : waited == 0);
        QCOMPARE(rig.sim->openHandles(), 0);
    }

    void macroTransfer_data()
    {
        QTest::addColumn<quint32>("reportLength");
        QTest::addColumn<QString>("ops");  // "D": one data report opened, written, closed
        QTest::addColumn<QList<int>>("pauses");
        const QString block = "open feature-out close";
        const QList<int> settle = {64, 64}, end = {64, 64, 100};
        QTest::newRow("length 16") << 16u << block + QString(" D").repeated(12) << settle + QList<int>(12, 8) + end;
        QTest::newRow("length 100, the last one padded") << 100u << block + " D D" << settle + QList<int>(2, 8) + end;
        QTest::newRow("length 0") << 0u << block << end;
        QTest::newRow("length beyond any report") << 100000u << block << end;
        QTest::newRow("block-refused") << 64u << "open error feature-out close" << QList<int>{100};
        QTest::newRow("data2-refused") << 64u << block + " D open error data-out close" << QList<int>{64, 64, 8, 100};
        QTest::newRow("unplugged-after-data1") << 64u << block + " D open-failed" << QList<int>{64, 64, 8, 100};
        QTest::newRow("unplugged") << 64u << "open-failed" << QList<int>{100};
    }
    // A failed open forgets the path, so later commands leave the device alone.
    void macroTransfer()
    {
        QFETCH(quint32, reportLength);
        QFETCH(QString, ops);
        QFETCH(QList<int>, pauses);
        SimRig rig;
        Hid_Thread hid;
        prepare(rig, hid);
        hid.devList[int(hid.did)].reportLength = reportLength;
        Payload payload;
        hid.hid_05H_SetMacroKey(1, payload.bytes);
        QStringList seen, sent;
        for (const TraceLine &line : rig.trace().lines())
            seen << (line.op == QLatin1String("error") ? line.text().mid(4) : line.op);
        seen.removeAll("sleep");
        QCOMPARE(seen.join(' ').replace("open data-out close", "D"), ops);
        for (int i = 0; i < ops.count('D'); ++i)
            sent << "cmd data-out " + ('\0' + payload.left(192).mid(i * reportLength, reportLength)
                                                 .leftJustified(reportLength, '\0')).toHex(' ').toUpper();
        QCOMPARE(rig.trace().texts({"data-out"}), sent);
        QCOMPARE(rig.sleeper->pauses, pauses);
        QVERIFY(hid.hidFree && !hid.hidDev && rig.sim->openHandles() == 0);
        QCOMPARE(hid.record(hid.did).path.isEmpty(), ops.contains("open-failed"));
    }

    // A DPI press during a colour read on one node: the command handle skips the event report, waits for the colours.
    void eventsOnTheCommandNode()
    {
        for (const int type : {1, 2}) {   // eight colours, packed colours
            auto sim = std::make_shared<SimulatedG7>();
            sim->setSharedNode(true);
            SimRig rig(sim);
            G7FirmwareState state;
            state.stageColours = stateColours;
            sim->setState(state);
            Hid_Thread hid;
            findCataloguedDevices(hid, StoreFile::format(), {});
            sim->emitDpiEventWithNextInput(3);
            QByteArray colours(24, 0x55);
            hid.hid_90H_GetLED8StageColor(uchar(type), reinterpret_cast<uchar *>(colours.data()));
            const int n = type == 2 ? 4 : 24;
            QCOMPARE(colours, stateColours.left(n) + QByteArray(24 - n, 0x55));
            QCOMPARE(rig.trace().texts({"data-in"}), (QStringList{"cmd data-in 06 07 00 03",
                     "cmd data-in " + stateColours.toHex(' ').toUpper() + QString(" 00").repeated(40)}));
        }
    }

    // A failed read of a reply leaves its line (the other operations: the tests that read their traces).
    void traceOfAnExchange()
    {
        SimRig rig;
        HidHandle *cmd = hidBackend().openPath(rig.sim->commandPath());
        rig.sim->failCall(SimulatedG7::Call::FeatureIn);
        uchar in[9];
        QCOMPARE(hidBackend().getFeatureReport(cmd, in, 9), -1);
        hidBackend().close(cmd);
        QCOMPARE(rig.trace().texts(), QStringList({"cmd open", "cmd error feature-in", "cmd close"}));
        // An unwritable trace file costs one console line and no trace.
        DeviceOptions options{true, 1, "/nonexistent/dir/t.txt"};
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Cannot write the report trace /nonexistent/dir/t.txt"));
        const std::shared_ptr<SimulatedG7> sim = installDeviceBackend(options);
        QVERIFY(sim && !ReportTrace::isOpen() && dynamic_cast<SimulatedG7 *>(&hidBackend()) == sim.get());
        // Nor anything but a regular file: a FIFO nobody reads must not hold the open up.
        QTemporaryDir dir;
        const QString fifo = dir.filePath("trace.fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const QString &notFile : {fifo, QStringLiteral("/dev/null")}) {
            QTest::ignoreMessage(QtDebugMsg,
                                 QRegularExpression("^Cannot write the report trace .*: not a regular file$"));
            QVERIFY(!ReportTrace::open(notFile));
        }
    }
};

QTEST_GUILESS_MAIN(tst_Hid)
#include "tst_hid.moc"
