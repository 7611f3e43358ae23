#include "catalogue.h"
#include "hid_thread.h"
#include "myqquickview.h"
#include "pauses.h"
#include "profilekeys.h"
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

// Stands in for the window controller: the page only drags the window through it.
class WindowStub : public QObject
{
    Q_OBJECT
public slots:
    void onXChanged(int) {}
    void onYChanged(int) {}
    void onMinimize() {}
    void onClose() {}
};

// The real page in the real bridge on a simulated mouse, traced; the desktop's pointer settings recorded.
struct PageRig
{
    explicit PageRig(const QVariant &language) : sim(std::make_shared<SimulatedG7>(1))
    {
        ReportTrace::open(data.filePath("trace.txt"));
        setHidBackend(std::make_shared<TracingBackend>(sim));
        setSleeper(std::make_shared<RecordingSleeper>());
        const QSettings ap(data.filePath("modules/setting/apConfig.bin"), QSettings::IniFormat);
        hid.findDevices(readCatalogue(":/DevInfo.ini", ap.value("common/product_name").toStringList(), &isEncode));
        view.hid = &hid;
        system = recordPointerSettings(view);
        view.store.setAppValue(QLatin1String(ProfileKey::language), language);
        view.setSource(QUrl(QStringLiteral("qrc:/modules/qml/main.qml")));
        QQmlContext *context = view.rootContext();
        context->setContextProperty(QStringLiteral("ui_View"), &view);
        context->setContextProperty(QStringLiteral("hid"), &hid);
        context->setContextProperty(QStringLiteral("ui_Ctl"), &controller);
        view.resize(1000, 640);
    }
    ~PageRig() { setSleeper(nullptr); setHidBackend(nullptr); ReportTrace::close(); }

    bool start()
    {
        view.show();
        if (!QTest::qWaitForWindowExposed(&view) || !view.rootObject())
            return false;
        QMetaObject::invokeMethod(view.rootObject(), "initUI", Q_ARG(QVariant, 1));
        QMetaObject::invokeMethod(view.rootObject(), "setProtectUI", Q_ARG(QVariant, 0));
        return view.rootObject()->property("visible").toBool() && view.isEnabled();
    }
    QQuickItem *item(const char *name) { return view.rootObject()->findChild<QQuickItem *>(QLatin1String(name)); }
    // Brings a panel of the right column into the view.
    void reveal(const char *panel)
    {
        QQuickItem *column = item("panelRightItem");
        const qreal top = item(panel)->y();
        const qreal last = column->property("contentHeight").toReal() - column->height();
        column->setProperty("contentY", qMin(top, last));
        QTest::qWait(20);
    }
    QPoint at(QQuickItem *target, qreal x, qreal y) { return target->mapToScene(QPointF(x, y)).toPoint(); }
    void click(QQuickItem *target, qreal x, qreal y) { QTest::mouseClick(&view, Qt::LeftButton, {}, at(target, x, y)); }
    // Command blocks with this code sent since forget(), without the report ID: "01 08 03 03 0f 00 00 e1".
    QStringList commands(uchar code)
    {
        QStringList result;
        const QList<TraceLine> lines = TraceReader(data.filePath("trace.txt")).lines();
        for (int i = seen; i < lines.size(); ++i) {
            const QByteArray b = lines[i].bytes();
            if (lines[i].op == QLatin1String("feature-out") && b.size() == 9 && uchar(b[1]) == code)
                result << QString::fromLatin1(b.mid(1).toHex(' '));
        }
        return result;
    }
    void forget() { seen = TraceReader(data.filePath("trace.txt")).lines().size(); system->calls.clear(); }
    QString stored(const char *key) { return view.store.value(QLatin1String(key)).toString(); }

    TempDataFolder data;
    const bool installed = data.copyFromSource("modules/setting/apConfig.bin")
            && data.copyFromSource("modules/i18n/lang_025044.ini");
    std::shared_ptr<SimulatedG7> sim;
    Hid_Thread hid;
    myQQuickView view;
    WindowStub controller;
    RecordingPointerSettings *system = nullptr;
    int seen = 0;
};

class tst_SensorPanels : public QObject
{
    Q_OBJECT

    QVariant language() const
    {
        return QTest::currentDataTag() == QByteArray("Chinese") ? QVariant(QLatin1String(ProfileKey::chineseLanguage)) : QVariant();
    }
    // Keeps a picture of a panel (in G7_QML_SHOT_DIR, else shots/ beside the test) and checks that its texts lie inside it.
    void shoot(PageRig &rig, const char *panel)
    {
        QQuickItem *frame = rig.item(panel);
        const QRectF box = frame->mapRectToScene(QRectF(0, 0, frame->width(), frame->height()));
        const QString dir = qEnvironmentVariable("G7_QML_SHOT_DIR", QCoreApplication::applicationDirPath() + QStringLiteral("/shots"));
        QDir().mkpath(dir);
        rig.view.grabFramebuffer().copy(box.toRect()).save(QStringLiteral("%1/%2-%3.png").arg(dir, QLatin1String(panel),
                                                                                              QLatin1String(QTest::currentDataTag())));
        const QList<QQuickItem *> all = frame->findChildren<QQuickItem *>();
        for (QQuickItem *text : all) {
            if (!text->inherits("QQuickText") || !text->isVisible())
                continue;
            const QRectF r = text->mapRectToScene(QRectF(0, 0, text->property("implicitWidth").toReal(), text->height()));
            QVERIFY2(!text->property("text").toString().isEmpty(), panel);
            QVERIFY2(box.adjusted(-0.5, -0.5, 0.5, 0.5).contains(r), qPrintable(QStringLiteral("%1: %2").arg(panel, text->property("text").toString())));
        }
    }

private slots:
    void initTestCase() { QQuickWindow::setGraphicsApi(QSGRendererInterface::Software); }

    void panels_data()
    {
        QTest::addColumn<int>("unused");
        QTest::newRow("English") << 0;
        QTest::newRow("Chinese") << 1;
    }

    // Every panel driven by clicks on the window, read back from the wire, the desktop and the profile.
    void panels()
    {
        PageRig rig(language());
        QVERIFY(rig.installed);
        rig.view.store.setValue(QLatin1String(ProfileKey::reportRate), 16);   // loads as 8
        rig.view.store.setValue(QStringLiteral("XYSensitive/1"), 12);          // shows position 9
        QVERIFY(rig.start());
        QCOMPARE(rig.item("reportRateMain")->property("reportValue").toInt(), 8);
        QCOMPARE(rig.item("ySlider")->property("level").toInt(), 9);
        QCOMPARE(rig.commands(0x01), QStringList{"01 08 03 03 0f 00 00 e1"});  // the loaded rate changed the panel's value
        rig.forget();

        // Report rate: pressed top-left, dragged through the other quadrants, released.
        rig.reveal("reportRateMain");
        QQuickItem *dial = rig.item("reportRateDial");
        QTest::mousePress(&rig.view, Qt::LeftButton, {}, rig.at(dial, 80, 30));   // top-right: 1000 Hz
        for (const QPointF &p : {QPointF(80, 90), QPointF(30, 90), QPointF(30, 30)})
            QTest::mouseMove(&rig.view, rig.at(dial, p.x(), p.y()));
        QTest::mouseRelease(&rig.view, Qt::LeftButton, {}, rig.at(dial, 30, 30));
        QCOMPARE(rig.commands(0x01), (QStringList{"01 01 03 03 0f 00 00 e8", "01 02 03 03 0f 00 00 e7", "01 04 03 03 0f 00 00 e5",
                                           "01 08 03 03 0f 00 00 e1"}));
        QCOMPARE(rig.commands(0x06).size(), 4);   // the lighting follows every change
        QCOMPARE(int(rig.sim->state().reportRate), 8);
        QCOMPARE(rig.stored(ProfileKey::reportRate), QStringLiteral("8"));
        rig.click(dial, 100, 100);
        QCOMPARE(int(rig.sim->state().reportRate), 2);
        shoot(rig, "reportRateMain");

        // Pointer speed: far right on the base line is level 11, straight above the centre level 6.
        rig.forget();
        rig.reveal("mouseRateMain");
        QQuickItem *speed = rig.item("mouseRateDial")->findChild<QQuickItem *>(QStringLiteral("dialImage"));
        rig.click(speed, 179, 70);
        QCOMPARE(rig.stored(ProfileKey::cursorSpeed), QStringLiteral("11"));
        rig.click(speed, 90, 20);
        QCOMPARE(rig.system->calls, (QStringList{"setMouseSpeed 22", "setMouseSpeed 12"}));
        QCOMPARE(rig.stored(ProfileKey::cursorSpeed), QStringLiteral("6"));
        shoot(rig, "mouseRateMain");

        // Double-click speed: the left end is level 0 (900 ms), the right end 11 (130 ms).
        rig.forget();
        rig.reveal("doubleRateMain");
        QQuickItem *twice = rig.item("doubleRateDial")->findChild<QQuickItem *>(QStringLiteral("dialImage"));
        rig.click(twice, 2, 75);
        rig.click(twice, 178, 70);
        QCOMPARE(rig.system->calls, (QStringList{"setDoubleClickTime 900", "setDoubleClickTime 130"}));
        shoot(rig, "doubleRateMain");

        // Scroll lines: 0 typed and Enter applies 1; one screen is 1000; + only changes the field.
        rig.forget();
        rig.reveal("scrollRateMain");
        QQuickItem *field = rig.item("linesField");
        rig.click(field, field->width() / 2, field->height() / 2);
        QVERIFY(field->hasActiveFocus());
        QTest::keyClick(&rig.view, Qt::Key_End);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(&rig.view, Qt::Key_Backspace);
        QTest::keyClick(&rig.view, Qt::Key_0);
        QTest::keyClick(&rig.view, Qt::Key_Return);
        QVERIFY(!field->hasActiveFocus());
        QCOMPARE(field->property("text").toString(), QStringLiteral("1"));
        rig.click(rig.item("screenOption"), 5, 9);
        rig.click(rig.item("linesPlus"), 8, 9);
        QCOMPARE(field->property("text").toString(), QStringLiteral("2"));
        QCOMPARE(rig.system->calls, (QStringList{"setWheelScrollLines 1", "setWheelScrollLines 1000"}));
        QCOMPARE(rig.stored(ProfileKey::scrollLines), QStringLiteral("1000"));
        shoot(rig, "scrollRateMain");
        rig.click(rig.item("rowsOption"), 5, 9);
        QCOMPARE(rig.system->calls.last(), QStringLiteral("setWheelScrollLines 2"));

        // Axis sensitivity: a click in a zone stores both levels and sends them as (level + 1) x 20.
        rig.forget();
        QQuickItem *x = rig.item("xSlider");
        rig.click(x, 140, 8);   // zone 6
        QCOMPARE(rig.commands(0x0B), QStringList{"0b 8c c8 00 00 00 00 a0"});
        QCOMPARE(QList<int>({rig.sim->state().xSensitivity, rig.sim->state().ySensitivity}), QList<int>({140, 200}));
        QCOMPARE(rig.stored("XYSensitive/0") + rig.stored("XYSensitive/1"), QStringLiteral("69"));
        QCOMPARE(rig.commands(0x06).size(), 1);
        rig.click(x, 145, 8);   // the same zone: nothing sent
        QCOMPARE(rig.commands(0x0B).size(), 1);
        rig.click(rig.item("ySlider"), 5, 8);   // zone 0
        QCOMPARE(rig.commands(0x0B).last(), QStringLiteral("0b 8c 14 00 00 00 00 54"));
        shoot(rig, "xySettingMain");

        // Lift-off height.
        rig.forget();
        rig.click(rig.item("jmgd3"), 5, 9);
        rig.click(rig.item("jmgd2"), 5, 9);
        QCOMPARE(rig.commands(0x04), (QStringList{"04 03 00 00 00 00 00 f8", "04 02 00 00 00 00 00 f9"}));
        QCOMPARE(int(rig.sim->state().liftOff), 2);
        QCOMPARE(rig.stored(ProfileKey::liftOff), QStringLiteral("2"));
        shoot(rig, "jmgdMain");
    }
};

QTEST_MAIN(tst_SensorPanels)
#include "tst_sensorpanels.moc"
