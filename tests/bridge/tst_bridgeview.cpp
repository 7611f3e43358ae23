#include "keynames.h"
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

class tst_BridgeView : public QObject
{
    Q_OBJECT

private slots:
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
};

QTEST_MAIN(tst_BridgeView)
#include "tst_bridgeview.moc"
