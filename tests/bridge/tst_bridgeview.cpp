#include "keynames.h"
#include "languagerows.h"
#include "profilesender.h"
#include "storefile.h"
#include "viewrig.h"

#include <QProcess>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlExpression>
#include <QTest>

using Call = std::function<void(myQQuickView &, SimulatedG7 &)>;
Q_DECLARE_METATYPE(Call)

// Report lines of the trace: ID 00 and the bytes; a data report is padded with zeros to 64 bytes.
static QString out(const char *hex) { return QStringLiteral("cmd feature-out 00 %1\n").arg(hex); }
static QString dataOut(const QString &hex)
{
    return QString("cmd data-out 00 %1%2\n").arg(hex, QString(" 00").repeated(64 - (hex.size() + 1) / 3));
}

// A list of 64 values: entry k = the four values of entries[k] (missing entries are zeros).
static QVariantList matrix(const QList<QVariantList> &entries)
{
    QVariantList values;
    for (int k = 0; k < 16; ++k)
        values += k < entries.size() && !entries.at(k).isEmpty() ? entries.at(k) : QVariantList{0, 0, 0, 0};
    return values;
}
// The profile's key entries as a text editor shows them: `entries` first, zeros after; keys in text order.
static QString keydefine(const QStringList &entries)
{
    QString text = "[keydefine_J2]\n";
    for (int k : {0, 1, 10, 11, 12, 13, 14, 15, 2, 3, 4, 5, 6, 7, 8, 9})
        text += QString("%1=%2\n").arg(k).arg(entries.value(k, "0, 0, 0, 0"));
    return text;
}

// Each updater prints 4 MB, as a chatty one does, then notes its name and working directory in ran.log beside it.
static const QByteArray updaterScript = "#!/bin/sh\nhead -c 2000000 /dev/zero\nhead -c 2000000 /dev/zero >&2\n"
                                        "echo \"$(basename \"$0\") $(pwd)\" >> ran.log\n";

// The profile page of the real page; profiles 1..6 hold their number as report rate.
struct Page : PageRig
{
    explicit Page(const QByteArray &nameList, const QString &language = "English", int model = 1,
                  const QByteArray &two = {})
        : PageRig(model, language)
    {
        QVERIFY(data.writeFile("modules/setting/name.bin", "[profile]\nprofileName=" + nameList + "\n"));
        for (int p = 1; p <= 6; ++p)
            QVERIFY(data.writeFile(QString("modules/setting/p%1.bin").arg(p),
                                   "[sensor]\nreportRate_J2=" + QByteArray::number(p) + "\n"));
        if (!two.isEmpty())
            QVERIFY(data.writeFile("modules/setting/p2.bin", two));
        QVERIFY(start());
        panel = item("profileMain");
    }

    void pick(int row, Qt::MouseButton button = Qt::LeftButton) { click("profileRow" + QString::number(row), button); }
    void menu(int command)
    {
        click("profileRow" + QString::number(panel->property("currentIndex").toInt()), Qt::RightButton);
        click("profileMenuRow" + QString::number(command));
    }
    void open()
    {
        QTRY_VERIFY_WITH_TIMEOUT(view->isEnabled(), 5000);   // the lock after a profile switch
        if (!panel->isVisible())
            click("profileBtn");
    }
    QString names() const { return fileValue("modules/setting/name.bin", "profile", "profileName"); }
    QString namesAndCurrent() const { return names() + " @" + QString::number(view->store.curProfile); }
    QByteArray profileFile(int n) const { return data.readFile(QString("modules/setting/p%1.bin").arg(n)); }

    QQuickItem *panel = nullptr;
};

class tst_BridgeView : public QObject
{
    Q_OBJECT

private slots:
    // The page picks its scene graph once, before any window shows: a window shown first would make it warn.
    void initTestCase() { QVERIFY(PageRig().start()); }

    // What the pages read from hand-written, bad or missing profiles beside pD.bin; a value out of range reads as the
    // factory one. hid unset: variant 1's stage values.
    void profileReads_data()
    {
        QTest::addColumn<QByteArray>("file");   // null: no p1.bin; "-": no modules folder
        QTest::addColumn<QString>("reads");
        const QString plain = " effect=0,0,4,255,0,0 gun=QString:";
        const QString defaults = "x=4 rate=1 dpi=400,800,1600,3200,6400,1200,2400,4800" + plain;
        QTest::newRow("hand-written") << QByteArray("[XYSensitive]\n0=7\n[selectGun]\n0=Gun\\x4e00\n[sensor]\n"
            "reportRate_J2=264\ndpi_J2=500, 16000, 1600\n[color_J2]\nledEffect=4, 0, 2, 255, 128, 0\n")
            << "x=7 rate=8 dpi=500,16000,1600,3200,6400,1200,2400,4800 effect=4,0,2,255,128,0 gun=QString:Gun一";
        QTest::newRow("missing profile: made from pD.bin") << QByteArray() << defaults;
        QTest::newRow("missing folder: no pD.bin either") << QByteArray("-") << "x=4 rate=1 dpi=200,200,200,200,200,200,200,200" + plain;
        QTest::newRow("truncated line") << QByteArray("[sensor]\nreportRate_J2=4\ndpi_J2=500, 8")
            << "x=4 rate=4 dpi=500,800,1600,3200,6400,1200,2400,4800" + plain;
        QTest::newRow("out of range, fractions, texts") << QByteArray("[sensor]\nreportRate_J2=3\n"
            "dpi_J2=199, 16001, 1E3, 450.0, -400, \"4, 8\", 12000, 16000\n[color_J2]\nledEffect=14, 8, 5, 256, -1, 7.5\n")
            << "x=4 rate=1 dpi=400,800,1600,3200,6400,1200,12000,16000" + plain;
        QFile program(QCoreApplication::applicationFilePath());
        QTest::newRow("binary garbage") << (program.open(QIODevice::ReadOnly) ? program.read(4096) : "") << defaults;
        QTest::newRow("huge values") << "[sensor]\nreportRate_J2=99999999999999999999999\n[XYSensitive]\n0="
            + QByteArray(100000, '9') + "\n" << QString(defaults).replace("x=4", "x=0");
        QTest::newRow("wrong types") << QByteArray("[sensor]\nreportRate_J2=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x10xx)\n"
            "dpi_J2=@Variant(\\0\\0\\0\\n\\xff\\xff\\xff\\xff)\n[XYSensitive]\n0=@Rect(1 2 3)\n")
            << QString(defaults).replace("x=4", "x=0");
    }
    void profileReads()
    {
        QFETCH(QByteArray, file); QFETCH(QString, reads);
        TempDataFolder data;
        QVERIFY(data.copyFromSource("modules/setting/pD.bin"));
        if (file == "-") {
            QVERIFY(QDir(data.filePath("modules")).removeRecursively());
            QTest::ignoreMessage(QtDebugMsg, "Cannot make the missing profiles p1.bin p2.bin p3.bin p4.bin p5.bin "
                                             "p6.bin p7.bin p8.bin p9.bin p10.bin from ./modules/setting/pD.bin");
        } else if (!file.isNull()) {
            QVERIFY(data.writeFile("modules/setting/p1.bin", file));
        }
        myQQuickView view;
        recordPointerSettings(view);
        std::fill(std::begin(dpiStageValues), std::end(dpiStageValues), 7u);
        const auto join = [](const QVariantList &values) { return QVariant(values).toStringList().join(','); };
        const QString dpi = join(view.ui_91H_GetDPISet());   // the event monitor reads the stage values
        const QVariant gun = view.getselectGun(0);
        QCOMPARE(join(QVariantList(dpiStageValues, dpiStageValues + 8)), dpi);
        QCOMPARE(QString("x=%1 rate=%2 dpi=%3 effect=%4 gun=%5:%6").arg(view.getXYSensitive(0).toInt())
            .arg(view.ui_81H_GetReportRate().toInt()).arg(dpi, join(view.ui_8DH_GetRGBLedEffect()), gun.typeName(), gun.toString()), reads);
    }

    void languageStrings_data()
    {
        QTest::addColumn<QVariant>("type"); QTest::addColumn<QString>("code"); QTest::addColumn<QStringList>("texts");
        const QString file = "lang_025044";
        QTest::newRow("main, raw UTF-8 and \\x escapes") << QVariant(0) << file << QStringList{"文件", "关闭"};
        QTest::newRow("total above the stored texts") << QVariant(1) << file << QStringList{"a", "", "c", ""};
        QTest::newRow("6 sets the DPI notices") << QVariant("6") << file << QStringList{"DPI 切换", "b", "c"};
        QTest::newRow("7 reads the top level") << QVariant(7) << file << QStringList{"top zero", "top one"};
        QTest::newRow("missing file") << QVariant(6) << "lang_missing" << QStringList{};
        QTest::newRow("code leaving the folder") << QVariant(0) << "../i18n/lang_025044" << QStringList{};
    }
    void languageStrings()
    {
        QFETCH(QVariant, type); QFETCH(QString, code); QFETCH(QStringList, texts);
        TempDataFolder data;
        QVERIFY(data.writeFile("modules/i18n/lang_025044.ini", "total=2\n0=top zero\n1=top one\n"
            "[main]\ntotal=2\n0=\xe6\x96\x87\xe4\xbb\xb6\n1=\\x5173\\x95ed\n[keyMatrix]\ntotal=4\n0=a\n2=c\n"
            "[other]\ntotal=3\n0=DPI \xe5\x88\x87\xe6\x8d\xa2\n1=b\n2=c\n"));
        if (code.startsWith(".."))
            QTest::ignoreMessage(QtDebugMsg, "Language code is no file name: \"../i18n/lang_025044\"");
        std::fill(std::begin(dpiSwitchText), std::end(dpiSwitchText), QString("DPI Switch to"));
        myQQuickView view;
        recordPointerSettings(view);
        QCOMPARE(view.getGlobalStrings(type, code), texts);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(dpiSwitchText[i], type.toInt() == 6 && i < texts.size() ? texts.at(i) : QString("DPI Switch to"));
    }

    // Each setting on the simulated mouse: the exact reports, then the current profile's file as written.
    void deviceSettings_data()
    {
        QTest::addColumn<int>("model"); QTest::addColumn<Call>("call"); QTest::addColumn<QString>("expected");
        QTest::newRow("report rate; profiles 10 and 1 change nothing") << 1 << Call([](auto &v, auto &) {
                QTest::ignoreMessage(QtDebugMsg, "No profile 10");
                v.ui_02H_SetCurrentProfile(10); v.ui_02H_SetCurrentProfile(0); v.ui_01H_SetReportRate(4); })
            << out("01 04 03 03 0F 00 00 E5") + "[sensor]\nreportRate_J2=4\n";
        QTest::newRow("lift-off on profile 3") << 1
            << Call([](auto &v, auto &) { v.ui_02H_SetCurrentProfile(2); v.mouseSetJMGD(2); })
            << out("04 02 00 00 00 00 00 F9") + "[sensor]\njmgd=2\n";
        QTest::newRow("keyboard options, recoil, sensitivity (0B), options read") << 1 << Call([](auto &v, auto &) {
                v.ui_03H_SetKeyboardoption(1, 2, 3, 64); v.ui_04H_SetGunData(1, 2, 3, 4, 5);
                v.ui_0EH_SetXYSensitive(300, "7");
                QCOMPARE(v.ui_83H_GetKeyboardoption(), (QVariantList{1, 2, 3, 64})); })
            << out("03 01 02 03 40 00 00 B6") + out("04 01 02 03 04 05 00 EC") + out("0B 2C 07 00 00 00 00 C1")
            + out("83 00 00 00 00 00 00 7C") + "cmd feature-in 00 83 01 02 03 40 00 00 36\n";
        QTest::newRow("mouse gone: stored, nothing sent, zeros read") << 1 << Call([](auto &v, auto &sim) {
                sim.unplug(); v.ui_01H_SetReportRate(8); QVERIFY(v.hid->hidFree);
                QCOMPARE(v.ui_83H_GetKeyboardoption(), (QVariantList{0, 0, 0, 0})); }) << "[sensor]\nreportRate_J2=8\n";
        QTest::newRow("palette") << 1 << Call([](auto &v, auto &) { v.ui_LEDColor({255, 0, 0, 0, 0, 255, 0, 127}); })
            << out("0C 00 00 01 00 00 00 F2") + dataOut("FF 00 00 00 00 FF 00 7F")
            + "[color_J2]\ntype0=255, 0, 0, 0, 0, 255, 0, 127\n";
        QTest::newRow("stage colours 2") << 1 << Call([](auto &v, auto &) { v.ui_10H_SetLED8StageColor(2, {1, 2, 3}); })
            << out("0A 00 00 01 00 00 00 F4") + dataOut("21 03") + "[color_J2]\ntype2=1, 2, 3\n";
        QTest::newRow("dpi on variant 0") << 0 << Call([](auto &v, auto &) {
            v.ui_11H_SetDPISet(1, {}, {200, 7200, 7300, 12000, 400, 800, 1600, 3200}, {1, 1, 0, 0, 0, 0, 0, 0}); })
            << out("08 08 10 20 40 0C 00 00") + out("07 01 03 04 90 48 77 00")
            + "[sensor]\ndpi_J2_3336=200, 7200, 7300, 12000, 400, 800, 1600, 3200\ndpi_Select=1, 1, 0, 0, 0, 0, 0, 0\n";
        QTest::newRow("dpi on variant 3, texts") << 3 << Call([](auto &v, auto &) {
            v.ui_11H_SetDPISet(2, {}, {"400", "800", "12800", "12900", "18000", "1600", "3200", "200"},
                               {"1", "0", "1", "0", "0", "0", "0", "0"}); })
            << out("08 B3 20 40 04 1C 00 00") + out("07 02 05 08 10 7F 80 00")
            + "[sensor]\ndpi_J2_3337=400, 800, 12800, 12900, 18000, 1600, 3200, 200\ndpi_Select=1, 0, 1, 0, 0, 0, 0, 0\n";
        // A value the mouse does not take: one line, nothing sent, nothing stored.
        const auto badDpi = [](int largest, int list, int i, QVariant value) {
            return Call([=](auto &v, auto &) {
                QTest::ignoreMessage(QtDebugMsg, qPrintable(QString("DPI stages refused: not eight values 200 to %1 "
                    "with eight flags 0 or 1").arg(largest)));
                QList<QVariantList> lists{{400, 800, 1600, 3200, 6400, 1200, 2400, 4800}, {1, 1, 1, 1, 1, 0, 0, 0}};
                i < 0 ? lists[list].removeLast() : void(lists[list][i] = value);
                v.ui_11H_SetDPISet(1, {}, lists[0], lists[1]); });
        };
        QTest::newRow("refused: dpi 12100 on variant 0") << 0 << badDpi(12000, 0, 3, 12100) << "";
        QTest::newRow("refused: dpi 16100 on variant 1") << 1 << badDpi(16000, 0, 7, 16100) << "";
        QTest::newRow("refused: dpi 100") << 3 << badDpi(18000, 0, 0, 100) << "";
        QTest::newRow("refused: dpi 400.5") << 1 << badDpi(16000, 0, 2, 400.5) << "";
        QTest::newRow("refused: seven dpi values") << 1 << badDpi(16000, 0, -1, 0) << "";
        QTest::newRow("refused: flag 2") << 1 << badDpi(16000, 1, 4, 2) << "";
        QTest::newRow("refused: colour 256, -1, a fraction, 25 values") << 1 << Call([](auto &v, auto &) {
                for (const char *line : {"Lighting colours refused: not up to 24 values 0 to 255",
                         "Stage colours refused: not up to 24 values 0 to 255",
                         "Lighting refused: not an effect, colour index, level and three colours 0 to 255"})
                    QTest::ignoreMessage(QtDebugMsg, line);
                v.ui_LEDColor({255, 256, 0});
                v.ui_10H_SetLED8StageColor(1, QVariantList(25, 0));
                QTest::ignoreMessage(QtDebugMsg, "Stage colours refused: not up to 24 values 0 to 255");
                v.ui_10H_SetLED8StageColor(1, {-1});
                v.ui_06H_SetRGBLedEffect(0, 0, 4, {0, 0, 4, 255, 0.5, 0}); })
            << "";
        // A macro the bridge refuses, sent by a script as the page does: the page learns it (bytes sent: qml/macroeditor).
        const auto macro = [](const QStringList &events, int slot, const char *said) {
            return Call([=](auto &v, auto &) {
                QQmlExpression send(v.rootContext(), nullptr, "ui_View.sendMacroData(macroCodec.encode(events, 1), slot)");
                v.rootContext()->setContextProperty("ui_View", &v);
                v.rootContext()->setContextProperty("events", events);
                v.rootContext()->setContextProperty("slot", slot);
                QTest::ignoreMessage(QtDebugMsg, said);
                QCOMPARE(send.evaluate(), QVariant(false));
                QVERIFY(!send.hasError()); });
        };
        QTest::newRow("refused: macro slot 12") << 1 << macro({"1,A", "2,A"}, 12, "Macro not sent: the mouse has no macro slot 12") << "";
        // Cut short, the mouse would run on past the macro's end.
        QTest::newRow("refused: 120 key edges, 244 bytes") << 1 << macro(QStringList(120, "1,A"), 4,
            "Macro not sent: its 244 bytes exceed the 192 the mouse takes") << "";
        // A page's matrix: the 03H block, the data report and the stored entries; recoil matrices are not stored.
        QTest::newRow("keys: left button first, fixed 7..9 whatever the page sends") << 1 << Call([](auto &v, auto &) {
                v.mouseSetKeyMatrix(matrix({{2, 0, 0xF0, 0}, {4, 0, 0xE9, 0}, {}, {}, {}, {}, {}, {1, 2, 3, 4}, {5, 6, 7, 8},
                                            {9, 10, 11, 12}, {0x0A, 0, 1, 10}}));
                v.hid->did = 4;   // other models keep no key entries
                QCOMPARE(v.getKeydefine(0), QVariantList()); })
            << out("03 00 00 01 00 00 00 FB") + dataOut("00 F0 00 02 00 E9 00 04" + QString(" 00").repeated(20)
                                                         + " 00 00 03 0C 00 00 01 0B 00 00 05 0C 0A 01 00 0A")
            + keydefine({"2, 0, 240, 0", "4, 0, 233, 0", "0, 0, 0, 0", "0, 0, 0, 0", "0, 0, 0, 0", "0, 0, 0, 0",
                         "0, 0, 0, 0", "1, 2, 3, 4", "5, 6, 7, 8", "9, 10, 11, 12", "10, 0, 1, 10"});
        QTest::newRow("keys: number texts and whole doubles") << 1 << Call([](auto &v, auto &) {
                v.mouseSetKeyMatrix(matrix({{"1", qulonglong(0), "255", 4.0}})); })
            << out("03 00 00 01 00 00 00 FB") + dataOut("04 FF 00 01" + QString(" 00").repeated(26) + " 03 0C 00 00 01 0B 00 00 05 0C")
            + keydefine({"1, 0, 255, 4"});
        QTest::newRow("keys: recoil matrix in the order given") << 1 << Call([](auto &v, auto &) {
                v.ui_12H_SetGunKeyMatrix(matrix({{1, 2, 3, 4}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {0xAA, 0, 0, 0x55}})); })
            << out("03 00 00 01 00 00 00 FB") + dataOut("01 02 03 04" + QString(" 00").repeated(56) + " AA 00 00 55");
        // What a page that read no numbers sends: nothing goes out, nothing is stored.
        const auto badKeys = [](int button, const QVariantList &src) {
            return Call([=](auto &v, auto &) {
                QTest::ignoreMessage(QtDebugMsg, qPrintable(QString("Key matrix refused: button %1 is not four numbers 0 to 255").arg(button)));
                v.mouseSetKeyMatrix(src); });
        };
        for (const auto &[tag, value] : {std::pair{"256", QVariant(256)}, {"-1", -1}, {"text", "1A"}, {"true", true}})
            QTest::addRow("refused keys: %s in button 3", tag)
                << 1 << badKeys(3, matrix({{2, 0, 240, 0}, {2, 0, 241, 0}, {value, 0, 0, 0}})) << "";
        QTest::newRow("refused keys: missing values") << 1 << badKeys(2, {2, 0, 240, 0}) << "";
        QTest::newRow("current stage: no query while hidden") << 1 << Call([](auto &v, auto &) {
                QCOMPARE(v.ui_8BH_GetCurrentDPIStage(), QVariant(0));
                v.show(); QVERIFY(QTest::qWaitForWindowExposed(&v));
                QCOMPARE(v.ui_8BH_GetCurrentDPIStage(), QVariant(1)); })
            << out("8B 00 00 00 00 00 00 74") + "cmd feature-in 00 8B 01 00 00 00 00 00 73\n";
    }
    void deviceSettings()
    {
        QFETCH(int, model); QFETCH(Call, call); QFETCH(QString, expected);
        ViewRig rig(model);
        const QByteArray apConfig = rig.file("apConfig.bin");
        call(rig.view, *rig.sim);
        QStringList got = TraceReader(rig.data.filePath("trace.txt")).texts({"feature-out", "feature-in", "data-out"});
        got.append(QString::fromUtf8(rig.file(QString("p%1.bin").arg(rig.view.curProfile + 1))));
        QCOMPARE(got.join('\n'), expected);
        QCOMPARE(rig.file("apConfig.bin") == apConfig, rig.view.curProfile == 0);
        QVERIFY(rig.file("apConfig.bin").contains(QString("\nprofileNo=%1\n").arg(rig.view.curProfile).toLatin1()));
    }

    // Each model's updater starts from its own folder once a call, after the monitor stopped and 500 ms passed; a
    // non-executable one starts nothing and says so, and the monitor goes on (a missing one: qml/panels).
    void updater()
    {
        ViewRig rig(1);
        const QFile::Permissions readWrite = QFile::ReadOwner | QFile::WriteOwner;
        for (const char *name : {"3336.exe", "update1.exe", "noLight.exe", "3337.exe"}) {
            const QString script = QStringLiteral("update/") + name;
            QVERIFY(rig.data.writeFile(script, updaterScript));
            QFile(rig.data.filePath(script)).setPermissions(readWrite | QFile::ExeOwner);
        }
        // Each model's program on one bridge; the last row, no program, makes 3337.exe non-executable.
        for (const auto &[did, program] : {std::pair{0u, "3336.exe"}, {1u, "update1.exe"}, {2u, "noLight.exe"},
                 {3u, "3337.exe"}, {4u, "3336.exe"}, {0xFFFFFFFFu, "3336.exe"}, {3u, ""}}) {
            const bool executable = *program;
            rig.hid->did = did;
            rig.hid->monitorRunning = true;
            rig.sleeper->pauses.clear();
            QVERIFY(executable || QFile(rig.data.filePath("update/3337.exe")).setPermissions(readWrite));
            QFile::remove(rig.data.filePath("update/ran.log"));
            for (int call = 0; call < 2; ++call) {
                if (!executable)
                    QTest::ignoreMessage(QtDebugMsg, "Updater not started: \"./update/3337.exe\" is not executable");
                QCOMPARE(rig.view.openUpdateExe(), executable);
            }
            QCOMPARE(rig.hid->monitorRunning, !executable);
            QCOMPARE(rig.sleeper->pauses, executable ? QList<int>({500, 500}) : QList<int>());
            const QList<QProcess *> started = rig.view.findChildren<QProcess *>();
            QCOMPARE(started.size(), executable ? 2 : 0);
            for (QProcess *process : started) {   // their output is not kept
                process->waitForFinished(10000);
                QCOMPARE(process->bytesAvailable(), 0);
                process->setReadChannel(QProcess::StandardError);
                QCOMPARE(process->bytesAvailable(), 0);
                delete process;
            }
            const QString ran = QString(program) + ' ' + QFileInfo(rig.data.filePath("update")).canonicalFilePath();
            QCOMPARE(QString::fromLocal8Bit(rig.data.readFile("update/ran.log")).split('\n', Qt::SkipEmptyParts),
                     executable ? QStringList({ran, ran}) : QStringList());
        }
    }

    // The page's key-name tables and the bridge's name table name the same codes.
    void pageTablesMatchBridge()
    {
        QQmlEngine engine;
        QQmlComponent component(&engine, QUrl("qrc:/modules/qml/J2/KeyCodeString.qml"));
        QScopedPointer<QObject> names(component.create());
        QVERIFY2(names, qPrintable(component.errorString()));
        QVariantMap page = names->property("str2keycode").toMap();
        page.insert(names->property("str2mousecode").toMap());
        QHash<QString, int> fromPage;
        for (auto it = page.cbegin(); it != page.cend(); ++it)
            fromPage.insert(it.key(), it.value().toInt());
        QCOMPARE(fromPage, keyNameTable());
        // Code -> name: every keyboard code of the bridge list and nothing else.
        const auto call = [&](const char *function, const QVariant &argument) {
            QVariant result;
            QMetaObject::invokeMethod(names.data(), function, Q_RETURN_ARG(QVariant, result), Q_ARG(QVariant, argument));
            return result;
        };
        for (const KeyName &key : keyboardKeyNames)
            QCOMPARE(call("keycodeTostr", key.code).toString(), QString::fromUtf8(key.name));
        for (const KeyName &button : mouseButtonNames)
            QCOMPARE(call("mousecodeTostr", button.code).toString(), QString::fromUtf8(button.name));
        for (int code : {-1, 0, 0x03, 0x74, 0x80, 0x86, 0xE8, 0xF0})
            QCOMPARE(call("keycodeTostr", code).toString(), QString());
        QVERIFY(!call("mousecodeTostr", 0xEF).isValid() && !call("strTokeycode", "MS-L").isValid());
        QCOMPARE(call("strTokeycode", "\\ |").toInt(), 0x31);
        QCOMPARE(call("strTomousecode", "MS-B5").toInt(), 0xF4);
    }

    // New, Copy, rename and Delete by clicks: the name list and the profile files afterwards.
    void commands()
    {
        Page page("Standard0, loaderzenith");
        page.open();
        page.click("profileNew");
        QCOMPARE(page.namesAndCurrent(), QString("Standard0, profile_01 @1"));
        QCOMPARE(page.profileFile(2), page.data.readFile("modules/setting/pD.bin"));
        page.pick(0);
        page.menu(2);   // Copy
        QCOMPARE(page.namesAndCurrent(), QString("Standard0, profile_01, Standard(0)2 @2"));
        QCOMPARE(page.profileFile(3), page.profileFile(1));
        page.pick(0);
        page.menu(2);
        QCOMPARE(page.names(), QString("Standard0, profile_01, Standard(0)2, Standard(1)3"));
        // Double-click: a name in use is ignored, a free one taken on Enter.
        QTest::mouseDClick(page.view.get(), Qt::LeftButton, {}, page.centre("profileRow2"));
        QTest::mouseRelease(page.view.get(), Qt::LeftButton, {}, page.centre("profileRow2"));
        QTRY_VERIFY(page.panel->property("editIndex").toInt() == 2);
        QTest::keySequence(page.view.get(), QKeySequence::SelectAll);
        QTest::keyClicks(page.view.get(), "profile_0");
        QTest::keyClick(page.view.get(), Qt::Key_Return);
        QCOMPARE(page.names(), QString("Standard0, profile_01, Standard(0)2, Standard(1)3"));
        page.menu(1);   // Edit
        QTRY_VERIFY(page.panel->property("editIndex").toInt() == 2);
        QTest::keySequence(page.view.get(), QKeySequence::SelectAll);
        QTest::keyClicks(page.view.get(), "Work");
        page.pick(0);   // leaving the field keeps the name too
        QCOMPARE(page.names(), QString("Standard0, profile_01, Work2, Standard(1)3"));
        // A name still being typed when the panel's one close mark is clicked is kept; the panel opens as a list again.
        int marks = 0;
        for (QQuickItem *it : page.panel->findChildren<QQuickItem *>())
            marks += it->isVisible() && QStringList{"×", "X", "x"}.contains(it->property("text").toString());
        QCOMPARE(marks, 1);
        page.pick(2);
        page.menu(1);
        QTRY_VERIFY(page.panel->property("editIndex").toInt() == 2);
        QTest::keySequence(page.view.get(), QKeySequence::SelectAll);
        QTest::keyClicks(page.view.get(), "Home");
        page.click("profileClose");
        QCOMPARE(page.names(), QString("Standard0, profile_01, Home2, Standard(1)3"));
        page.open();
        QVERIFY(!page.shown("profileEditor"));
        // Delete keeps the profile files; the button keeps the last entry, the menu does not.
        const QByteArray p3 = page.profileFile(3);
        page.pick(2);
        page.click("profileDelete");
        QCOMPARE(page.namesAndCurrent(), QString("Standard0, profile_01, Standard(1)3 @3"));
        QCOMPARE(page.profileFile(3), p3);
        page.click("profileDelete");
        page.click("profileDelete");
        QCOMPARE(page.names(), QString("Standard0, loaderzenith"));
        page.click("profileDelete");
        QCOMPARE(page.names(), QString("Standard0, loaderzenith"));
        page.menu(0);
        QVERIFY(!page.data.readFile("modules/setting/name.bin").contains("profileName"));
    }

    // Each flow that sends a whole profile, one after the other: its requests by command code in order, and the very
    // reports the command line's sender makes for the same flow and profile.
    void flows_data()
    {
        QTest::addColumn<int>("model"); QTest::addColumn<QStringList>("commands");
        // Switch to Two: keys, axes, DPI (the current stage asked first), lighting refresh, stage colours, the effect
        // with its red palette, report rate, lift-off height, closing refresh. Load cancelled: Two's macro alone.
        // Reset: lighting second. Load: macro first, no lift-off. Model 0 has no lift-off.
        QTest::newRow("model 1") << 1 << QStringList{"03 0B 87 08 07 0C 06 0A 06 0C 06 01 04 0C 06", "05",
                                                     "03 06 0C 06 0B 87 08 07 0C 06 0A 01 04 0C 06",
                                                     "05 03 0B 87 08 07 0C 06 0A 06 0C 06 01"};
        QTest::newRow("model 0") << 0 << QStringList{"03 0B 87 08 07 0C 06 0A 06 0C 06 01 0C 06", "05",
                                                     "03 06 0C 06 0B 87 08 07 0C 06 0A 01 0C 06",
                                                     "05 03 0B 87 08 07 0C 06 0A 06 0C 06 01"};
    }
    void flows()
    {
        QFETCH(int, model); QFETCH(QStringList, commands);
        // Two differs from the factory profile in keys (button 3 plays M1), axes, DPI, lighting and lift-off.
        const QByteArray two = "[keydefine_J2]\n0=1, 0, 4, 0\n3=10, 0, 1, 0\n[macro]\n0=M1\n[XYSensitive]\n0=2\n1=7\n"
                               "[sensor]\njmgd=3\ndpi_Select=1, 1, 0, 1, 1, 0, 0, 0\n"
                               "[color_J2]\nledEffect=3, 0, 2, 0, 128, 255\n";
        Page page("Standard0, Two1", "English", model, two);
        QVERIFY(page.data.writeFile("modules/macro/M1.bin", "[config]\nindex=0\ntotal=1\nrepeat=2\ndid=-1\n[macro]\n0=\"1,A\"\n"));
        QVERIFY(page.data.writeFile("in.pf", "[keydefine_J2]\n3=10, 0, 1, 3\n[macro]\n3=Hand\n[color_J2]\nledEffect=5, 0, 1, 0, 255, 0\n"
                                             "[profile]\nname=Hand\n0=\"1,A\", \"0,50\", 3\n"));
        using namespace ProfileSendPlan;
        for (const Flow flow : {Switch, Macros, Reset, Load}) {
            page.view->chooseProfileToLoad = [&page, flow](QWidget *) {
                return flow == Load ? page.data.filePath("in.pf") : QString();
            };
            page.open();
            if (flow == Switch)
                page.pick(1);
            const int before = page.traceLength();
            if (flow == Switch || flow == Reset)
                page.click("profileClose");   // before the reset: nothing switched, nothing sent
            if (flow == Reset) {
                page.click("restBtn");
                page.click("resetOk");
            } else if (flow != Switch) {
                page.menu(3);
            }
            const QStringList sent = page.reports(before);
            const QRegularExpression block("^feature-out 00 (\\w\\w) .*");
            QCOMPARE(sent.filter(block).replaceInStrings(block, "\\1").join(' '), commands.takeFirst());
            ProfileSender::send(flow, page.view->store, *page.hid);
            QCOMPARE(page.reports(before).mid(sent.size()), sent);
        }
    }

    // Save and Load from the menu: the macros travel with the file and come back after a wipe. Switching and closing
    // locks the page 1200 ms and re-sends the new profile as the page's own re-init does.
    void switchSaveAndLoad()
    {
        Page page("Standard0, Two1");
        QVERIFY(page.data.writeFile("modules/macro/M1.bin", "[config]\nindex=0\ntotal=1\nrepeat=2\ndid=-1\n[macro]\n0=\"1,A\"\n"));
        QVERIFY(page.data.writeFile("modules/macro/M2.bin", "[config]\nindex=1\ntotal=0\nrepeat=1\ndid=-1\n"));
        StoreFile::open("modules/setting/name.bin")->setValue("macro/macroName", QStringList{"M1", "M2"});
        QMetaObject::invokeMethod(page.item("macroEditorMain"), "init");   // the editor's list is what Save exports
        const QString pf = page.data.filePath("out/exported.pf");
        QVERIFY(page.data.writeFile("out/exported.pf", "stale=1\n"));   // an earlier export is replaced
        page.view->chooseProfileToSave = [&](QWidget *) { return pf; };
        // The exported profile lights green Neon; the profile it is loaded into shows red until then.
        page.view->store.profileSettings(0)->setValue("color_J2/ledEffect", QVariantList{2, 0, 1, 0, 255, 0});
        page.open();
        page.menu(4);
        QVERIFY(page.data.readFile("out/exported.pf").contains("name=M1, M2") && !page.data.readFile("out/exported.pf").contains("stale"));
        QVERIFY(QFile::remove(page.data.filePath("modules/macro/M1.bin")));
        QVERIFY(QFile::remove(page.data.filePath("modules/macro/M2.bin")));
        StoreFile::open("modules/setting/name.bin")->remove("macro");
        const int before = page.traceLength();
        page.pick(1);
        // Loading without sending, but a report rate that differs is a change the mouse follows.
        const QStringList onSwitch = page.reports(before);
        QCOMPARE(onSwitch.size(), 4);
        QVERIFY2(onSwitch.first().startsWith("feature-out 00 01 02 "), qPrintable(onSwitch.join('\n')));
        page.click("profileClose");
        QVERIFY(!page.panel->isVisible() && !page.item("mainMask")->isVisible());
        QVERIFY(!page.view->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(page.view->isEnabled(), 3000);
        page.open();
        page.view->chooseProfileToLoad = [&](QWidget *) { return pf; };
        page.menu(3);
        QCOMPARE(page.view->loadMacroIni("M1"), QStringList({"1,A", "2"}));
        QCOMPARE(page.view->loadMacroIni("M2"), QStringList({"1"}));
        QCOMPARE(page.view->loadMacroIndex("M2").toInt(), 1);   // the list's order, as the editor numbers them
        QCOMPARE(page.profileFile(2).contains("reportRate_J2=1"), true);   // profile 0's settings, now in profile 1
        // The panels re-sent after the load keep the loaded lighting, not the one shown before.
        QVERIFY2(page.profileFile(2).contains("ledEffect=2, 0, 1, 0, 255, 0"), page.profileFile(2).constData());
        // A cancelled dialog changes no profile.
        const QByteArray p2 = page.profileFile(2);
        page.view->chooseProfileToLoad = [](QWidget *) { return QString(); };
        page.menu(3);
        QCOMPARE(page.profileFile(2), p2);
    }

    // With six profiles New adds no entry and Copy overwrites p7.bin; the list stays at six.
    void sixProfiles_data()   // the menu, then the first entry: "Standard" in English only, shown but not stored
    {
        languageRows({"Delete", "Edit", "Copy", "Load", "Save", "Link to application…", "Standard"},
                     {"删除", "编辑", "复制", "载入", "保存", "关联应用程序…", "Alpha"});
    }
    void sixProfiles()
    {
        QFETCH(QString, language); QFETCH(QStringList, texts);
        Page page("Alpha0, profile_01, Work2, D3, E4, F5", language);
        page.open();
        QCOMPARE(page.panel->property("menuTexts").toStringList() << page.text("profileRowName0"), texts);
        page.click("profileNew");
        page.pick(3);
        page.menu(2);
        QCOMPARE(page.profileFile(7), page.profileFile(4));
        QCOMPARE(page.namesAndCurrent(), QString("Alpha0, profile_01, Work2, D3, E4, F5 @3"));
        page.pick(1, Qt::RightButton);
        const QImage shot = page.view->grabFramebuffer();
        const QPoint at = page.centre("profileMenuRow4");
        QVERIFY2(shot.pixelColor(at.x() - 40, at.y()).red() > 90, qPrintable(shot.pixelColor(at).name()));
    }
};

QTEST_MAIN(tst_BridgeView)
#include "tst_bridgeview.moc"
