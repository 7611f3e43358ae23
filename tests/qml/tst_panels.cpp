#include "catalogue.h"
#include "hid_thread.h"
#include "myqquickview.h"
#include "pauses.h"
#include "recordingpointersettings.h"
#include "reporttrace.h"
#include "simulatedg7.h"
#include "tempdatafolder.h"
#include "tracereader.h"
#include "tracingbackend.h"

#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSettings>
#include <QTest>

// The window controller as far as the page calls it.
class Controller : public QObject
{
    Q_OBJECT
public slots:
    void onMinimize() {}
    void onClose() {}
    void onXChanged(int) {}
    void onYChanged(int) {}
};

// The whole page on the real bridge and a simulated mouse, traced; the profile starts as the default file.
struct PageRig
{
    PageRig(int model, bool chinese) : sim(std::make_shared<SimulatedG7>(model))
    {
        QByteArray config = data.readFile("modules/setting/apConfig.bin");
        if (chinese)
            config.replace("language=English", "language=ChineseSimplified");
        data.writeFile("modules/setting/apConfig.bin", config);
        data.writeFile("modules/setting/p1.bin", data.readFile("modules/setting/pD.bin"));
        ReportTrace::open(data.filePath("trace.txt"));
        setHidBackend(std::make_shared<TracingBackend>(sim));
        setSleeper(std::make_shared<RecordingSleeper>());
        const QSettings ap(data.filePath("modules/setting/apConfig.bin"), QSettings::IniFormat);
        hid.findDevices(readCatalogue(":/DevInfo.ini", ap.value("common/product_name").toStringList(), &isEncode));
        view = new myQQuickView;
        recordPointerSettings(*view);
        view->hid = &hid;
        view->setSource(QUrl(QStringLiteral("qrc:/modules/qml/main.qml")));
        view->rootContext()->setContextProperty(QStringLiteral("ui_View"), view);
        view->rootContext()->setContextProperty(QStringLiteral("hid"), &hid);
        view->rootContext()->setContextProperty(QStringLiteral("ui_Ctl"), &controller);
        view->resize(1000, 640);
    }
    ~PageRig()
    {
        delete view;
        setSleeper(nullptr);
        setHidBackend(nullptr);
        ReportTrace::close();
    }

    bool start()
    {
        view->show();
        if (!QTest::qWaitForWindowExposed(view))
            return false;
        view->initUI(int(hid.did));
        QObject *background = item("envItem");
        return background && QTest::qWaitFor([&] { return background->property("visible").toBool(); }, 3000);
    }
    // Repeater delegates are visual children only, so the search runs over the item tree.
    static QQuickItem *find(QQuickItem *from, const QString &name)
    {
        if (from->objectName() == name)
            return from;
        for (QQuickItem *child : from->childItems())
            if (QQuickItem *found = find(child, name))
                return found;
        return nullptr;
    }
    QQuickItem *item(const QString &name) const
    {
        QQuickItem *found = find(view->rootObject(), name);
        if (!found)
            qWarning("no item %s", qPrintable(name));
        return found;
    }
    QString text(const QString &name) const { QQuickItem *i = item(name); return i ? i->property("text").toString() : QString(); }
    // A real click on the widget at `at` inside the named item.
    void click(const QString &name, QPointF at)
    {
        QQuickItem *target = item(name);
        QVERIFY2(target && target->isVisible(), qPrintable(name));
        QTest::mouseClick(view, Qt::LeftButton, {}, target->mapToScene(at).toPoint());
    }
    void click(const QString &name)
    {
        QQuickItem *target = item(name);
        QVERIFY2(target, qPrintable(name));
        click(name, QPointF(target->width() / 2, target->height() / 2));
    }
    // Reports written since `from` trace lines: "feature-out 00 06 ..." without the interface.
    QStringList reports(int from) const
    {
        QStringList out;
        const QList<TraceLine> lines = TraceReader(data.filePath("trace.txt")).lines();
        for (int i = from; i < lines.size(); ++i)
            if (lines[i].op.startsWith(QLatin1String("feature-")) || lines[i].op.startsWith(QLatin1String("data-")))
                out << (QStringList{lines[i].op} + lines[i].fields).join(' ');
        return out;
    }
    int traceLength() const { return int(TraceReader(data.filePath("trace.txt")).lines().size()); }
    QString stored(const QString &key) const
    {
        const QSettings profile(data.filePath("modules/setting/p1.bin"), QSettings::IniFormat);
        return profile.value(key).toStringList().join(", ");
    }

    TempDataFolder data;
    const bool installed = data.copyFromSource("modules/setting/apConfig.bin") && data.copyFromSource("modules/setting/pD.bin")
            && data.copyFromSource("modules/i18n/lang_025044.ini");
    std::shared_ptr<SimulatedG7> sim;
    bool isEncode = false;
    Hid_Thread hid;
    Controller controller;
    myQQuickView *view = nullptr;
};

static QString out(const QString &hex) { return QStringLiteral("feature-out 00 ") + hex; }
// The lighting as the panel sends it again: palette of the recorded colour (red here), then the effect.
static QStringList relight(const QString &effectBlock)
{
    return {out("0C 00 00 01 00 00 00 F2"),
            "data-out 00 FF 00 00 00 00 FF 00 FF 00 FF FF 00 00 FF FF FF 7F 00 FF 00 FF FF FF FF" + QString(" 00").repeated(40),
            out(effectBlock)};
}

class tst_Panels : public QObject
{
    Q_OBJECT

    // The folder the test started in: the rig's data folder is the current one while it lives.
    const QString startDir = QDir::currentPath();
    QString shotDir() const { return qEnvironmentVariable("G7_QML_SHOT_DIR", startDir); }

private slots:
    void initTestCase() { QQuickWindow::setGraphicsApi(QSGRendererInterface::Software); }

    // Breath at the middle level, then stage 3 at the top of its track, clicked as a user does.
    void lightingAndDpiByClicks_data()
    {
        QTest::addColumn<bool>("chinese");
        QTest::newRow("English") << false;
        QTest::newRow("Chinese") << true;
    }
    void lightingAndDpiByClicks()
    {
        QFETCH(bool, chinese);
        PageRig rig(1, chinese);
        QVERIFY(rig.installed);
        QVERIFY(rig.start());
        // The panels show the profile: stage 3 at 3200, the stored effect 0 at level 4.
        QCOMPARE(rig.text("dpiValue3"), QStringLiteral("3200"));
        QCOMPARE(rig.view->rootObject()->findChild<QObject *>("lightControlMain")->property("selectedEffect").toInt(), 0);

        int mark = rig.traceLength();
        rig.click("effectButton1");
        rig.click("levelSlider1", QPointF(63, 7));   // the middle position: level 2
        // Effect 1, colour 0, speed 50 / 6 for level 2, then 01 00 and no check byte.
        QCOMPARE(rig.reports(mark), (QStringList{out("06 01 00 32 01 01 00 00"), out("06 01 00 32 06 01 00 00")}));
        QCOMPARE(rig.stored("color_J2/ledEffect"), QStringLiteral("1, 0, 2, 255, 0, 0"));

        mark = rig.traceLength();
        rig.click("dpiTrack3", QPointF(3, 3));   // above the track top: the highest bar
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

        // Kept for a look by eye, in the build folder or in G7_QML_SHOT_DIR.
        const QImage shot = rig.view->grabFramebuffer();
        QCOMPARE(shot.size(), QSize(1000, 640));
        shot.save(QStringLiteral("%1/panels-%2.png").arg(shotDir(), QLatin1String(QTest::currentDataTag())));
        // The marked stage's bar reaches the top of its track: red at the track top, none in an empty track's top.
        const QPointF top = rig.item("dpiTrack3")->mapToScene(QPointF(3, 9));
        QVERIFY(shot.pixelColor(top.toPoint()).red() > 150);
    }

    // A factory reset leaves the profile as the default file holds it and sends those values.
    void factoryReset_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("dpiKey");
        QTest::newRow("with lighting") << 1 << "dpi_J2";
        QTest::newRow("without lighting") << 2 << "dpi_J2";
        QTest::newRow("3336") << 0 << "dpi_J2_3336";
    }
    void factoryReset()
    {
        QFETCH(int, model);
        QFETCH(QString, dpiKey);
        PageRig rig(model, false);
        QVERIFY(rig.start());
        // Change the profile first: a stage value and, where shown, the effect.
        rig.click("dpiTrack1", QPointF(3, 100));
        if (model != 2)
            rig.click("effectButton2");
        QVERIFY(rig.stored("sensor/" + dpiKey) != QLatin1String("400, 800, 1600, 3200, 6400, 1200, 2400, 4800"));

        rig.click("restBtn");
        const int mark = rig.traceLength();
        rig.click("resetOk");
        QTest::qWait(50);

        const QSettings defaults(rig.data.filePath("modules/setting/pD.bin"), QSettings::IniFormat);
        const QSettings profile(rig.data.filePath("modules/setting/p1.bin"), QSettings::IniFormat);
        QCOMPARE(profile.allKeys(), defaults.allKeys());
        // Numbers this process stored come back from Qt's shared cache as numbers, not texts.
        const auto text = [](const QVariant &v) { const QStringList l = v.toStringList(); return l.isEmpty() ? v.toString() : l.join(", "); };
        for (const QString &key : defaults.allKeys())
            QVERIFY2(text(profile.value(key)) == text(defaults.value(key)), qPrintable(key));

        // Every block sent carries the default file's values.
        QStringList sent;
        for (const QString &line : rig.reports(mark))
            if (line.startsWith("feature-out") || line.startsWith("data-out"))
                sent << line;
        const QString effect = out("06 00 00 32 06 01 00 00");   // effect 0, level 4: brightness 50
        const QStringList light = relight("06 00 00 32 06 01 00 00");
        QString command;
        for (const QString &line : sent) {
            if (line.startsWith("feature-out"))
                command = line;
            if (line.startsWith(out("06")))
                QCOMPARE(line, effect);
            else if (line.startsWith("data-out") && !command.startsWith(out("03")))
                QCOMPARE(line, light[1]);   // palette and stage colours are the same table in the file
        }
        // 400 .. 4800 as value / 50 on every model, none doubled, stages 0..4 enabled.
        QVERIFY2(sent.contains(out("08 80 18 30 60 00 00 00")), qPrintable(sent.join('\n')));
        QVERIFY(std::any_of(sent.begin(), sent.end(), [&](const QString &l) { return l.startsWith(out("07 ")) && l.endsWith("1F 08 10 20 40 00"); }));
        QVERIFY(sent.contains(out("0A 00 00 01 00 00 00 F4")));
        QVERIFY(sent.contains(effect));
        rig.view->grabFramebuffer().save(QStringLiteral("%1/reset-%2.png").arg(shotDir()).arg(model));
    }
};

QTEST_MAIN(tst_Panels)
#include "tst_panels.moc"
