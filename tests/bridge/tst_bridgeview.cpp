#include "catalogue.h"
#include "hid_thread.h"
#include "myqquickview.h"
#include "pauses.h"
#include "reporttrace.h"
#include "simulatedg7.h"
#include "tempdatafolder.h"
#include "tracereader.h"
#include "tracingbackend.h"

#include <QQmlContext>
#include <QQuickItem>
#include <QSettings>
#include <QTest>

// The view on a simulated mouse found through the catalogue, behind the tracing backend, with the pauses
// recorded instead of waited.
struct Rig
{
    explicit Rig(int model) : sim(std::make_shared<SimulatedG7>(model))
    {
        ReportTrace::open(data.filePath("trace.txt"));
        setHidBackend(std::make_shared<TracingBackend>(sim));
        setSleeper(std::make_shared<RecordingSleeper>());
        const QSettings ap(data.filePath("modules/setting/apConfig.bin"), QSettings::IniFormat);
        bool encode = false;
        hid.findDevices(readCatalogue(":/DevInfo.ini", ap.value("common/product_name").toStringList(), &encode));
        isEncode = encode;
        view.hid = &hid;
    }
    ~Rig() { setSleeper(nullptr); setHidBackend(nullptr); ReportTrace::close(); }
    QStringList transfers() const
    {
        return TraceReader(data.filePath("trace.txt")).texts({"feature-out", "feature-in", "data-out"});
    }
    QByteArray file(const QString &name) const
    {
        QCoreApplication::processEvents();
        return data.readFile("modules/setting/" + name);
    }

    TempDataFolder data;
    const bool installed = data.copyFromSource("modules/setting/apConfig.bin");
    std::shared_ptr<SimulatedG7> sim;
    Hid_Thread hid;
    myQQuickView view;
};

using Call = std::function<void(Rig &)>;
Q_DECLARE_METATYPE(Call)

static QString featureOut(const char *hex) { return QStringLiteral("cmd feature-out ") + QLatin1String(hex); }

// A data report as written: report ID 00, the payload, zeros up to 64 bytes.
static QString dataOut(const char *hex)
{
    const QByteArray report = QByteArray(1, '\0') + QByteArray::fromHex(hex);
    return "cmd data-out " + (report + QByteArray(65 - report.size(), '\0')).toHex(' ').toUpper();
}

class tst_BridgeView : public QObject
{
    Q_OBJECT

private slots:
    void pageCalls()
    {
        TempDataFolder data;
        QVERIFY(data.writeFile("page.qml", "import QtQuick\nItem {\n  property var calls: []\n"
            "  function initUI(curDevice) { calls = calls.concat(['initUI ' + curDevice + ' ' + typeof curDevice]) }\n"
            "  function run() { calls = calls.concat(['run']) }\n"
            "  function go() { ui_View.setXYSensitive(0, 6); ui_View.ui_06H_SetRGBLedEffect(13, 0, 7, [13, 255, 127.0]) }\n}\n"));
        myQQuickView view;
        QTest::ignoreMessage(QtDebugMsg, "No page loaded to call initUI");
        view.initUI(1);
        view.rootContext()->setContextProperty("ui_View", &view);
        view.setSource(QUrl::fromLocalFile(data.filePath("page.qml")));
        QQuickItem *root = view.rootObject();
        QVERIFY(root);

        view.initUI(3);
        view.runUI();
        QCOMPARE(root->property("calls").toStringList(), QStringList());   // queued
        QTRY_COMPARE(root->property("calls").toStringList(), (QStringList{"initUI 3 number", "run"}));
        QVERIFY(QMetaObject::invokeMethod(root, "go"));   // script numbers: doubles, arrays
        QCoreApplication::processEvents();
        QCOMPARE(data.readFile("modules/setting/p1.bin"),
                 QByteArray("[XYSensitive]\n0=6\n\n[color_J2]\nledEffect=13, 255, 127\n"));
    }

    // What the pages read from hand-written, bad or missing profiles (hid unset: variant 1's stage values).
    void profileReads_data()
    {
        QTest::addColumn<QByteArray>("file");   // null: no p1.bin; "-": no modules folder
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("rate");
        QTest::addColumn<QVariantList>("dpi");
        QTest::addColumn<QVariantList>("effect");
        QTest::addColumn<QString>("gun");

        const QVariantList none;
        QTest::newRow("hand-written") << QByteArray("[XYSensitive]\n0=7\n[selectGun]\n0=Gun\\x4e00\n[sensor]\n"
            "reportRate_J2=264\ndpi_J2=400, 800, 1600\n[color_J2]\nledEffect=4, 0, 2, 255, 128, 0\n")
            << 7 << 8 << QVariantList{"400", "800", "1600"} << QVariantList{4u, 0u, 2u, 255u, 128u, 0u}
            << QString::fromUtf8("Gun一");
        QTest::newRow("missing profile") << QByteArray() << 4 << 0 << none << none << "";
        QTest::newRow("missing folder") << QByteArray("-") << 4 << 0 << none << none << "";
        QTest::newRow("one-element list") << QByteArray("[color_J2]\nledEffect=4\n") << 4 << 0 << none << none << "";
        QTest::newRow("truncated line") << QByteArray("[sensor]\nreportRate_J2=4\ndpi_J2=400, 8")
                                        << 4 << 4 << QVariantList{"400", "8"} << none << "";
        QTest::newRow("truncated section") << QByteArray("[sens") << 4 << 0 << none << none << "";
        QByteArray garbage;
        for (int i = 0; i < 4096; ++i)
            garbage.append(char((i * 7919 + 13) & 0xFF));
        QTest::newRow("binary garbage") << garbage << 4 << 0 << none << none << "";
        QTest::newRow("huge values") << QByteArray("[sensor]\nreportRate_J2=99999999999999999999999\n"
            "[XYSensitive]\n0=" + QByteArray(100000, '9') + "\n") << 0 << 0 << none << none << "";
        QTest::newRow("wrong types") << QByteArray("[sensor]\nreportRate_J2=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x10xx)\n"
            "dpi_J2=@Variant(\\0\\0\\0\\n\\xff\\xff\\xff\\xff)\n[XYSensitive]\n0=@Rect(1 2 3)\n")
            << 0 << 0 << none << none << "";
    }
    void profileReads()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, x);
        QFETCH(int, rate);
        QFETCH(QVariantList, dpi);
        QFETCH(QVariantList, effect);
        QFETCH(QString, gun);

        TempDataFolder data;
        if (file == "-")
            QVERIFY(QDir(data.filePath("modules")).removeRecursively());
        else if (!file.isNull())
            QVERIFY(data.writeFile("modules/setting/p1.bin", file));
        myQQuickView view;
        std::fill(std::begin(dpiStageValues), std::end(dpiStageValues), 7u);
        QCOMPARE(view.ui_91H_GetDPISet(), dpi);
        for (int i = 0; i < 8; ++i)   // the event monitor reads these; entries the list lacks stay
            QCOMPARE(dpiStageValues[i], i < dpi.size() ? dpi.at(i).toUInt() : 7u);
        QCOMPARE(view.getXYSensitive(0).toInt(), x);
        QCOMPARE(view.ui_81H_GetReportRate(), QVariant(rate));
        QCOMPARE(view.ui_8DH_GetRGBLedEffect(), effect);
        QCOMPARE(view.getselectGun(0), QVariant(gun));
    }

    void loadProfile()
    {
        TempDataFolder data;
        QVERIFY(data.writeFile("exported.pf", "[sensor]\nreportRate_J2=8\n"));
        QVERIFY(data.writeFile("modules/setting/p1.bin", "[sensor]\nreportRate_J2=2\n"));
        myQQuickView view;
        QString chosen;
        view.chooseProfileToLoad = [&chosen](QWidget *) { return chosen; };
        QVERIFY(!view.loadProfile(0));   // cancelled
        QCOMPARE(data.readFile("modules/setting/p1.bin"), QByteArray("[sensor]\nreportRate_J2=2\n"));
        chosen = data.filePath("exported.pf");
        QVERIFY(view.loadProfile(0));
        QCOMPARE(view.ui_81H_GetReportRate(), QVariant(8));
    }

    void languageStrings_data()
    {
        QTest::addColumn<QVariant>("type");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("texts");

        const QString file = "lang_025044";
        QTest::newRow("main, raw UTF-8 and \\x escapes") << QVariant(0) << file << QStringList{"文件", "关闭"};
        QTest::newRow("total above the stored texts") << QVariant(1) << file << QStringList{"a", "", "c", ""};
        QTest::newRow("unquoted comma stays one text") << QVariant(2) << file << QStringList{"Copy, Paste"};
        QTest::newRow("count is no number") << QVariant(3) << file << QStringList{};
        QTest::newRow("quoted texts") << QVariant(4) << file << QStringList{"x,y", " padded "};
        QTest::newRow("no count") << QVariant(5) << file << QStringList{};
        QTest::newRow("6 sets the DPI notices") << QVariant("6") << file << QStringList{"DPI 切换", "b", "c"};
        QTest::newRow("7 reads the top level") << QVariant(7) << file << QStringList{"top zero", "top one"};
        QTest::newRow("negative reads the top level") << QVariant(-1) << file << QStringList{"top zero", "top one"};
        QTest::newRow("missing file") << QVariant(6) << "lang_missing" << QStringList{};
        QTest::newRow("huge count capped") << QVariant(0) << "huge" << QStringList{"x"} + QStringList(999, QString());
        QTest::newRow("code leaving the folder") << QVariant(0) << "../secret" << QStringList{};
    }
    void languageStrings()
    {
        QFETCH(QVariant, type);
        QFETCH(QString, code);
        QFETCH(QStringList, texts);

        TempDataFolder data;
        QVERIFY(data.writeFile("modules/i18n/lang_025044.ini", "total=2\n0=top zero\n1=top one\n"
            "[main]\ntotal=2\n0=\xe6\x96\x87\xe4\xbb\xb6\n1=\\x5173\\x95ed\n[keyMatrix]\ntotal=4\n0=a\n2=c\n"
            "[keyMenu]\ntotal=1\n0=Copy, Paste\n[macroEditor]\ntotal=abc\n0=never\n"
            "[gunControl]\ntotal=2\n0=\"x,y\"\n1=\" padded \"\n[macroKey]\n0=no count\n"
            "[other]\ntotal=3\n0=DPI \xe5\x88\x87\xe6\x8d\xa2\n1=b\n2=c\n"));
        QVERIFY(data.writeFile("modules/i18n/huge.ini", "[main]\ntotal=2000000000\n0=x\n"));
        QVERIFY(data.writeFile("modules/secret.ini", "[main]\ntotal=1\n0=leak\n"));
        if (code == "huge")
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("counts 2000000000 texts in one group, reading 1000$"));
        if (code.startsWith(".."))
            QTest::ignoreMessage(QtDebugMsg, "Language code is no file name: \"../secret\"");
        std::fill(std::begin(dpiSwitchText), std::end(dpiSwitchText), QString("DPI Switch to"));

        myQQuickView view;
        QCOMPARE(view.getGlobalStrings(type, code), texts);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(dpiSwitchText[i], type.toInt() == 6 && i < texts.size() ? texts.at(i) : QString("DPI Switch to"));
    }

    // Each setting on the simulated mouse: the exact reports, then the current profile's file as written.
    void deviceSettings_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<Call>("call");
        QTest::addColumn<QStringList>("reports");
        QTest::addColumn<QByteArray>("profile");

        QTest::newRow("report rate") << 1 << Call([](Rig &r) { r.view.ui_01H_SetReportRate(4); })
            << QStringList{featureOut("00 01 04 03 03 0F 00 00 E5")} << QByteArray("[sensor]\nreportRate_J2=4\n");
        QTest::newRow("lift-off, current profile again")
            << 1 << Call([](Rig &r) { r.view.ui_02H_SetCurrentProfile(0); r.view.mouseSetJMGD(3); })
            << QStringList{featureOut("00 04 03 00 00 00 00 00 F8")} << QByteArray("[sensor]\njmgd=3\n");
        QTest::newRow("lift-off on profile 3, no command for it")
            << 1 << Call([](Rig &r) { r.view.ui_02H_SetCurrentProfile(2); r.view.mouseSetJMGD(2); })
            << QStringList{featureOut("00 04 02 00 00 00 00 00 F9")} << QByteArray("[sensor]\njmgd=2\n");
        QTest::newRow("keyboard options") << 1 << Call([](Rig &r) { r.view.ui_03H_SetKeyboardoption(1, 2, 3, 0x40); })
            << QStringList{featureOut("00 03 01 02 03 40 00 00 B6")} << QByteArray();
        QTest::newRow("recoil parameters") << 1 << Call([](Rig &r) { r.view.ui_04H_SetGunData(1, 2, 3, 4, 5); })
            << QStringList{featureOut("00 04 01 02 03 04 05 00 EC")} << QByteArray();
        QTest::newRow("sensitivity masked to a byte, code 0B")
            << 1 << Call([](Rig &r) { r.view.ui_0EH_SetXYSensitive(300, QString("7")); })
            << QStringList{featureOut("00 0B 2C 07 00 00 00 00 C1")} << QByteArray();
        QTest::newRow("color static level 7")
            << 1 << Call([](Rig &r) { r.view.ui_06H_SetRGBLedEffect(13, 0, 7, {13, 0, 7, 255, 0, 0}); })
            << QStringList{featureOut("00 06 0D 00 32 06 01 00 00")}
            << QByteArray("[color_J2]\nledEffect=13, 0, 7, 255, 0, 0\n");
        QTest::newRow("lighting palette") << 1 << Call([](Rig &r) { r.view.ui_LEDColor({255, 0, 0, 0, 0, 255, 0, 127}); })
            << QStringList{featureOut("00 0C 00 00 01 00 00 00 F2"), dataOut("FF00000000FF007F")}
            << QByteArray("[color_J2]\ntype0=255, 0, 0, 0, 0, 255, 0, 127\n");
        QTest::newRow("stage colours type 2 packed")
            << 1 << Call([](Rig &r) { r.view.ui_10H_SetLED8StageColor(2, {1, 2, 3, 4, 5, 6, 7, 8, 9}); })
            << QStringList{featureOut("00 0A 00 00 01 00 00 00 F4"), dataOut("214365870506070809")}
            << QByteArray("[color_J2]\ntype2=1, 2, 3, 4, 5, 6, 7, 8, 9\n");
        QTest::newRow("dpi on variant 0") << 0 << Call([](Rig &r) {
                r.view.ui_11H_SetDPISet(1, {}, {200, 7200, 7300, 12000, 400, 800, 1600, 3200}, {1, 1, 0, 0, 0, 0, 0, 0});
            })
            << QStringList{featureOut("00 08 08 10 20 40 0C 00 00"), featureOut("00 07 01 03 04 90 48 77 00")}
            << QByteArray("[sensor]\ndpi_J2_3336=200, 7200, 7300, 12000, 400, 800, 1600, 3200\n"
                          "dpi_Select=1, 1, 0, 0, 0, 0, 0, 0\n");
        QTest::newRow("dpi on variant 3") << 3 << Call([](Rig &r) {
                r.view.ui_11H_SetDPISet(2, {}, {400, 800, 12800, 12900, 18000, 1600, 3200, 6400}, {0, 0, 0, 0, 0, 0, 0, 0});
            })
            << QStringList{featureOut("00 08 B3 20 40 80 1C 00 00"), featureOut("00 07 02 00 08 10 7F 80 00")}
            << QByteArray("[sensor]\ndpi_J2_3337=400, 800, 12800, 12900, 18000, 1600, 3200, 6400\n"
                          "dpi_Select=0, 0, 0, 0, 0, 0, 0, 0\n");
        QTest::newRow("current stage, hidden") << 1 << Call([](Rig &r) {
                QCOMPARE(r.view.ui_8BH_GetCurrentDPIStage(), QVariant(0));
            }) << QStringList{} << QByteArray();
        QTest::newRow("current stage, shown") << 1 << Call([](Rig &r) {
                r.view.show();
                QVERIFY(QTest::qWaitForWindowExposed(&r.view));
                QCOMPARE(r.view.ui_8BH_GetCurrentDPIStage(), QVariant(1));
            }) << QStringList{featureOut("00 8B 00 00 00 00 00 00 74"), "cmd feature-in 00 8B 01 00 00 00 00 00 73"} << QByteArray();
    }
    void deviceSettings()
    {
        QFETCH(int, model);
        QFETCH(Call, call);
        QFETCH(QStringList, reports);
        QFETCH(QByteArray, profile);

        Rig rig(model);
        const QByteArray apConfig = rig.file("apConfig.bin");
        QCOMPARE(rig.hid.did, uint(model));
        call(rig);
        QCOMPARE(rig.transfers(), reports);
        QCOMPARE(rig.file(QString("p%1.bin").arg(rig.view.curProfile + 1)), profile);
        QCOMPARE(rig.file("apConfig.bin") == apConfig, rig.view.curProfile == 0);
        QVERIFY(rig.file("apConfig.bin").contains(QString("\nprofileNo=%1\n").arg(rig.view.curProfile).toLatin1()));
    }
};

QTEST_MAIN(tst_BridgeView)
#include "tst_bridgeview.moc"
