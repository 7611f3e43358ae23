#include "myqquickview.h"
#include "pagerig.h"
#include "recordingpointersettings.h"
#include "support_simrig.h"
#include "tempdatafolder.h"

#include <QQmlContext>
#include <QQuickItem>
#include <QTest>
#include <QThreadPool>

namespace {

QStringList blocksSince(const SimulatedG7 &sim, qsizetype from)
{
    QStringList blocks;
    for (const QByteArray &block : sim.acceptedBlocks().mid(from))
        blocks << block.toHex(' ');
    return blocks;
}

// Every value of the current profile, as the store reads it.
QStringList profileValues(const myQQuickView &view)
{
    QSettings *settings = view.store.currentSettings();
    QStringList values;
    for (const QString &key : settings->allKeys())
        values << key + '=' + settings->value(key).toString();
    return values;
}

} // namespace

// Device-change messages arriving in a burst while the page re-sends a profile
// (key matrix, DPI, lighting, rates): the re-send is not cut into, the burst
// ends in one reconnect, the profile keeps its values, one monitor loop runs
// and no handle stays open.
class tst_FaultsResend : public QObject
{
    Q_OBJECT
private slots:
    void burstDuringResend_data();
    void burstDuringResend();
};

void tst_FaultsResend::burstDuringResend_data()
{
    QTest::addColumn<bool>("unplugs");
    QTest::newRow("a rescan at every pump") << false;
    QTest::newRow("unplugged and back within the burst") << true;
}

void tst_FaultsResend::burstDuringResend()
{
    QFETCH(bool, unplugs);
    TempDataFolder data;
    for (const char *file : {"modules/setting/apConfig.bin", "modules/setting/pD.bin"})
        QVERIFY(data.copyFromSource(file));
    QByteArray profile = data.readFile("modules/setting/pD.bin");
    QVERIFY(data.writeFile("modules/setting/p1.bin",
                           profile.replace("reportRate_J2=", "reportRate_J2=4\nold_reportRate=")));
    SimRig rig;
    RecordingHost host;
    Hid_Thread hid(&host);
    WindowControllerStub controller;
    myQQuickView view;
    recordPointerSettings(view);
    view.hid = &hid;
    host.onConnect = [&view](int curDevice) { view.initUI(curDevice); };
    host.onClearBusy = [&view] { view.clearHidBusy(); };
    view.rootContext()->setContextProperty("ui_View", &view);
    view.rootContext()->setContextProperty("hid", &hid);
    view.rootContext()->setContextProperty("ui_Ctl", &controller);
    view.setSource(QUrl("qrc:/modules/qml/main.qml"));
    view.resize(1000, 640);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    discover(hid);
    // The page has loaded once its start-up ran, after the connect step.
    QTRY_VERIFY_WITH_TIMEOUT(host.viewEnabled && deviceReady && view.rootObject()->property("isPowerOn").toBool(), 5000);
    QCOMPARE(host.connects, 1);

    const auto resend = [&] {
        QMetaObject::invokeMethod(view.rootObject(), "reloadPanels", Q_ARG(QVariant, true));
    };
    PumpProbe probe;
    qsizetype from = rig.sim->acceptedBlocks().size();
    probe.start([](int) {});
    resend();
    probe.stop();
    const int pumps = probe.pumps;
    const QStringList reference = blocksSince(*rig.sim, from);
    QVERIFY2(reference.size() >= 8 && pumps >= reference.size() - 4, qPrintable(QString::number(pumps)));
    QCOMPARE(rig.sim->state().reportRate, 4);
    const QStringList values = profileValues(view);
    const QByteArray file = data.readFile("modules/setting/p1.bin");

    // The burst: a rescan at every pump, the mouse gone from the second to the last where it unplugs.
    from = rig.sim->acceptedBlocks().size();
    probe.start([&](int pump) {
        if (unplugs && pump == 2)
            rig.sim->unplug();
        if (unplugs && pump == pumps)
            rig.sim->plug();
        discover(hid);
    });
    resend();
    probe.stop();
    QCOMPARE(probe.pumps, pumps);   // the burst adds no wait to the re-send
    const QStringList sent = blocksSince(*rig.sim, from);
    qInfo("re-send: %lld blocks, %d pumps; %lld blocks under the burst", qlonglong(reference.size()), pumps,
          qlonglong(sent.size()));
    if (unplugs)
        QVERIFY(sent.size() < reference.size());   // what was sent while the mouse was gone is lost to it
    else
        QCOMPARE(sent, reference);   // nothing lost, nothing cut in
    QTRY_COMPARE(host.connects, 2);     // the whole burst: one reconnect after the re-send
    QTRY_VERIFY(host.viewEnabled && hid.hidFree && hid.monitorRunning);
    QTRY_COMPARE(QThreadPool::globalInstance()->activeThreadCount(), 1);
    QVERIFY(rig.sim->openHandles() <= 1);
    QCOMPARE(profileValues(view), values);
    StoreFile::sync(*view.store.currentSettings());
    QCOMPARE(data.readFile("modules/setting/p1.bin"), file);

    // The next re-send puts the whole profile on the mouse again.
    from = rig.sim->acceptedBlocks().size();
    resend();
    QCOMPARE(blocksSince(*rig.sim, from), reference);
    QCOMPARE(rig.sim->state().reportRate, 4);

    hid.stopMonitor();
    rig.sim->unplug();
    QTRY_COMPARE(QThreadPool::globalInstance()->activeThreadCount(), 0);
    QCOMPARE(rig.sim->openHandles(), 0);
}

QTEST_MAIN(tst_FaultsResend)
#include "tst_faults_resend.moc"
