#include "support_bridgerig.h"

#include <QTest>

#include <functional>

// Each device-setting slot against the simulated mouse: the exact reports on
// the command interface and the exact keys in the profile file.
using SlotCall = std::function<void(myQQuickView &)>;
Q_DECLARE_METATYPE(SlotCall)

class tst_DeviceSettings : public QObject
{
    Q_OBJECT

private slots:
    void sendsAndStores_data();
    void sendsAndStores();
    void storedValueStaysWhenTheDeviceIsGone();
    void currentStageIsReadOnlyWhileVisible();
    void keyboardOptionsComeFromTheDevice();
    void profileSwitchRedirectsEverySlot();
};

static QString featureOut(const char *hex)
{
    return QStringLiteral("cmd feature-out ") + QLatin1String(hex);
}

// A data report as written: report ID 00, the payload, zeros up to 64 bytes.
static QString dataOut(const QByteArray &payload)
{
    QByteArray report = QByteArray(1, '\0') + payload;
    report.append(QByteArray(65 - report.size(), '\0'));
    return QStringLiteral("cmd data-out ") + QString::fromLatin1(report.toHex(' ').toUpper());
}

static QVariantList palette()
{
    return {255, 0, 0, 0, 0, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 127, 0, 255, 0, 255, 255, 255, 255};
}

void tst_DeviceSettings::sendsAndStores_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<SlotCall>("call");
    QTest::addColumn<QStringList>("reports");
    QTest::addColumn<QStringList>("profile");   // every line of p1.bin afterwards, "group/key=value"

    QTest::newRow("report rate") << 1 << SlotCall([](myQQuickView &v) { v.ui_01H_SetReportRate(4); })
        << QStringList{featureOut("00 01 04 03 03 0F 00 00 E5")}
        << QStringList{"sensor/reportRate_J2=4"};
    QTest::newRow("lift-off") << 1 << SlotCall([](myQQuickView &v) { v.mouseSetJMGD(3); })
        << QStringList{featureOut("00 04 03 00 00 00 00 00 F8")}
        << QStringList{"sensor/jmgd=3"};
    QTest::newRow("keyboard options, not stored")
        << 1 << SlotCall([](myQQuickView &v) { v.ui_03H_SetKeyboardoption(1, 2, 3, 0x40); })
        << QStringList{featureOut("00 03 01 02 03 40 00 00 B6")} << QStringList{};
    QTest::newRow("recoil parameters, not stored")
        << 1 << SlotCall([](myQQuickView &v) { v.ui_04H_SetGunData(1, 2, 3, 4, 5); })
        << QStringList{featureOut("00 04 01 02 03 04 05 00 EC")} << QStringList{};
    QTest::newRow("sensitivity masked to a byte, code 0B")
        << 1 << SlotCall([](myQQuickView &v) { v.ui_0EH_SetXYSensitive(300, QString("7")); })
        << QStringList{featureOut("00 0B 2C 07 00 00 00 00 C1")} << QStringList{};
    QTest::newRow("sensitivity level, stored only")
        << 1 << SlotCall([](myQQuickView &v) { v.setXYSensitive(1, 6); })
        << QStringList{} << QStringList{"XYSensitive/1=6"};
    QTest::newRow("color static level 7")
        << 1 << SlotCall([](myQQuickView &v) { v.ui_06H_SetRGBLedEffect(13, 0, 7, {13, 0, 7, 255, 0, 0}); })
        << QStringList{featureOut("00 06 0D 00 32 06 01 00 00")}
        << QStringList{"color_J2/ledEffect=13, 0, 7, 255, 0, 0"};
    QTest::newRow("static brightness 50%")
        << 1 << SlotCall([](myQQuickView &v) { v.ui_06H_SetRGBLedEffect(0, 7, 2, {0, 7, 2, 0, 0, 0}); })
        << QStringList{featureOut("00 06 00 07 19 06 01 00 00")}
        << QStringList{"color_J2/ledEffect=0, 7, 2, 0, 0, 0"};
    QTest::newRow("breath slowest")
        << 1 << SlotCall([](myQQuickView &v) { v.ui_06H_SetRGBLedEffect(1, 0, 0, {1, 0, 0, 0, 255, 0}); })
        << QStringList{featureOut("00 06 01 00 32 0A 01 00 00")}
        << QStringList{"color_J2/ledEffect=1, 0, 0, 0, 255, 0"};
    QTest::newRow("lighting palette") << 1 << SlotCall([](myQQuickView &v) { v.ui_LEDColor(palette()); })
        << QStringList{featureOut("00 0C 00 00 01 00 00 00 F2"),
                       dataOut(QByteArray::fromHex("FF00000000FF00FF00FFFF0000FFFFFF7F00FF00FFFFFFFF"))}
        << QStringList{"color_J2/type0=255, 0, 0, 0, 0, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, "
                       "255, 127, 0, 255, 0, 255, 255, 255, 255"};
    QTest::newRow("stage colours, three values")
        << 1 << SlotCall([](myQQuickView &v) { v.ui_10H_SetLED8StageColor(1, {1, 2, 3}); })
        << QStringList{featureOut("00 0A 00 00 01 00 00 00 F4"), dataOut(QByteArray::fromHex("010203"))}
        << QStringList{"color_J2/type1=1, 2, 3"};
    QTest::newRow("stage colours type 2 packed, 24-byte form")
        << 1 << SlotCall([](myQQuickView &v) { v.ui_10H_SetLED8StageColor(2, {1, 2, 3, 4, 5, 6, 7, 8, 9}); })
        << QStringList{featureOut("00 0A 00 00 01 00 00 00 F4"),
                       dataOut(QByteArray::fromHex("214365870506070809") + QByteArray(15, '\0'))}
        << QStringList{"color_J2/type2=1, 2, 3, 4, 5, 6, 7, 8, 9"};
    QTest::newRow("dpi on variant 0")
        << 0 << SlotCall([](myQQuickView &v) {
               v.ui_11H_SetDPISet(1, {}, {200, 7200, 7300, 12000, 400, 800, 1600, 3200}, {1, 1, 0, 0, 0, 0, 0, 0});
           })
        << QStringList{featureOut("00 08 08 10 20 40 0C 00 00"), featureOut("00 07 01 03 04 90 48 77 00")}
        << QStringList{"sensor/dpi_J2_3336=200, 7200, 7300, 12000, 400, 800, 1600, 3200",
                       "sensor/dpi_Select=1, 1, 0, 0, 0, 0, 0, 0"};
    QTest::newRow("dpi on variant 1")
        << 1 << SlotCall([](myQQuickView &v) {
               v.ui_11H_SetDPISet(0, {}, {12700, 12800, 16000, 12900, 800, 1600, 3200, 6400}, {1, 1, 1, 1, 1, 1, 1, 1});
           })
        << QStringList{featureOut("00 08 10 20 40 80 0E 00 00"), featureOut("00 07 00 FF FE 00 40 02 00")}
        << QStringList{"sensor/dpi_J2=12700, 12800, 16000, 12900, 800, 1600, 3200, 6400",
                       "sensor/dpi_Select=1, 1, 1, 1, 1, 1, 1, 1"};
    QTest::newRow("dpi on variant 3, 12800 doubled")
        << 3 << SlotCall([](myQQuickView &v) {
               v.ui_11H_SetDPISet(2, {}, {400, 800, 12800, 12900, 18000, 1600, 3200, 6400}, {0, 0, 0, 0, 0, 0, 0, 0});
           })
        << QStringList{featureOut("00 08 B3 20 40 80 1C 00 00"), featureOut("00 07 02 00 08 10 7F 80 00")}
        << QStringList{"sensor/dpi_J2_3337=400, 800, 12800, 12900, 18000, 1600, 3200, 6400",
                       "sensor/dpi_Select=0, 0, 0, 0, 0, 0, 0, 0"};
    QTest::newRow("dpi flags, stored only")
        << 1 << SlotCall([](myQQuickView &v) { v.ui_11H_SetDPISelect({1, 0, 1, 0, 1, 0, 1, 0}); })
        << QStringList{} << QStringList{"sensor/dpi_Select=1, 0, 1, 0, 1, 0, 1, 0"};
}

void tst_DeviceSettings::sendsAndStores()
{
    QFETCH(int, model);
    QFETCH(SlotCall, call);
    QFETCH(QStringList, reports);
    QFETCH(QStringList, profile);

    BridgeRig rig(model);
    QCOMPARE(rig.hid.did, uint(model));
    call(*rig.view);

    QCOMPARE(rig.transfers(), reports);
    QStringList lines;
    const auto file = rig.settingsFile("p1.bin");
    for (auto it = file.cbegin(); it != file.cend(); ++it)
        lines.append(it.key() + QLatin1Char('=') + it.value());
    QCOMPARE(lines, profile);
    QCOMPARE(rig.sim->ignoredBlocks().size(), 0);
}

void tst_DeviceSettings::storedValueStaysWhenTheDeviceIsGone()
{
    BridgeRig rig(1);
    rig.sim->unplug();
    rig.view->ui_01H_SetReportRate(8);
    rig.view->ui_06H_SetRGBLedEffect(2, 0, 4, {2, 0, 4, 1, 2, 3});
    QCOMPARE(rig.transfers(), QStringList());
    const auto file = rig.settingsFile("p1.bin");
    QCOMPARE(file.value("sensor/reportRate_J2"), QString("8"));
    QCOMPARE(file.value("color_J2/ledEffect"), QString("2, 0, 4, 1, 2, 3"));
    QVERIFY(rig.hid.hidFree);
}

void tst_DeviceSettings::currentStageIsReadOnlyWhileVisible()
{
    BridgeRig rig(1);
    G7FirmwareState state = rig.sim->state();
    state.dpiStage = 5;
    rig.sim->setState(state);

    QVERIFY(!rig.view->window()->isVisible());
    QCOMPARE(rig.view->ui_8BH_GetCurrentDPIStage(), QVariant(0));
    QCOMPARE(rig.traceLineCount(), 0);

    rig.view->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.view.get()));
    QCOMPARE(rig.view->ui_8BH_GetCurrentDPIStage(), QVariant(5));
    QCOMPARE(rig.transfers().value(0), featureOut("00 8B 00 00 00 00 00 00 74"));

    rig.view->hide();
    rig.clearTrace();
    QCOMPARE(rig.view->ui_8BH_GetCurrentDPIStage(), QVariant(0));
    QCOMPARE(rig.traceLineCount(), 0);
}

void tst_DeviceSettings::keyboardOptionsComeFromTheDevice()
{
    BridgeRig rig(1);
    G7FirmwareState state = rig.sim->state();
    state.keyboardOptions = QByteArray::fromHex("01020340");
    rig.sim->setState(state);
    QCOMPARE(rig.view->ui_83H_GetKeyboardoption(), (QVariantList{1, 2, 3, 0x40}));
    QCOMPARE(rig.transfers().value(0), featureOut("00 83 00 00 00 00 00 00 7C"));

    rig.sim->unplug();
    QCOMPARE(rig.view->ui_83H_GetKeyboardoption(), (QVariantList{0, 0, 0, 0}));
}

void tst_DeviceSettings::profileSwitchRedirectsEverySlot()
{
    BridgeRig rig(1);
    rig.view->ui_02H_SetCurrentProfile(2);
    QCOMPARE(rig.view->curProfile, 2);
    rig.view->mouseSetJMGD(2);
    QCOMPARE(rig.transfers(), (QStringList{featureOut("00 04 02 00 00 00 00 00 F9")}));   // no profile command
    QCOMPARE(rig.settingsFile("apConfig.bin").value("J2/profileNo"), QString("2"));
    QCOMPARE(rig.settingsFile("p3.bin").value("sensor/jmgd"), QString("2"));
    QVERIFY(!QFile::exists(rig.data.filePath("modules/setting/p1.bin")));
    QCOMPARE(rig.view->getData("sensor/jmgd"), QVariant(2));
}

QTEST_MAIN(tst_DeviceSettings)
#include "tst_devicesettings.moc"
