#include "languagerows.h"
#include "myqquickview.h"
#include "pagerig.h"
#include "profilekeys.h"
#include "storefile.h"
#include "tmpfsmount.h"

#include <QClipboard>
#include <QGlyphRun>
#include <QRawFont>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTextLayout>

static QString out(const QString &hex) { return QStringLiteral("feature-out 00 ") + hex; }

// The panels, the recoil editor and the factory reset, clicked and typed on the real page, read back from the wire,
// the desktop and the files.
class tst_Panels : public QObject
{
    Q_OBJECT

    QScopedPointer<PageRig> rig;
    int seen = 0;

    // Brings a panel of the right column into the view.
    void reveal(const char *panel)
    {
        QQuickItem *column = rig->item("panelRightItem");
        const qreal to = qMin(rig->item(panel)->y(), column->property("contentHeight").toReal() - column->height());
        if (column->property("contentY").toReal() == to)
            return;
        // The panel's controls take clicks once the scrolled column has been drawn.
        QSignalSpy drawn(rig->view->quickWindow(), &QQuickWindow::afterRendering);
        column->setProperty("contentY", to);
        QVERIFY(drawn.wait());
    }
    // Command blocks with this code sent since forget(), without the report ID: "01 08 03 03 0f 00 00 e1".
    QStringList commands(uchar code)
    {
        QStringList result = rig->reports(seen).filter(QRegularExpression(QString::asprintf("^feature-out 00 %02X ", code)));
        for (QString &line : result)
            line = line.mid(15).toLower();
        return result;
    }
    void forget() { seen = rig->traceLength(); rig->system->calls.clear(); }
    // The panel's shown texts: none empty, each inside the panel.
    void textsInside(const char *panel)
    {
        QQuickItem *frame = rig->item(panel);
        const QRectF box = frame->mapRectToScene(QRectF(0, 0, frame->width(), frame->height()));
        for (QQuickItem *text : frame->findChildren<QQuickItem *>()) {
            if (!text->inherits("QQuickText") || !text->isVisible())
                continue;
            const QRectF r = text->mapRectToScene(QRectF(0, 0, text->property("implicitWidth").toReal(), text->height()));
            QVERIFY2(!text->property("text").toString().isEmpty(), panel);
            QVERIFY2(box.adjusted(-0.5, -0.5, 0.5, 0.5).contains(r), qPrintable(QStringLiteral("%1: %2").arg(panel, text->property("text").toString())));
        }
    }

    QQuickItem *dialog() { return rig->item("gunControlMain"); }
    // An empty spot of the dialog, between the button rows.
    void clickEmpty() { rig->clickAt("gunControlMain", QPointF(250, 318)); }
    void typeInto(const QString &field, const QString &typed)
    {
        rig->click(field);
        QTest::keyClick(rig->view.get(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(rig->view.get(), Qt::Key_Delete);
        QTest::keyClicks(rig->view.get(), typed);
    }
    // The name comes from the clipboard: a control character cannot be typed.
    void rename(int index, const QString &name)
    {
        clickEmpty();
        QTest::mouseDClick(rig->view.get(), Qt::LeftButton, {}, rig->centre(QString("gunEntry%1").arg(index)));
        QCoreApplication::processEvents();
        QGuiApplication::clipboard()->setText(name);
        QTest::keyClick(rig->view.get(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(rig->view.get(), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(rig->view.get(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    bool unlimited() { return dialog()->property("limitedRuns").toBool() == false; }
    // The five fields, then "unlimited" or "runs": whether the runs are counted.
    QStringList fields() { return {rig->text("gunKeyField"), rig->text("gunPeriodField"), rig->text("gunXField"),
        rig->text("gunYField"), rig->text("gunTimesField"), unlimited() ? "unlimited" : "runs"}; }
    void openDialog()
    {
        QMetaObject::invokeMethod(rig->view->rootObject(), "openDialog",
                                  Q_ARG(QVariant, QVariant::fromValue<QObject *>(dialog())), Q_ARG(QVariant, true));
    }

    QString gunLine(const QString &name) { return rig->fileValue("modules/gun/gunData.bin", "gunData", name); }
    QString nameLine() { return rig->fileValue("modules/setting/name.bin", "gun", "gunName"); }

private slots:
    void cleanup() { rig.reset(); seen = 0; }

    // Help's update title and message, with no updater installed for the mouse; the scroll panel's reason.
    void sensorPanels_data()
    {
        languageRows({"update", "No updater is installed for this mouse.",
                      "This desktop has no setting for wheel lines"},
                     {"更新", "此鼠标没有安装更新程序。", "此桌面没有滚轮行数的设置"});
    }
    // Every panel driven by clicks on the window, read back from the wire, the desktop and the profile; then a desktop
    // without wheel lines; then Help, update, which says in a box in the page's language that no updater is there.
    void sensorPanels()
    {
        QFETCH(QString, language); QFETCH(QStringList, texts);
        rig.reset(new PageRig(1, language));
        {
            const auto profile = StoreFile::open(rig->data.filePath("modules/setting/p1.bin"));
            profile->setValue(QLatin1String(ProfileKey::reportRate), 16);   // loads as 8
            profile->setValue(QStringLiteral("XYSensitive/1"), 12);          // shows position 9
        }
        QVERIFY(rig->start());
        QCOMPARE(commands(0x01), QStringList{"01 08 03 03 0f 00 00 e1"});  // the loaded rate changed the panel's value
        QVERIFY(rig->system->calls.isEmpty());
        forget();
        reveal("reportRateMain");
        QQuickItem *dial = rig->item("reportRateDial");
        QTest::mousePress(rig->view.get(), Qt::LeftButton, {}, scenePoint(dial, {80, 30}));   // 1000 Hz, then around
        for (const QPointF &p : {QPointF(80, 90), QPointF(30, 90), QPointF(30, 30)})
            QTest::mouseMove(rig->view.get(), scenePoint(dial, p));
        QTest::mouseRelease(rig->view.get(), Qt::LeftButton, {}, scenePoint(dial, {30, 30}));
        QCOMPARE(commands(0x01), (QStringList{"01 01 03 03 0f 00 00 e8", "01 02 03 03 0f 00 00 e7", "01 04 03 03 0f 00 00 e5",
                                           "01 08 03 03 0f 00 00 e1"}));
        QCOMPARE(commands(0x06).size(), 4);   // the lighting follows every change
        textsInside("reportRateMain");
        // Pointer speed: far right on the base line is level 11, straight above the centre level 6. Double-click speed:
        // the left end is level 0 (900 ms), the right end 11 (130 ms).
        const std::tuple<QString, QPoint, QPoint, QStringList> dials[] = {
            {"mouseRate", {179, 70}, {90, 20}, {"setMouseSpeed 22", "setMouseSpeed 12"}},
            {"doubleRate", {2, 75}, {178, 70}, {"setDoubleClickTime 900", "setDoubleClickTime 130"}}};
        for (const auto &[panel, first, second, calls] : dials) {
            forget();
            reveal(qPrintable(panel + "Main"));
            QQuickItem *image = rig->item(panel + "Dial")->findChild<QQuickItem *>(QStringLiteral("dialImage"));
            QTest::mouseClick(rig->view.get(), Qt::LeftButton, {}, scenePoint(image, first));
            QTest::mouseClick(rig->view.get(), Qt::LeftButton, {}, scenePoint(image, second));
            QCOMPARE(rig->system->calls, calls);
            textsInside(qPrintable(panel + "Main"));
        }
        // Scroll lines: 0 typed and Enter applies 1; one screen is 1000; + only changes the field.
        forget();
        reveal("scrollRateMain");
        QQuickItem *field = rig->item("linesField");
        typeInto("linesField", "0x-");   // only digits get in
        QCOMPARE(field->property("text").toString(), QStringLiteral("0"));
        QTest::keyClick(rig->view.get(), Qt::Key_Return);
        rig->clickAt("screenOption", {5, 9});
        rig->clickAt("linesPlus", {8, 9});
        QCOMPARE(field->property("text").toString(), QStringLiteral("2"));
        QCOMPARE(rig->system->calls, (QStringList{"setWheelScrollLines 1", "setWheelScrollLines 1000"}));
        textsInside("scrollRateMain");
        rig->clickAt("rowsOption", {5, 9});
        QCOMPARE(rig->system->calls.last(), QStringLiteral("setWheelScrollLines 2"));
        // "One screen" clicked while a row count is being typed: only one screen goes out, and stays chosen.
        forget();
        rig->click("linesField");
        QTest::keyClick(rig->view.get(), Qt::Key_End);
        QTest::keyClick(rig->view.get(), Qt::Key_7);
        rig->clickAt("screenOption", {5, 9});
        QCOMPARE(rig->system->calls, QStringList{"setWheelScrollLines 1000"});
        QVERIFY(rig->item("screenOption")->property("checked").toBool());
        QVERIFY(!rig->item("rowsOption")->property("checked").toBool());
        QCOMPARE(field->property("text").toString(), QStringLiteral("27"));
        // Axis sensitivity: a click in a zone stores both levels and sends them as (level + 1) x 20.
        forget();
        rig->clickAt("xSlider", {140, 8});   // zone 6
        QCOMPARE(rig->stored("XYSensitive/0") + rig->stored("XYSensitive/1"), QStringLiteral("69"));
        QCOMPARE(commands(0x06).size(), 1);
        rig->clickAt("xSlider", {145, 8});   // the same zone: nothing sent
        rig->clickAt("ySlider", {5, 8});   // zone 0
        QCOMPARE(commands(0x0B), (QStringList{"0b 8c c8 00 00 00 00 a0", "0b 8c 14 00 00 00 00 54"}));
        textsInside("xySettingMain");
        forget();
        rig->clickAt("jmgd3", {5, 9});   // lift-off height
        rig->clickAt("jmgd2", {5, 9});
        QCOMPARE(commands(0x04), (QStringList{"04 03 00 00 00 00 00 f8", "04 02 00 00 00 00 00 f9"}));
        textsInside("jmgdMain");
        // A desktop that keeps no wheel lines, as a profile switch finds it: the scroll panel is disabled with its
        // reason, and nothing is tried. The rows field always shows a row count once loaded, one screen included.
        forget();
        rig->system->wheelLines = false;
        QMetaObject::invokeMethod(rig->view->rootObject(), "reloadPanels", Q_ARG(QVariant, true));
        reveal("scrollRateMain");
        QVERIFY(rig->shown("linesReason"));
        QCOMPARE(rig->text("linesReason"), texts[2]);
        for (const char *name : {"screenOption", "rowsOption", "linesPlus", "linesField"})
            rig->clickAt(name, {5, 9});
        QCOMPARE(rig->system->calls.filter("WheelScrollLines"), QStringList());
        textsInside("scrollRateMain");
        const QVariant rows[][3] = {{1000, "3", true}, {QVariant(), "1", false}, {250, "100", false}, {7, "7", false}};
        for (const auto &row : rows) {
            if (&row != &rows[0]) {
                rig->view->store.setValue(QLatin1String(ProfileKey::scrollLines), row[0]);
                QMetaObject::invokeMethod(rig->item("scrollRateMain"), "init", Q_ARG(QVariant, false));
            }
            QCOMPARE(rig->item("linesField")->property("text").toString(), row[1].toString());
            QCOMPARE(rig->item("screenOption")->property("checked").toBool(), row[2].toBool());
        }
        rig->click("headerButton2");
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Updater not started: .*update1.exe\" is missing$"));
        rig->click("askRow1");
        QVERIFY(rig->shown("noticeBox") && rig->shown("mainMask"));
        QCOMPARE(QStringList({rig->text("noticeTitle"), rig->text("noticeText")}), texts.mid(0, 2));
        // Without the page's own font, Latin stays in DejaVu Sans and Chinese takes simplified, not Japanese, forms.
        QTextLayout drawn(QStringLiteral("No 此"), rig->item("noticeText")->property("font").value<QFont>());
        drawn.beginLayout();
        drawn.createLine();
        drawn.endLayout();
        QStringList fonts;
        for (const QGlyphRun &run : drawn.glyphRuns())
            fonts << run.rawFont().familyName().toLower();   // as the font database spells it
        fonts.sort();   // the runs come in no set order
        QCOMPARE(fonts, (QStringList{"dejavu sans", "noto sans cjk sc"}));
        QVERIFY(rig->item("noticeText")->property("implicitWidth").toReal() <= rig->item("noticeText")->width());
        QVERIFY(rig->cutOff("noticeBox").isEmpty());
        rig->click("noticeOk");
        QVERIFY(!rig->shown("noticeBox") && !rig->shown("mainMask"));
    }

    // Start-up stores nothing: a name list another tool wrote stays as it is, byte for byte. Then breath at the middle
    // level, then stage 3 at the top of its track, clicked as a user does; then every pop-up opened by clicks lies
    // wholly in the window, uncut by the clipped right column, and takes clicks at its edges: the red preset at the
    // colour pop-up's left edge colours the stage.
    void defaultPage()
    {
        rig.reset(new PageRig);
        const QByteArray names = "[profile]\nprofileName=Standard0, Work1, Odd\n"
                                 "[gun]\ngunName=\"a;b\", Gun1, \"c;d\"\n";
        QVERIFY(rig->data.writeFile("modules/setting/name.bin", names));
        const auto before = TmpfsMount::filesBelow(rig->data.filePath("modules"));
        QVERIFY(rig->start());
        rig->click("profileBtn");
        // Missing profiles are made from pD.bin; every file that was there stays as it was.
        const auto after = TmpfsMount::filesBelow(rig->data.filePath("modules"));
        for (auto it = before.constBegin(); it != before.constEnd(); ++it)
            QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
        rig->click("profileClose");
        QCOMPARE(rig->text("dpiValue3"), QStringLiteral("3200"));
        int mark = rig->traceLength();
        rig->click("effectButton1");
        rig->clickAt("levelSlider1", QPointF(63, 7));   // the middle position: level 2
        // Effect 1, colour 0, speed 50 / 6 for level 2, then 01 00 and no check byte.
        QCOMPARE(rig->reports(mark), (QStringList{out("06 01 00 32 01 01 00 00"), out("06 01 00 32 06 01 00 00")}));
        QCOMPARE(rig->stored("color_J2/ledEffect"), QStringLiteral("1, 0, 2, 255, 0, 0"));
        mark = rig->traceLength();
        rig->clickAt("dpiTrack3", QPointF(3, 3));   // above the track top: the highest bar
        QCOMPARE(rig->text("dpiValue3"), QStringLiteral("16000"));
        const QStringList sent = rig->reports(mark);
        const QString reply = sent.value(1).mid(17), stage = reply.left(2);   // the stage the mouse reported
        // 6400 1200 2400 4800 as value / 50, stage 3 doubled; stages 0..4 enabled; 400 800 1600 and (16000 - 12800) / 50.
        // Then the lighting again: the palette of the recorded colour (red), then the effect.
        const QString red = "data-out 00 FF 00 00 00 00 FF 00 FF 00 FF FF 00 00 FF FF FF 7F 00 FF 00 FF FF FF FF";
        QCOMPARE(sent, QStringList({out("87 00 00 00 00 00 00 78"), "feature-in 00 87 " + reply,
                                    out("08 80 18 30 60 08 00 00"), out("07 " + stage + " 1F 08 10 20 40 00"),
                                    out("0C 00 00 01 00 00 00 F2"), red + QString(" 00").repeated(40),
                                    out("06 01 00 32 06 01 00 00")}));
        // The marked stage's bar reaches the top of its track.
        QVERIFY(rig->view->grabFramebuffer().pixelColor(rig->centre("dpiTrack3", QPointF(3, 9))).red() > 150);
        // Preset 5 goes out as green 103; the profile keeps 127.
        mark = rig->traceLength();
        rig->click("lightPreset5");
        QVERIFY2(rig->reports(mark).value(1).startsWith("data-out 00 FF 67 00 00 00 FF "), qPrintable(rig->reports(mark).join('\n')));
        QCOMPARE(rig->stored("color_J2/ledEffect"), QStringLiteral("1, 0, 2, 255, 127, 0"));
        // The knob (level 2, centred at 63) counts a click at its point, and a drag where it is let go.
        mark = rig->traceLength();
        rig->clickAt("levelSlider1", QPointF(58, 7));
        QTest::mousePress(rig->view.get(), Qt::LeftButton, {}, rig->centre("levelSlider1", QPointF(34, 7)));
        for (const qreal x : {60.0, 95.0})
            QTest::mouseMove(rig->view.get(), rig->centre("levelSlider1", QPointF(x, 7)));
        QTest::mouseRelease(rig->view.get(), Qt::LeftButton, {}, rig->centre("levelSlider1", QPointF(95, 7)));
        QCOMPARE(rig->reports(mark), (QStringList{out("06 01 00 32 08 01 00 00"), out("06 01 00 32 04 01 00 00")}));
        // Each is shown: a control inside it is clicked or seen next.
        const auto uncut = [this](const QString &name) {
            QVERIFY2(rig->cutOff(name).isEmpty(), qPrintable(name + " cut by " + rig->cutOff(name)));
        };
        for (int stage = 0; stage < 5; ++stage) {
            const QString swatch = QString("dpiSwatch%1").arg(stage);
            rig->click(swatch);
            uncut("colorBar");
            rig->click("colorPreset");
            QCOMPARE(rig->item(swatch)->property("color").value<QColor>(), QColor(Qt::red));
            rig->click("panelleft", Qt::LeftButton, QPointF(5, -5));   // the page beside the left column closes it
            QVERIFY(!rig->shown("colorBar"));
        }
        QVERIFY(rig->stored("color_J2/type1").startsWith(QString("255, 0, 0, ").repeated(5)));
        rig->click("headerButton2");
        uncut("askMenu");
        rig->click("askRow2");
        for (int key = 0; key < 6; ++key) {
            rig->click(QString("keyRow%1").arg(key));
            uncut("keyMenuMain");
            // Each parent entry opens its own sub-menu and closes the others; "Back" (4) closes them all.
            for (const QString parent : {"5", "6", "7", "8", "4"}) {
                rig->hover("menuEntry" + parent);
                for (const QString other : {"5", "6", "7", "8"})
                    QCOMPARE(rig->shown("subMenu" + other), other == parent);
                if (parent != "4")
                    uncut("subMenu" + parent);
            }
            rig->click("panelleft", Qt::LeftButton, QPointF(5, -5));
        }
        // The page's images, the tray icon and the texts of the language file.
        QObject *root = rig->view->rootObject();
        int images = 0;
        for (int i = QQuickItem::staticMetaObject.propertyCount(); i < root->metaObject()->propertyCount(); ++i) {
            const QMetaProperty property = root->metaObject()->property(i);
            if (!QByteArray(property.name()).startsWith("source"))
                continue;
            const QUrl url = property.read(root).toUrl();
            QCOMPARE(url.scheme(), QStringLiteral("qrc"));
            QVERIFY2(!QImage(QLatin1Char(':') + url.path()).isNull(), qPrintable(url.toString()));
            ++images;
        }
        QVERIFY(images >= 20);
        const QIcon tray(QStringLiteral(G7_SOURCE_DIR "/modules/img/trayIcon.ico"));
        QVERIFY(tray.availableSizes().contains(QSize(16, 16)) && tray.availableSizes().contains(QSize(32, 32)));
        QVERIFY(tray.pixmap(QSize(16, 16)).toImage().pixelColor(8, 8).alpha() > 0);
        // Every text of the language file stands where the page has its English text.
        QSettings file(QStringLiteral(G7_SOURCE_DIR "/modules/i18n/lang_025044.ini"), QSettings::IniFormat);
        for (const QByteArray name :
             {"main", "keyMatrix", "keyMenu", "macroEditor", "gunControl", "macroKey", "other"}) {
            QStringList chinese;
            for (int i = 0, n = file.value(name + "/total").toInt(); i < n; ++i)
                chinese << file.value(name + '/' + QByteArray::number(i)).toString();
            // The page has no English "other" group (the DPI notices): eight texts, each on one line.
            QObject *owner = name == "main" ? root : root->findChild<QObject *>(QLatin1String(name + "Main"));
            const QStringList english = owner ? owner->property(name + "Lang").toStringList() : QStringList(8, QStringLiteral("notice"));
            QCOMPARE(chinese.size(), english.size());
            for (int i = 0; i < english.size(); ++i)
                QVERIFY2(english[i].isEmpty() == chinese[i].isEmpty() && english[i].count(u'\n') == chinese[i].count(u'\n'),
                         qPrintable(name + '/' + QByteArray::number(i)));
        }
    }

    // A factory reset leaves the profile as the default file holds it and sends those values.
    void factoryReset_data()
    {
        QTest::addColumn<int>("model"); QTest::addColumn<QString>("dpiKey");
        QTest::addColumn<QString>("clicked");   // the stages after a press 62 above the bottom of stage 1's track
        QTest::newRow("with lighting") << 1 << "dpi_J2" << "400, 6500, 1600";
        QTest::newRow("without lighting") << 2 << "dpi_J2" << "400, 6500, 1600";
        QTest::newRow("3336") << 0 << "dpi_J2_3336" << "400, 4900, 1600";
    }
    void factoryReset()
    {
        QFETCH(int, model); QFETCH(QString, dpiKey); QFETCH(QString, clicked);
        rig.reset(new PageRig(model));
        QVERIFY(rig->start());
        // Change the profile first: a stage value and, where shown, the effect.
        rig->clickAt("dpiTrack1", QPointF(3, 100));
        if (model != 2)
            rig->click("effectButton2");
        QVERIFY2(rig->stored("sensor/" + dpiKey).startsWith(clicked), qPrintable(rig->stored("sensor/" + dpiKey)));
        rig->click("restBtn");
        const int mark = rig->traceLength();
        rig->click("resetOk");
        QCOMPARE(rig->data.readFile("modules/setting/p1.bin"), rig->data.readFile("modules/setting/pD.bin"));
        // What goes out is stored again, so the file holds it (the blocks in order: bridge/bridgeview flows); the
        // lighting goes out also where none is shown: effect 0, level 4, brightness 50.
        const QStringList sent = rig->reports(mark);
        QVERIFY2(sent.contains(out("06 00 00 32 06 01 00 00")), qPrintable(sent.join('\n')));
    }

    void editAndStore_data() { languageRows({"Gun Manager"}, {"枪械管理器"}); }
    void editAndStore()
    {
        QFETCH(QString, language); QFETCH(QStringList, texts);
        rig.reset(new PageRig(1, language));
        StoreFile::open(rig->data.filePath("modules/setting/p1.bin"))->setValue("selectGun/0", "Beta");
        QVERIFY(rig->data.writeFile("modules/setting/name.bin", "[gun]\ngunName=Alpha, Beta\n"));
        QVERIFY(rig->data.writeFile("modules/gun/gunData.bin",
                                    "[gunData]\nAlpha=L-Click, 20, 3, -4, 5\nBeta=L-Click, 30, 0, 0, 0\n"));
        QVERIFY(rig->start());
        QVERIFY(!rig->shown("gunBtn"));   // the main page keeps its own button hidden
        openDialog();   // as that button would
        QCOMPARE(rig->text("gunTitle"), texts[0]);
        // The profile's entry is the one selected.
        QCOMPARE(fields(), QStringList({"L-Click", "30", "0", "0", "0", "unlimited"}));
        rig->click("gunEntry0");
        QCOMPARE(fields(), QStringList({"L-Click", "20", "3", "-4", "5", "runs"}));
        // New (Gun0): Y -10 on the page (newEntry reads its line in the file).
        rig->click("gunNew");
        QCOMPARE(fields(), QStringList({"L-Click", "10", "0", "-10", "0", "unlimited"}));
        // Rename stores the entry as the page holds it under the new name only.
        rename(2, "Gun7");
        QVERIFY(gunLine("Gun0").isNull());
        QCOMPARE(gunLine("Gun7"), QString("L-Click, 10, 0, -10, 0"));
        const QByteArray before = rig->data.readFile("modules/gun/gunData.bin");
        // A name in use, and one with a control character the file cannot keep as a key, change nothing.
        for (const QString &refused : {QString("Alpha"), QString("Gun") + QChar(0x90)}) {
            rename(2, refused);
            QCOMPARE(rig->text("gunEntryText2"), QString("Gun7"));
            QCOMPARE(rig->data.readFile("modules/gun/gunData.bin"), before);
            QCOMPARE(nameLine(), QString("Alpha, Beta, Gun7"));
        }
        rig->click("gunEntry1");
        rig->click("gunDelete");
        QCOMPARE(dialog()->property("currentIndex").toInt(), 1);
        QCOMPARE(rig->text("gunEntryText1"), QString("Gun7"));
        QVERIFY(gunLine("Beta").isNull());
        // Edits reach the file with OK.
        rig->click("gunEntry0");
        typeInto("gunPeriodField", "7");
        rig->click("gunUnlimitedOption");
        QCOMPARE(fields(), QStringList({"L-Click", "7", "3", "-4", "0", "unlimited"}));
        rig->click("gunOk");
        QVERIFY(!rig->shown("gunControlMain") && !rig->shown("mainMask"));
        QCOMPARE(gunLine("Alpha"), QString("L-Click, 7, 3, -4, 0"));
        QCOMPARE(gunLine("Gun7"), QString("L-Click, 10, 0, -10, 0"));
        QCOMPARE(nameLine(), QString("Alpha, Gun7"));
        // Then the fields, each case started again from one stored entry; then Cancel, then New.
        struct Case { const char *field, *typed; bool byEnter; const char *shown, *stored; };   // byEnter, else a click elsewhere
        const Case cases[] = {
            {"gunPeriodField", "", false, "10", "L-Click, 10, 3, -4, 5"},
            {"gunPeriodField", "300", true, "255", "L-Click, 255, 3, -4, 5"},
            {"gunPeriodField", "007", false, "7", "L-Click, 7, 3, -4, 5"},
            {"gunPeriodField", "1x-2", true, "12", "L-Click, 12, 3, -4, 5"},   // letters and minus refused
            {"gunXField", "-", false, "0", "L-Click, 20, 0, -4, 5"},
            {"gunXField", "-200", false, "-127", "L-Click, 20, -127, -4, 5"},
            {"gunXField", "128", true, "127", "L-Click, 20, 127, -4, 5"},
            {"gunYField", "-0", false, "0", "L-Click, 20, 3, 0, 5"},
            {"gunYField", "1-2", true, "12", "L-Click, 20, 3, 12, 5"},   // a minus only in front
            {"gunYField", "-35", false, "-35", "L-Click, 20, 3, -35, 5"},
            {"gunTimesField", "", false, "0", "L-Click, 20, 3, -4, 0"},   // and "Unlimited" chosen
            {"gunTimesField", "999", true, "255", "L-Click, 20, 3, -4, 255"},
        };
        // Reopens the dialog on these files, a null one removed; the default list has the single-entry form's filler.
        const auto fresh = [this](const QByteArray &names = "[gun]\ngunName=Alpha, loaderzenith\n",
                                  const QByteArray &gunData = "[gunData]\nAlpha=L-Click, 20, 3, -4, 5\n") {
            for (const auto &[file, text] :
                 {std::pair{"modules/setting/name.bin", names}, {"modules/gun/gunData.bin", gunData}})
                QVERIFY(text.isNull() ? QFile::remove(rig->data.filePath(file)) : rig->data.writeFile(file, text));
            QMetaObject::invokeMethod(dialog(), "init");
            openDialog();
        };
        for (const Case &c : cases) {
            const QString field = c.field;
            const QString what = QString("%1 typed \"%2\"").arg(field, c.typed);
            fresh();
            typeInto(field, c.typed);
            if (c.byEnter)
                QTest::keyClick(rig->view.get(), Qt::Key_Return);
            else
                clickEmpty();
            QVERIFY2(rig->text(field) == c.shown, qPrintable(what + " shows " + rig->text(field)));
            if (field == "gunTimesField")
                QVERIFY2(unlimited() == (QString(c.shown) == "0"), qPrintable(what));
            rig->click("gunOk");
            QVERIFY2(gunLine("Alpha") == c.stored, qPrintable(what + " stored " + gunLine("Alpha")));
            QCOMPARE(nameLine(), QString("Alpha, loaderzenith"));
        }
        // Cancel keeps the page's edits and stores none.
        fresh();
        typeInto("gunPeriodField", "42");
        // A press on the mask outside the dialog ends the edit as well.
        typeInto("gunYField", "55");
        QTest::mouseClick(rig->view.get(), Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(rig->text("gunYField"), QString("55"));
        // "Run Times" sets one run, also when it was chosen already; "Unlimited" sets none.
        QStringList runs;
        for (const char *option : {"gunRunTimesOption", "gunUnlimitedOption", "gunUnlimitedOption", "gunRunTimesOption"}) {
            rig->click(option);
            runs << rig->text("gunTimesField") + (unlimited() ? "u" : "");
        }
        QCOMPARE(runs, QStringList({"1", "0u", "0u", "1"}));
        rig->click("gunCancel");
        QVERIFY(!rig->shown("gunControlMain") && !rig->shown("mainMask"));
        QCOMPARE(gunLine("Alpha"), QString("L-Click, 20, 3, -4, 5"));
        openDialog();
        QCOMPARE(fields(), QStringList({"L-Click", "42", "3", "55", "1", "runs"}));
        // Dragged by its title bar far past the top left corner, it stops at the page's edge.
        const QPoint from = rig->centre("gunTitleBar");
        QTest::mousePress(rig->view.get(), Qt::LeftButton, {}, from);
        QTest::mouseMove(rig->view.get(), from - QPoint(100, 50));
        QCOMPARE(dialog()->position(), QPointF(140, 95));
        QTest::mouseMove(rig->view.get(), from - QPoint(600, 400));
        QTest::mouseRelease(rig->view.get(), Qt::LeftButton, {}, from - QPoint(600, 400));
        QCOMPARE(dialog()->position(), QPointF(0, 0));
        // New takes the first free number of the name list; with all hundred taken it does nothing.
        QStringList all;
        for (int n = 0; n < 100; ++n)
            all << QString("Gun%1").arg(n);
        const std::tuple<QStringList, bool, QString> newCases[] = {   // names, whether gunData.bin exists, created
            {{}, true, "Gun0"}, {{"Gun0", "Gun2"}, true, "Gun1"}, {{"Gun1x", "gun0", "Alpha"}, true, "Gun0"},
            {all, true, ""}, {{"Gun0", "Gun1"}, false, "Gun2"}};
        for (const auto &[names, dataFile, created] : newCases) {
            const QByteArray nameFile = "[gun]\ngunName=" + names.join(", ").toUtf8() + "\n";
            fresh(names.isEmpty() ? QByteArray() : nameFile, dataFile ? "[gunData]\n" : QByteArray());
            rig->click("gunNew");
            const QStringList listed = created.isEmpty() ? names : names + QStringList{created};
            QCOMPARE(rig->item("gunList")->property("count").toInt(), listed.size());
            QCOMPARE(nameLine(), listed.join(", ").append(names.isEmpty() ? ", loaderzenith" : ""));
            const QByteArray added = created.isEmpty() ? "" : created.toUtf8() + "=L-Click, 10, 0, 0, 0\n";
            QCOMPARE(rig->data.readFile("modules/gun/gunData.bin"), dataFile ? "[gunData]\n" + added : QByteArray());
            if (created.isEmpty())
                continue;
            QCOMPARE(dialog()->property("currentIndex").toInt(), names.size());
            QCOMPARE(rig->text(QString("gunEntryText%1").arg(names.size())), created);
            // Without data the entry still works on the page and neither New nor OK stores it.
            rig->click("gunOk");
            if (!dataFile)
                QVERIFY(!QFile::exists(rig->data.filePath("modules/gun/gunData.bin")));
        }
    }
};

QTEST_MAIN(tst_Panels)
#include "tst_panels.moc"
