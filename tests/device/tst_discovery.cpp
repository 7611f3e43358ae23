#include "discovery.h"
#include "hid_thread.h"
#include "scrambler.h"
#include "support_attach.h"
#include "support_recordinghost.h"
#include "support_simrig.h"
#include "tempdatafolder.h"
#include "tracingbackend.h"

#include <QTest>

using Listing = QList<SimulatedG7::Interface>;

namespace {

constexpr auto Command = SimulatedG7::Interface::Command;
constexpr auto Event = SimulatedG7::Interface::Event;

// Several simulated mice on one bus, as far as discovery sees it: each
// enumeration goes to the mouse with the product ID. Discovery opens nothing.
class SeveralMice : public HidBackend
{
public:
    explicit SeveralMice(QList<std::shared_ptr<SimulatedG7>> mice) : m_mice(std::move(mice)) {}

    HidDeviceInfo *enumerate(uint16_t vendorId, uint16_t productId) override
    {
        for (const auto &mouse : m_mice) {
            if (HidDeviceInfo *devs = mouse->enumerate(vendorId, productId))
                return devs;
        }
        return nullptr;
    }
    void freeEnumeration(HidDeviceInfo *devs) override { m_mice.first()->freeEnumeration(devs); }
    HidHandle *openPath(const char *) override { return nullptr; }
    void close(HidHandle *) override {}
    int setNonblocking(HidHandle *, int) override { return -1; }
    int sendFeatureReport(HidHandle *, const unsigned char *, size_t) override { return -1; }
    int getFeatureReport(HidHandle *, unsigned char *, size_t) override { return -1; }
    int write(HidHandle *, const unsigned char *, size_t) override { return -1; }
    int read(HidHandle *, unsigned char *, size_t) override { return -1; }
    int readTimeout(HidHandle *, unsigned char *, size_t, int) override { return -1; }

private:
    QList<std::shared_ptr<SimulatedG7>> m_mice;
};

QByteArray catalogueText(bool encode, int total)
{
    QByteArray text = "[common]\nisEncode = " + QByteArray(encode ? "true" : "false") + "\ntotal = "
            + QByteArray::number(total) + "\n";
    const char *pids[] = {"1038", "1031", "1039", "1048"};
    for (int i = 0; i < total; ++i) {
        text += "[" + QByteArray::number(i) + "]\ntype = 1\nvid = 260D\npid = " + pids[i]
                + "\nusagePage=ff01\nusage=0001\nusagePage2=ff02\nusage2=0001\nreportLength=64\n";
    }
    return text;
}

} // namespace

Q_DECLARE_METATYPE(Listing)

class tst_Discovery : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void findDevices_data();
    void findDevices();
    void laterListingWins();
    void discoveryConnects_data();
    void discoveryConnects();
    void scrambledCatalogueEndToEnd();
};

void tst_Discovery::init()
{
    isEncode = false;
    deviceReady = false;
}

void tst_Discovery::findDevices_data()
{
    QTest::addColumn<QList<int>>("models");
    QTest::addColumn<Listing>("listing");
    QTest::addColumn<int>("did");
    QTest::addColumn<int>("records");

    const Listing both{Command, Event};
    QTest::newRow("nothing attached") << QList<int>{} << both << 2 << 4;
    QTest::newRow("only the command interface") << QList<int>{1} << Listing{Command} << 2 << 4;
    QTest::newRow("only the event interface") << QList<int>{1} << Listing{Event, Event} << 2 << 4;
    QTest::newRow("model 3 alone") << QList<int>{3} << both << 3 << 4;
    QTest::newRow("models 1 and 3: the lower index wins") << QList<int>{3, 1} << both << 1 << 2;
    QTest::newRow("event interface listed first") << QList<int>{0} << Listing{Event, Command} << 0 << 1;
}

// The first catalogued model with both interfaces becomes did; the list holds
// the records up to it, or the whole catalogue with empty paths when nothing
// is found (did then keeps its value).
void tst_Discovery::findDevices()
{
    QFETCH(QList<int>, models);
    QFETCH(Listing, listing);
    QFETCH(int, did);
    QFETCH(int, records);

    QList<std::shared_ptr<SimulatedG7>> mice;
    for (int model : models) {
        mice.append(std::make_shared<SimulatedG7>(model));
        mice.last()->setListing(listing);
    }
    setHidBackend(std::make_shared<SeveralMice>(mice));

    Hid_Thread hid;
    hid.did = 2;
    attachShippedCatalogue(hid);

    QCOMPARE(int(hid.did), did);
    QCOMPARE(hid.devList.size(), records);
    for (int i = 0; i < records; ++i) {
        const DeviceRecord record = hid.devList.at(i);
        QCOMPARE(record.index, i);
        QCOMPARE(record.type, 1);
        const bool found = i == did && models.contains(i);
        QCOMPARE(record.path.isEmpty(), !found);
        QCOMPARE(record.path2.isEmpty(), !found);
        if (found) {
            const auto mouse = *std::find_if(mice.begin(), mice.end(), [i](auto &m) { return m->model() == i; });
            QCOMPARE(record.path.toLatin1(), mouse->commandPath());
            QCOMPARE(record.path2.toLatin1(), mouse->eventPath());
            QCOMPARE(record.reportLength, 64u);
        }
    }
    setHidBackend(nullptr);
}

void tst_Discovery::laterListingWins()
{
    SimRig rig(1);
    rig.sim->setListing({Command, Command, Event});
    Hid_Thread hid;
    attachShippedCatalogue(hid);
    QCOMPARE(hid.record(1).path.toLatin1(), rig.sim->pathOf(Command, 1));
    QCOMPARE(hid.record(1).path2.toLatin1(), rig.sim->eventPath());
}

void tst_Discovery::discoveryConnects_data()
{
    QTest::addColumn<QByteArray>("catalogue");
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("productName");

    QTest::newRow("shipped catalogue, mouse attached")
            << QByteArray() << true << QStringList{"connected 1", "view enabled", "clear busy",
                                                   "notice Info: Detect Mouse!"}
            << "ORVANE GLIDE MOUSE G7";
    QTest::newRow("shipped catalogue, no mouse") << QByteArray() << false << QStringList{"hide window"}
                                                 << "ORVANE GLIDE MOUSE G7";
    QTest::newRow("empty catalogue") << catalogueText(false, 0) << true << QStringList{"hide window"} << QString();
    QTest::newRow("catalogue shorter than the first index")
            << catalogueText(false, 1) << true << QStringList{"hide window"} << QString();
}

// One whole check: catalogue, product names from the settings, the search and
// the connect step, which reports a missing or unlisted device as an error.
void tst_Discovery::discoveryConnects()
{
    QFETCH(QByteArray, catalogue);
    QFETCH(bool, plugged);
    QFETCH(QStringList, calls);
    QFETCH(QString, productName);

    TempDataFolder data;
    QVERIFY(data.copyFromSource("modules/setting/apConfig.bin"));
    QString cataloguePath = QStringLiteral(":/DevInfo.ini");
    if (!catalogue.isEmpty()) {
        QVERIFY(data.writeFile("DevInfo.ini", catalogue));
        cataloguePath = data.filePath("DevInfo.ini");
    }
    SimRig rig(1);
    if (!plugged)
        rig.sim->unplug();
    RecordingHost host;
    Hid_Thread hid(&host);

    QTest::ignoreMessage(QtDebugMsg, calls.size() == 1 ? "Device Error" : "Device Connect");
    runDiscovery(hid, cataloguePath);

    QCOMPARE(host.takeCalls(), calls);
    QCOMPARE(deviceReady, calls.size() > 1);
    QCOMPARE(hid.monitorRunning.load(), calls.size() > 1);
    QCOMPARE(hid.record(1).productName, productName);
    hid.stopMonitor();
}

// With scrambling switched on in the catalogue, the connect step's option
// exchange travels scrambled under the code from the settings, and the value
// read back (unscrambled) is what gets written with bit 6 set.
void tst_Discovery::scrambledCatalogueEndToEnd()
{
    TempDataFolder data;
    QVERIFY(data.writeFile("modules/setting/apConfig.bin", "[common]\nsCode1=246813\n"));
    QVERIFY(data.writeFile("DevInfo.ini", catalogueText(true, 2)));
    SimRig rig(1);
    rig.sim->setScrambling(true, "246813");
    G7FirmwareState state;
    state.keyboardOptions = QByteArray::fromHex("01020304");
    rig.sim->setState(state);
    Hid_Thread hid;

    QTest::ignoreMessage(QtDebugMsg, "Device Connect");
    runDiscovery(hid, data.filePath("DevInfo.ini"));
    hid.stopMonitor();

    QVERIFY(isEncode);
    QCOMPARE(rig.sim->state().keyboardOptions.toHex(), QByteArray("01020344"));
    QVERIFY(rig.sim->ignoredBlocks().isEmpty());

    const unsigned char code[8] = {0, '2', '4', '6', '8', '1', '3', 0};
    unsigned char query[8] = {0x83, 0, 0, 0, 0, 0, 0, 0x7C};
    unsigned char write[8] = {0x03, 0x01, 0x02, 0x03, 0x44, 0, 0, 0xB2};
    scrambleBlock(query, code);
    scrambleBlock(write, code);
    const QList<TraceLine> sent = rig.trace().withOp("feature-out");
    QCOMPARE(sent.size(), 2);
    QCOMPARE(sent.at(0).bytes().toHex(), (QByteArray(1, '\0') + QByteArray(reinterpret_cast<char *>(query), 8)).toHex());
    QCOMPARE(sent.at(1).bytes().toHex(), (QByteArray(1, '\0') + QByteArray(reinterpret_cast<char *>(write), 8)).toHex());
}

QTEST_GUILESS_MAIN(tst_Discovery)
#include "tst_discovery.moc"
