#include "hid_thread.h"
#include "myqquickview.h"
#include "pagerig.h"
#include "storefile.h"
#include "tmpfsmount.h"

#include <QQuickItem>
#include <QQuickView>
#include <QSettings>
#include <QTest>

static const char *const groups[] = {"main", "keyMatrix", "keyMenu", "macroEditor", "gunControl", "macroKey", "other"};

// The texts of one group of a shipped language file, as the bridge hands them to the page.
static QStringList groupTexts(int group, const QString &langCode)
{
    QSettings file(QStringLiteral(G7_SOURCE_DIR "/modules/i18n/") + langCode + QStringLiteral(".ini"), QSettings::IniFormat);
    file.beginGroup(QLatin1String(groups[group]));
    QStringList texts;
    for (int i = 0, n = file.value(QStringLiteral("total")).toInt(); i < n; ++i)
        texts << file.value(QString::number(i)).toString();
    return texts;
}

static QString out(const QString &hex) { return QStringLiteral("feature-out 00 ") + hex; }
// The lighting as the panel sends it again: palette of the recorded colour (red here), then the effect.
static QStringList relight(const QString &effectBlock)
{
    return {out("0C 00 00 01 00 00 00 F2"),
            "data-out 00 FF 00 00 00 00 FF 00 FF 00 FF FF 00 00 FF FF FF 7F 00 FF 00 FF FF FF FF" + QString(" 00").repeated(40),
            out(effectBlock)};
}

// The lighting and DPI panels and the factory reset, clicked on the real page, read back from the trace.
class tst_Panels : public QObject
{
    Q_OBJECT

private slots:
    // Breath at the middle level, then stage 3 at the top of its track, clicked as a user does.
    void lightingAndDpiByClicks()
    {
        PageRig rig;
        QVERIFY(rig.start());
        QCOMPARE(rig.text("dpiValue3"), QStringLiteral("3200"));

        int mark = rig.traceLength();
        rig.click("effectButton1");
        rig.clickAt("levelSlider1", QPointF(63, 7));   // the middle position: level 2
        // Effect 1, colour 0, speed 50 / 6 for level 2, then 01 00 and no check byte.
        QCOMPARE(rig.reports(mark), (QStringList{out("06 01 00 32 01 01 00 00"), out("06 01 00 32 06 01 00 00")}));
        QCOMPARE(rig.stored("color_J2/ledEffect"), QStringLiteral("1, 0, 2, 255, 0, 0"));

        mark = rig.traceLength();
        rig.clickAt("dpiTrack3", QPointF(3, 3));   // above the track top: the highest bar
        QCOMPARE(rig.text("dpiValue3"), QStringLiteral("16000"));
        const QStringList sent = rig.reports(mark);
        QVERIFY2(sent.size() == 7 && sent[0] == out("87 00 00 00 00 00 00 78") && sent[1].startsWith("feature-in 00 87 "),
                 qPrintable(sent.join('\n')));
        const QString stage = sent[1].section(' ', 3, 3);   // the stage the mouse reported
        // 6400 1200 2400 4800 as value / 50, stage 3 doubled; stages 0..4 enabled; 400 800 1600 and (16000 - 12800) / 50.
        QCOMPARE(sent.mid(2), QStringList({out("08 80 18 30 60 08 00 00"), out("07 " + stage + " 1F 08 10 20 40 00")})
                 + relight("06 01 00 32 06 01 00 00"));
        QCOMPARE(rig.stored("sensor/dpi_J2"), QStringLiteral("400, 800, 1600, 16000, 6400, 1200, 2400, 4800"));
        QCOMPARE(rig.stored("sensor/dpi_Select"), QStringLiteral("1, 1, 1, 1, 1, 0, 0, 0"));

        rig.shot("panels");
        // The marked stage's bar reaches the top of its track.
        const QImage shot = rig.view->grabFramebuffer();
        QVERIFY(shot.pixelColor(rig.centre("dpiTrack3", QPointF(3, 9))).red() > 150);

        // Preset 5 goes out as green 103; the profile keeps 127.
        mark = rig.traceLength();
        rig.click("lightPreset5");
        QVERIFY2(rig.reports(mark).value(1).startsWith("data-out 00 FF 67 00 00 00 FF "), qPrintable(rig.reports(mark).join('\n')));
        QCOMPARE(rig.stored("color_J2/ledEffect"), QStringLiteral("1, 0, 2, 255, 127, 0"));

        // The knob (level 2, centred at 63) counts a click at its point, and a drag where it is let go.
        mark = rig.traceLength();
        rig.clickAt("levelSlider1", QPointF(58, 7));
        QTest::mousePress(rig.view.get(), Qt::LeftButton, {}, rig.centre("levelSlider1", QPointF(34, 7)));
        for (const qreal x : {60.0, 95.0})
            QTest::mouseMove(rig.view.get(), rig.centre("levelSlider1", QPointF(x, 7)));
        QTest::mouseRelease(rig.view.get(), Qt::LeftButton, {}, rig.centre("levelSlider1", QPointF(95, 7)));
        QCOMPARE(rig.reports(mark), (QStringList{out("06 01 00 32 08 01 00 00"), out("06 01 00 32 04 01 00 00")}));
    }

    // Every pop-up opened by clicks lies wholly in the window, uncut by the clipped right column, and takes clicks
    // at its edges: the red preset at the colour pop-up's left edge colours the stage.
    void popupsWhollyVisible()
    {
        PageRig rig;
        QVERIFY(rig.start());
        const auto visible = [&rig](const QString &name) {
            QVERIFY2(rig.shown(name), qPrintable(name));
            const QString cut = rig.cutOff(name);
            QVERIFY2(cut.isEmpty(), qPrintable(name + " cut by " + cut));
        };
        for (int stage = 0; stage < 5; ++stage) {
            const QString swatch = QString("dpiSwatch%1").arg(stage);
            rig.click(swatch);
            visible("colorBar");
            if (QTest::currentTestFailed())
                return rig.shot(QString("colour-popup%1").arg(stage));
            rig.click("colorPreset");
            QVERIFY(rig.shown("colorBar"));
            QCOMPARE(rig.item(swatch)->property("color").value<QColor>(), QColor(Qt::red));
            rig.click("panelleft", Qt::LeftButton, QPointF(5, -5));   // the page beside the left column closes it
            QVERIFY(!rig.shown("colorBar"));
        }
        QVERIFY(rig.stored("color_J2/type1").startsWith(QString("255, 0, 0, ").repeated(5)));

        rig.click("headerButton2");
        visible("askMenu");
        rig.click("askRow2");
        for (int key = 0; key < 6; ++key) {
            rig.click(QString("keyRow%1").arg(key));
            visible("keyMenuMain");
            for (const char *parent : {"5", "6", "7", "8"}) {
                rig.hover(QString("menuEntry") + parent);
                visible(QString("subMenu") + parent);
            }
            rig.click("panelleft", Qt::LeftButton, QPointF(5, -5));
        }
    }

    // Help, update with no updater installed for the mouse: a box says so in the page's language.
    void updateWithoutUpdater_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("texts");   // title, message
        QTest::newRow("English") << "English" << QStringList{"update", "No updater is installed for this mouse."};
        QTest::newRow("Chinese") << "ChineseSimplified" << QStringList{"更新", "此鼠标没有安装更新程序。"};
    }
    void updateWithoutUpdater()
    {
        QFETCH(QString, language); QFETCH(QStringList, texts);
        PageRig rig(1, language);
        QVERIFY(rig.start());
        rig.view->hid->monitorRunning = true;
        rig.click("headerButton2");
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Updater not started: .*update1.exe\" is missing$"));
        rig.click("askRow1");
        QVERIFY(rig.shown("noticeBox") && rig.shown("mainMask"));
        QCOMPARE(QStringList({rig.text("noticeTitle"), rig.text("noticeText")}), texts);
        QVERIFY(rig.item("noticeText")->property("implicitWidth").toReal() <= rig.item("noticeText")->width());
        QVERIFY(rig.cutOff("noticeBox").isEmpty());
        QVERIFY(rig.view->hid->monitorRunning);   // the DPI notices go on
        rig.shot("no-updater");
        rig.click("noticeOk");
        QVERIFY(!rig.shown("noticeBox") && !rig.shown("mainMask"));
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
        PageRig rig(model);
        QVERIFY(rig.start());
        // Change the profile first: a stage value and, where shown, the effect.
        rig.clickAt("dpiTrack1", QPointF(3, 100));
        if (model != 2)
            rig.click("effectButton2");
        QVERIFY2(rig.stored("sensor/" + dpiKey).startsWith(clicked), qPrintable(rig.stored("sensor/" + dpiKey)));

        rig.click("restBtn");
        const int mark = rig.traceLength();
        rig.click("resetOk");

        QCOMPARE(rig.data.readFile("modules/setting/p1.bin"), rig.data.readFile("modules/setting/pD.bin"));

        // Every block sent carries the default file's values.
        const QStringList sent = rig.reports(mark).filter(QRegularExpression("^(feature|data)-out"));
        const QString effect = out("06 00 00 32 06 01 00 00");   // effect 0, level 4: brightness 50
        QString command;
        for (const QString &line : sent) {
            if (line.startsWith("feature-out"))
                command = line;
            if (line.startsWith(out("06")))
                QCOMPARE(line, effect);
            else if (line.startsWith("data-out") && !command.startsWith(out("03")))
                QCOMPARE(line, relight(effect)[1]);   // palette and stage colours are the same table in the file
        }
        // 400 .. 4800 as value / 50 on every model, none doubled, stages 0..4 enabled.
        QVERIFY2(sent.contains(out("08 80 18 30 60 00 00 00")), qPrintable(sent.join('\n')));
        QVERIFY(!sent.filter(QRegularExpression("^feature-out 00 07 .. 1F 08 10 20 40 00$")).isEmpty());
        QVERIFY(sent.contains(out("0A 00 00 01 00 00 00 F4")));
        QVERIFY(sent.contains(effect));
    }

    // Start-up stores nothing: a name list another tool wrote stays as it is, byte for byte.
    void startWritesNothing()
    {
        PageRig rig;
        const QByteArray names = "[profile]\nprofileName=Standard0, Work1, Odd\n"
                                 "[gun]\ngunName=\"a;b\", Gun1, \"c;d\"\n";
        QVERIFY(rig.data.writeFile("modules/setting/name.bin", names));
        const auto before = TmpfsMount::filesBelow(rig.data.filePath("modules"));
        QVERIFY(rig.start());
        rig.click("profileBtn");
        QCOMPARE(rig.text("profileRowName0"), QStringLiteral("Standard"));
        // Missing profiles are made from pD.bin; every file that was there stays as it was.
        const auto after = TmpfsMount::filesBelow(rig.data.filePath("modules"));
        for (auto it = before.constBegin(); it != before.constEnd(); ++it)
            QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
    }

    // The page alone, without the bridge: its images, the tray icon and the texts of the language file.
    void shippedFilesAreComplete()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".?")));
        QQuickView view(QUrl(QStringLiteral("qrc:/modules/qml/main.qml")));
        QObject *root = view.rootObject();
        QVERIFY2(root, qPrintable(QDebug::toString(view.errors())));
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
        QCOMPARE(root->property("sourcePowerOn").toUrl().toString(), QStringLiteral("qrc:/index/modules/img/skin1/index/powerOn.png"));
        const QIcon tray(QStringLiteral(G7_SOURCE_DIR "/modules/img/trayIcon.ico"));
        QVERIFY(tray.availableSizes().contains(QSize(16, 16)) && tray.availableSizes().contains(QSize(32, 32)));
        QVERIFY(tray.pixmap(QSize(16, 16)).toImage().pixelColor(8, 8).alpha() > 0);

        // Every text of the language file stands where the page has its English text.
        for (int group = 0; group < 7; ++group) {
            const QByteArray name(groups[group]);
            const QStringList chinese = groupTexts(group, QStringLiteral("lang_025044"));
            // The page has no English "other" group (the DPI notices): eight texts, each on one line.
            QObject *owner = group == 0 ? root : root->findChild<QObject *>(QLatin1String(name + "Main"));
            const QStringList english = owner ? owner->property(name + "Lang").toStringList() : QStringList(8, QStringLiteral("notice"));
            QCOMPARE(chinese.size(), english.size());
            for (int i = 0; i < english.size(); ++i)
                QVERIFY2(english[i].isEmpty() == chinese[i].isEmpty() && english[i].count(u'\n') == chinese[i].count(u'\n'),
                         qPrintable(name + '/' + QByteArray::number(i)));
        }
    }
};

QTEST_MAIN(tst_Panels)
#include "tst_panels.moc"
