#include "../store/support_rawini.h"
#include "hid_thread.h"
#include "myqquickview.h"
#include "tempdatafolder.h"

#include <QFocusEvent>
#include <QQmlContext>
#include <QQuickItem>
#include <QSettings>
#include <QTest>

// The bridge without a device: page calls, profile files and language strings.
class tst_BridgeView : public QObject
{
    Q_OBJECT

private slots:
    void pageFunctionsAreQueued();
    void missingPageIsNoCrash();
    void pageArgumentsReachTheFile();
    void focusInAcceptsAndRepaints();
    void applicationSettings();
    void profileGettersReadHandWrittenFiles_data();
    void profileGettersReadHandWrittenFiles();
    void dpiReadBackRefreshesStageValues();
    void wholeProfileSlots();
    void loadProfileUsesTheChosenFile();
    void languageStringsFillDpiNotices();
    void clearHidBusyFreesTheChannel();
};

void tst_BridgeView::pageFunctionsAreQueued()
{
    TempDataFolder data;
    QVERIFY(data.writeFile("page.qml",
        "import QtQuick\n"
        "Item {\n"
        "  property var calls: []\n"
        "  function initUI(curDevice) { calls = calls.concat(['initUI ' + curDevice + ' ' + typeof curDevice]) }\n"
        "  function run() { calls = calls.concat(['run']) }\n"
        "}\n"));
    myQQuickView view;
    view.setSource(QUrl::fromLocalFile(data.filePath("page.qml")));
    QQuickItem *root = view.rootObject();
    QVERIFY2(root, qPrintable(view.errors().isEmpty() ? QString() : view.errors().first().toString()));

    view.initUI(3);
    view.runUI();
    QCOMPARE(root->property("calls").toStringList(), QStringList());   // not yet: queued
    QTRY_COMPARE(root->property("calls").toStringList(), (QStringList{"initUI 3 number", "run"}));
}

// Script numbers and arrays as the pages pass them: bytes, doubles, arrays.
void tst_BridgeView::pageArgumentsReachTheFile()
{
    TempDataFolder data;
    QVERIFY(data.writeFile("page.qml",
        "import QtQuick\n"
        "Item {\n"
        "  function go() {\n"
        "    ui_View.ui_01H_SetReportRate(2)\n"
        "    ui_View.ui_06H_SetRGBLedEffect(13, 0, 7, [13, 0, 7, 255, 127.0, 0])\n"
        "    ui_View.ui_11H_SetDPISelect([1, 0, 1, 0, 1, 0, 1, 0])\n"
        "    ui_View.setXYSensitive(0, 6)\n"
        "    return [ui_View.ui_81H_GetReportRate(), ui_View.ui_8DH_GetRGBLedEffect(),\n"
        "            ui_View.getXYSensitive(1), typeof ui_View.getLang()]\n"
        "  }\n"
        "}\n"));
    myQQuickView view;
    view.rootContext()->setContextProperty("ui_View", &view);
    view.setSource(QUrl::fromLocalFile(data.filePath("page.qml")));
    QVERIFY(view.rootObject());

    QVariant result;
    QVERIFY(QMetaObject::invokeMethod(view.rootObject(), "go", Q_RETURN_ARG(QVariant, result)));
    const QVariantList got = result.toList();
    QCOMPARE(got.value(0).toInt(), 2);
    QCOMPARE(got.value(1).toList(), (QVariantList{13u, 0u, 7u, 255u, 127u, 0u}));
    QCOMPARE(got.value(2).toInt(), 4);
    QCOMPARE(got.value(3).toString(), QString("undefined"));

    QCoreApplication::processEvents();
    const auto file = readRawIni(data.filePath("modules/setting/p1.bin"));
    QCOMPARE(file.value("sensor/reportRate_J2"), QString("2"));
    QCOMPARE(file.value("color_J2/ledEffect"), QString("13, 0, 7, 255, 127, 0"));
    QCOMPARE(file.value("sensor/dpi_Select"), QString("1, 0, 1, 0, 1, 0, 1, 0"));
    QCOMPARE(file.value("XYSensitive/0"), QString("6"));
}

void tst_BridgeView::missingPageIsNoCrash()
{
    TempDataFolder data;
    myQQuickView view;
    QTest::ignoreMessage(QtDebugMsg, "No page loaded to call initUI");
    view.initUI(1);
    QTest::ignoreMessage(QtDebugMsg, "No page loaded to call run");
    view.runUI();
}

void tst_BridgeView::focusInAcceptsAndRepaints()
{
    TempDataFolder data;
    myQQuickView view;
    QFocusEvent event(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    event.ignore();
    QCoreApplication::sendEvent(&view, &event);
    QVERIFY(event.isAccepted());
}

void tst_BridgeView::applicationSettings()
{
    TempDataFolder data;
    {
        myQQuickView fresh;
        QVERIFY(!fresh.getLang().isValid());           // no apConfig.bin: the page starts in English
        QCOMPARE(fresh.getProfile().toInt(), 0);
        QCOMPARE(fresh.curProfile, 0);
    }
    QVERIFY(data.writeFile("modules/setting/apConfig.bin",
                           "[common]\nlanguage=ChineseSimplified\n[J2]\nprofileNo=4\n"));
    myQQuickView view;
    QCOMPARE(view.getLang().toString(), QString("ChineseSimplified"));
    QCOMPARE(view.getProfile().toInt(), 4);
    QCOMPARE(view.curProfile, 0);   // the page switches through ui_02H_SetCurrentProfile

    view.setProfile(QVariant(5.0));
    QCoreApplication::processEvents();
    QCOMPARE(readRawIni(data.filePath("modules/setting/apConfig.bin")).value("J2/profileNo"), QString("5"));
}

static const QByteArray handWrittenProfile =
    "[XYSensitive]\n0=7\n"
    "[selectGun]\n0=Gun\\x4e00\n"
    "[macro]\n3=\"a,b\"\n"
    "[sensor]\nreportRate_J2=264\ndpi_Select=1, 0, 1, 0, 1, 0, 1, 0\njmgd=3\n"
    "[color_J2]\nledEffect=4, 0, 2, 255, 128, 0\ntype1=255, 0, 0, 0, 255, 0\ntype2=9\n";

void tst_BridgeView::profileGettersReadHandWrittenFiles_data()
{
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("X sensitivity") << "getXYSensitive 0" << QVariant("7");
    QTest::newRow("Y sensitivity default") << "getXYSensitive 1" << QVariant(4);
    QTest::newRow("recoil selection") << "getselectGun 0" << QVariant(QString::fromUtf8("Gun一"));
    QTest::newRow("recoil selection default") << "getselectGun 1" << QVariant(QString());
    QTest::newRow("macro") << "getMacroKey 3" << QVariant("a,b");
    QTest::newRow("macro default") << "getMacroKey 4" << QVariant(0);
    QTest::newRow("report rate low byte") << "ui_81H_GetReportRate" << QVariant(8);
    QTest::newRow("effect as unsigned") << "ui_8DH_GetRGBLedEffect"
        << QVariant(QVariantList{4u, 0u, 2u, 255u, 128u, 0u});
    QTest::newRow("stage colours") << "ui_90H_GetLED8StageColor 1"
        << QVariant(QVariantList{255u, 0u, 0u, 0u, 255u, 0u});
    QTest::newRow("one-element table is none") << "ui_90H_GetLED8StageColor 2" << QVariant(QVariantList{});
    QTest::newRow("absent table") << "ui_90H_GetLED8StageColor 0" << QVariant(QVariantList{});
    QTest::newRow("dpi flags") << "ui_91H_GetDPISelect"
        << QVariant(QVariantList{"1", "0", "1", "0", "1", "0", "1", "0"});
    QTest::newRow("dpi values absent") << "ui_91H_GetDPISet" << QVariant(QVariantList{});
    QTest::newRow("any key") << "getData sensor/jmgd" << QVariant("3");
    QTest::newRow("any key absent") << "getData sensor/none" << QVariant();
}

void tst_BridgeView::profileGettersReadHandWrittenFiles()
{
    QFETCH(QString, slot);
    QFETCH(QVariant, expected);

    TempDataFolder data;
    QVERIFY(data.writeFile("modules/setting/p1.bin", handWrittenProfile));
    myQQuickView view;
    const QStringList call = slot.split(' ');
    const QString arg = call.value(1);
    QVariant got;
    if (call[0] == "getXYSensitive") got = view.getXYSensitive(arg);
    else if (call[0] == "getselectGun") got = view.getselectGun(arg);
    else if (call[0] == "getMacroKey") got = view.getMacroKey(arg.toInt());
    else if (call[0] == "ui_81H_GetReportRate") got = view.ui_81H_GetReportRate();
    else if (call[0] == "ui_8DH_GetRGBLedEffect") got = view.ui_8DH_GetRGBLedEffect();
    else if (call[0] == "ui_90H_GetLED8StageColor") got = view.ui_90H_GetLED8StageColor(uchar(arg.toInt()));
    else if (call[0] == "ui_91H_GetDPISelect") got = view.ui_91H_GetDPISelect();
    else if (call[0] == "ui_91H_GetDPISet") got = view.ui_91H_GetDPISet();
    else if (call[0] == "getData") got = view.getData(arg);
    QCOMPARE(got, expected);
}

void tst_BridgeView::dpiReadBackRefreshesStageValues()
{
    TempDataFolder data;
    QVERIFY(data.writeFile("modules/setting/p1.bin",
                           "[sensor]\ndpi_J2=400, 800, 1600\ndpi_J2_3337=100, 200, 300, 400, 500, 600, 700, 18000\n"));
    Hid_Thread hid;
    myQQuickView view;
    view.hid = &hid;
    for (quint32 &value : dpiStageValues)
        value = 7;

    hid.did = 1;
    QCOMPARE(view.ui_91H_GetDPISet(), (QVariantList{"400", "800", "1600"}));
    QCOMPARE((QList<quint32>(dpiStageValues, dpiStageValues + 8)), (QList<quint32>{400, 800, 1600, 7, 7, 7, 7, 7}));

    hid.did = 3;
    QCOMPARE(view.ui_91H_GetDPISet().size(), 8);
    QCOMPARE((QList<quint32>(dpiStageValues, dpiStageValues + 8)),
             (QList<quint32>{100, 200, 300, 400, 500, 600, 700, 18000}));

    hid.did = 0;
    QCOMPARE(view.ui_91H_GetDPISet(), QVariantList());
}

void tst_BridgeView::wholeProfileSlots()
{
    TempDataFolder data;
    QVERIFY(data.writeFile("modules/setting/pD.bin", "[sensor]\nreportRate_J2=1\n"));
    QVERIFY(data.writeFile("modules/setting/p2.bin", "[sensor]\nreportRate_J2=2\n"));
    QVERIFY(data.writeFile("modules/setting/p3.bin", "[sensor]\nreportRate_J2=4\n"));
    myQQuickView view;

    view.copyProfile(0, 2);
    QCOMPARE(view.ui_81H_GetReportRate(), QVariant(4));
    view.ui_02H_SetCurrentProfile(1);
    QCOMPARE(view.ui_81H_GetReportRate(), QVariant(2));
    view.resetProfile(1);
    QCOMPARE(view.ui_81H_GetReportRate(), QVariant(1));
    QCOMPARE(data.readFile("modules/setting/p2.bin"), data.readFile("modules/setting/pD.bin"));
}

void tst_BridgeView::loadProfileUsesTheChosenFile()
{
    TempDataFolder data;
    QVERIFY(data.writeFile("exported.pf", "[sensor]\nreportRate_J2=8\n[profile]\nname=Macro_0\n"));
    QVERIFY(data.writeFile("modules/setting/p1.bin", "[sensor]\nreportRate_J2=2\n"));
    myQQuickView view;
    QString chosen;
    view.chooseProfileToLoad = [&chosen](QWidget *) { return chosen; };

    QVERIFY(!view.loadProfile(0));   // cancelled
    QCOMPARE(view.ui_81H_GetReportRate(), QVariant(2));

    chosen = data.filePath("exported.pf");
    QVERIFY(view.loadProfile(0));
    QCOMPARE(view.ui_81H_GetReportRate(), QVariant(8));
    QCOMPARE(data.readFile("modules/setting/p1.bin"), data.readFile("exported.pf"));

    chosen = data.filePath("missing.pf");
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Profile copy failed: .*missing\\.pf -> .*p1\\.bin$"));
    QVERIFY(view.loadProfile(0));   // the profile now reads as empty
    QCOMPARE(view.ui_81H_GetReportRate(), QVariant(0));
}

void tst_BridgeView::languageStringsFillDpiNotices()
{
    TempDataFolder data;
    QVERIFY(data.writeFile("modules/i18n/lang_025044.ini",
                           "[main]\ntotal=2\n0=\xe6\x96\x87\n1=b\n"
                           "[other]\ntotal=3\n0=\xe5\x88\x87\xe6\x8d\xa2\n1=two\n2=three\n"));
    for (QString &text : dpiSwitchText)
        text = QStringLiteral("DPI Switch to");
    myQQuickView view;

    QCOMPARE(view.getGlobalStrings(0, "lang_025044"), (QStringList{QString::fromUtf8("文"), "b"}));
    QCOMPARE(dpiSwitchText[0], QString("DPI Switch to"));   // only type 6 touches the notices

    QCOMPARE(view.getGlobalStrings(QString("6"), "lang_025044"),
             (QStringList{QString::fromUtf8("切换"), "two", "three"}));
    QCOMPARE(dpiSwitchText[0], QString::fromUtf8("切换"));
    QCOMPARE(dpiSwitchText[2], QString("three"));
    QCOMPARE(dpiSwitchText[3], QString("DPI Switch to"));
    QCOMPARE(dpiSwitchText[7], QString("DPI Switch to"));

    QCOMPARE(view.getGlobalStrings(6, "lang_missing"), QStringList());
    QCOMPARE(dpiSwitchText[1], QString("two"));
}

void tst_BridgeView::clearHidBusyFreesTheChannel()
{
    TempDataFolder data;
    myQQuickView view;
    view.clearHidBusy();   // no device object yet
    Hid_Thread hid;
    view.hid = &hid;
    hid.hidFree = false;
    view.clearHidBusy();
    QVERIFY(hid.hidFree);
}

QTEST_MAIN(tst_BridgeView)
#include "tst_bridgeview.moc"
