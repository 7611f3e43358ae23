#include "support_simrig.h"
#include "tempdatafolder.h"

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

} // namespace

class tst_Connection : public QObject
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
        QTest::newRow("scrambled") << connected << scrambled << model1;
        // A stored code of another length keeps the code loaded before; the connect goes on.
        QTest::newRow("scrambled, a code of five characters") << connected << scrambled << model1;
        QTest::newRow("scrambled, a code of seven characters") << connected << scrambled << model1;
        QTest::newRow("83H query refused") << connected << none << model1;
        QTest::newRow("83H reply of three bytes") << connected << exchange.mid(0, 1) << model1;
        QTest::newRow("models 1 and 3: the lower index") << connected << exchange << model1;
        QTest::newRow("event interface first") << connected << exchange << model1;
        QTest::newRow("the later of two command paths") << connected << exchange << "1 1031/cmd#1 1031/evt 64 one";
        QTest::newRow("model 3 alone") << QStringList{"connected 3"} + connected.mid(1) << exchange
                                       << "3 1048/cmd 1048/evt 64 ";
        QTest::newRow("no mouse") << hidden << none << "";
        QTest::newRow("only the command interface") << hidden << none << "";
        QTest::newRow("empty catalogue") << hidden << none << "";
        QTest::newRow("no record for did 1") << hidden << none << "";
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
        QCOMPARE(isEncode, tag.startsWith("scrambled"));
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
};

QTEST_GUILESS_MAIN(tst_Connection)
#include "tst_connection.moc"
