#include "hid_thread.h"
#include "support_attach.h"
#include "support_recordinghost.h"
#include "support_simrig.h"
#include "tempdatafolder.h"

#include <QElapsedTimer>
#include <QTest>
#include <QThreadPool>

namespace {

const QString detectNotice = QStringLiteral("notice Info: Detect Mouse!");

// Connects to the rig's mouse the way discovery does.
void connectMouse(Hid_Thread &hid)
{
    QTest::ignoreMessage(QtDebugMsg, "Device Connect");
    attachShippedCatalogue(hid);
    hid.swichCurDevice(hid.did);
}

QList<QByteArray> acceptedWithCode(const SimRig &rig, char code)
{
    QList<QByteArray> blocks;
    for (const QByteArray &block : rig.sim->acceptedBlocks()) {
        if (block.at(0) == code)
            blocks.append(block);
    }
    return blocks;
}

} // namespace

class tst_Connection : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void connectNotice_data();
    void connectNotice();
    void optionsWrittenOnlyWhenRead_data();
    void optionsWrittenOnlyWhenRead();
    void oneMonitorAfterTwoConnects();
    void eventReports_data();
    void eventReports();
    void unplugAndReplug();
    void rediscoveryBeforeRemovalIsHandled();
    void secrecyCode_data();
    void secrecyCode();
};

void tst_Connection::init()
{
    isEncode = false;
    deviceReady = false;
    const quint32 values[8] = {400, 800, 1600, 3200, 6400, 12000, 16000, 26000};
    std::copy(std::begin(values), std::end(values), dpiStageValues);
    for (QString &text : dpiSwitchText)
        text = QStringLiteral("DPI Switch to");
}

void tst_Connection::cleanup()
{
    QVERIFY(QThreadPool::globalInstance()->waitForDone(2000));
}

void tst_Connection::connectNotice_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("notice");
    QTest::newRow("English") << "English" << "Detect Mouse!";
    QTest::newRow("ChineseSimplified") << "ChineseSimplified" << "检测到鼠标!";
}

// A connect starts the page, enables the view, frees the channel, tells the
// user and turns the mouse's DPI events on (bit 6 of the fourth option byte).
void tst_Connection::connectNotice()
{
    QFETCH(QString, language);
    QFETCH(QString, notice);
    SimRig rig;
    G7FirmwareState state;
    state.keyboardOptions = QByteArray::fromHex("0A0B0C81");
    rig.sim->setState(state);
    RecordingHost host;
    host.lang = language;
    Hid_Thread hid(&host);
    hid.hidFree = false;

    connectMouse(hid);

    QCOMPARE(host.takeCalls(), QStringList({"connected 1", "view enabled", "clear busy", "notice Info: " + notice}));
    QVERIFY(deviceReady);
    QVERIFY(hid.hidFree);
    QVERIFY(hid.monitorRunning);
    QCOMPARE(rig.sim->state().keyboardOptions.toHex(), QByteArray("0a0b0cc1"));
    hid.stopMonitor();
}

void tst_Connection::optionsWrittenOnlyWhenRead_data()
{
    QTest::addColumn<SimulatedG7::Call>("failing");
    QTest::newRow("query not delivered") << SimulatedG7::Call::FeatureOut;
    QTest::newRow("reply not read") << SimulatedG7::Call::FeatureIn;
}

// When the options could not be read, nothing is written back: the mouse
// keeps its own options, and the monitor still starts.
void tst_Connection::optionsWrittenOnlyWhenRead()
{
    QFETCH(SimulatedG7::Call, failing);
    SimRig rig;
    G7FirmwareState state;
    state.keyboardOptions = QByteArray::fromHex("0A0B0C01");
    rig.sim->setState(state);
    rig.sim->failCall(failing);
    Hid_Thread hid;

    connectMouse(hid);

    QCOMPARE(acceptedWithCode(rig, 0x03), QList<QByteArray>());
    QCOMPARE(rig.sim->state().keyboardOptions.toHex(), QByteArray("0a0b0c01"));
    QVERIFY(hid.monitorRunning);
    hid.stopMonitor();
}

// A second connect (a discovery while connected) replaces the monitor; the
// old loop has ended before the new one starts, and stopping ends the last.
void tst_Connection::oneMonitorAfterTwoConnects()
{
    SimRig rig;
    RecordingHost host;
    Hid_Thread hid(&host);
    connectMouse(hid);
    QFuture<void> first = hid.monitorFuture;

    QTest::ignoreMessage(QtDebugMsg, "Device Connect");
    hid.swichCurDevice(hid.did);
    QVERIFY(first.isFinished());
    QVERIFY(!hid.monitorFuture.isFinished());
    QTRY_COMPARE(QThreadPool::globalInstance()->activeThreadCount(), 1);

    host.takeCalls();
    rig.sim->emitDpiEvent(2);
    QTRY_COMPARE(host.callsSoFar(), QStringList{"notice Info: DPI Switch to 800"});

    QElapsedTimer clock;
    clock.start();
    hid.stopMonitor();
    hid.monitorFuture.waitForFinished();
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(host.offThreadCalls.load(), 0);
}

void tst_Connection::eventReports_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<QStringList>("notices");

    QTest::newRow("stage 3") << QByteArray::fromHex("06070003") << QStringList{"DPI Switch to 1600"};
    QTest::newRow("stage 7") << QByteArray::fromHex("06070007") << QStringList{"text 7 16000"};
    QTest::newRow("stage 8 uses the seventh text") << QByteArray::fromHex("06070008")
                                                   << QStringList{"text 7 26000"};
    QTest::newRow("other event kind") << QByteArray::fromHex("06050003") << QStringList{};
    QTest::newRow("other report ID") << QByteArray::fromHex("05070003") << QStringList{};
    QTest::newRow("short report") << QByteArray::fromHex("060700") << QStringList{};
    QTest::newRow("stage 0") << QByteArray::fromHex("06070000") << QStringList{};
    QTest::newRow("stage 9") << QByteArray::fromHex("06070009") << QStringList{};
    QTest::newRow("stage 255") << QByteArray::fromHex("060700FF") << QStringList{};
}

// Each DPI event shows its notice on the GUI thread; anything else is ignored.
// A stage-1 event follows every report so the test knows when it was handled.
void tst_Connection::eventReports()
{
    QFETCH(QByteArray, report);
    QFETCH(QStringList, notices);
    dpiSwitchText[6] = QStringLiteral("text 7");
    dpiSwitchText[7] = QStringLiteral("text 8");
    SimRig rig;
    RecordingHost host;
    Hid_Thread hid(&host);
    connectMouse(hid);
    host.takeCalls();

    rig.sim->queueEvent(report);
    rig.sim->emitDpiEvent(1);

    QStringList expected;
    for (const QString &notice : notices + QStringList{"DPI Switch to 400"})
        expected.append("notice Info: " + notice);
    QTRY_COMPARE(host.callsSoFar().size(), expected.size());
    QTest::qWait(20);
    QCOMPARE(host.takeCalls(), expected);
    QCOMPARE(host.offThreadCalls.load(), 0);
    hid.stopMonitor();
}

// Unplugging is noticed by the monitor within one read; the view is disabled
// on the GUI thread. Plugging in again and connecting brings everything back.
void tst_Connection::unplugAndReplug()
{
    SimRig rig;
    RecordingHost host;
    Hid_Thread hid(&host);
    connectMouse(hid);
    host.takeCalls();

    QTest::ignoreMessage(QtDebugMsg, "Device removed");
    QElapsedTimer clock;
    clock.start();
    rig.sim->unplug();
    QTRY_COMPARE_WITH_TIMEOUT(host.callsSoFar(), QStringList{"view disabled"}, 2000);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!hid.monitorRunning);
    QVERIFY(hid.record(hid.did).path2.isEmpty());
    QCOMPARE(host.offThreadCalls.load(), 0);
    host.takeCalls();

    rig.sim->plug();
    connectMouse(hid);
    QCOMPARE(host.takeCalls(), QStringList({"connected 1", "view enabled", "clear busy", detectNotice}));
    QVERIFY(hid.monitorRunning);
    rig.sim->emitDpiEvent(3);
    QTRY_COMPARE(host.callsSoFar(), QStringList{"notice Info: DPI Switch to 1600"});
    hid.stopMonitor();
}

// A monitor that lost the mouse forgets the event path only in the list it
// read: a discovery that ran before the GUI thread got the word keeps its paths.
void tst_Connection::rediscoveryBeforeRemovalIsHandled()
{
    SimRig rig;
    RecordingHost host;
    Hid_Thread hid(&host);
    connectMouse(hid);

    QTest::ignoreMessage(QtDebugMsg, "Device removed");
    rig.sim->unplug();
    hid.monitorFuture.waitForFinished();    // no events processed yet
    rig.sim->plug();
    attachShippedCatalogue(hid);
    QCoreApplication::processEvents();

    QCOMPARE(host.takeCalls().last(), QStringLiteral("view disabled"));
    QCOMPARE(hid.record(hid.did).path2.toLatin1(), rig.sim->eventPath());
    QTest::ignoreMessage(QtDebugMsg, "Device Connect");
    hid.swichCurDevice(hid.did);
    rig.sim->emitDpiEvent(2);
    QTRY_COMPARE(host.callsSoFar().last(), QStringLiteral("notice Info: DPI Switch to 800"));
    QVERIFY(hid.monitorRunning);
    hid.stopMonitor();
}

void tst_Connection::secrecyCode_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QByteArray>("code");

    QTest::newRow("six characters") << QByteArray("[common]\nsCode1=A1b2C3\n") << QByteArray("A1b2C3");
    QTest::newRow("missing key: default") << QByteArray("[common]\nsCode0=999999\n") << QByteArray("731946");
    QTest::newRow("five characters keep the last code") << QByteArray("[common]\nsCode1=12345\n")
                                                        << QByteArray("prev!!");
    QTest::newRow("seven characters keep the last code") << QByteArray("[common]\nsCode1=1234567\n")
                                                         << QByteArray("prev!!");
}

// The code comes from the settings key of the connected index; a code of the
// wrong length leaves the previous one and does not stop the connect.
void tst_Connection::secrecyCode()
{
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, code);
    TempDataFolder data;
    QVERIFY(data.writeFile("modules/setting/apConfig.bin", settings));
    const unsigned char previous[8] = {0, 'p', 'r', 'e', 'v', '!', '!', 0};
    std::copy(std::begin(previous), std::end(previous), SecrecyCode);
    SimRig rig;
    Hid_Thread hid;

    connectMouse(hid);

    QCOMPARE(QByteArray(reinterpret_cast<char *>(SecrecyCode), 8), '\0' + code + '\0');
    QVERIFY(deviceReady);
    hid.stopMonitor();
}

QTEST_GUILESS_MAIN(tst_Connection)
#include "tst_connection.moc"
