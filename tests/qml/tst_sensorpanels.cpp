#include "myqquickview.h"
#include "pagerig.h"
#include "profilekeys.h"
#include "storefile.h"

#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>

// The sensor and system panels driven by clicks on the window, read back from the wire, the desktop and the profile.
class tst_SensorPanels : public QObject
{
    Q_OBJECT

    QScopedPointer<PageRig> rig;
    int seen = 0;

    QQuickItem *item(const char *name) { return rig->view->rootObject()->findChild<QQuickItem *>(QLatin1String(name)); }
    // Brings a panel of the right column into the view.
    void reveal(const char *panel)
    {
        QQuickItem *column = item("panelRightItem");
        const qreal last = column->property("contentHeight").toReal() - column->height();
        const qreal to = qMin(item(panel)->y(), last);
        if (column->property("contentY").toReal() == to)
            return;
        // The panel's controls take clicks once the scrolled column has been drawn.
        QSignalSpy drawn(rig->view->quickWindow(), &QQuickWindow::afterRendering);
        column->setProperty("contentY", to);
        QVERIFY(drawn.wait());
    }
    QPoint at(QQuickItem *target, qreal x, qreal y) { return target->mapToScene(QPointF(x, y)).toPoint(); }
    void click(QQuickItem *target, qreal x, qreal y) { QTest::mouseClick(rig->view.get(), Qt::LeftButton, {}, at(target, x, y)); }
    // Command blocks with this code sent since forget(), without the report ID: "01 08 03 03 0f 00 00 e1".
    QStringList commands(uchar code)
    {
        QStringList result = rig->reports(seen).filter(QRegularExpression(QString::asprintf("^feature-out 00 %02X ", code)));
        for (QString &line : result)
            line = line.mid(15).toLower();
        return result;
    }
    void forget() { seen = rig->traceLength(); rig->system->calls.clear(); }
    QString stored(const char *key) { return rig->stored(QLatin1String(key)); }
    // Keeps a picture of a panel and checks that its texts lie inside it.
    void shoot(const char *panel)
    {
        QQuickItem *frame = item(panel);
        const QRectF box = frame->mapRectToScene(QRectF(0, 0, frame->width(), frame->height()));
        rig->shot(QLatin1String(panel), box.toRect());
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
    void cleanup() { rig.reset(); seen = 0; }

    void panels_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "English";
        QTest::newRow("Chinese") << "ChineseSimplified";
    }

    // Every panel driven by clicks on the window, read back from the wire, the desktop and the profile.
    void panels()
    {
        QFETCH(QString, language);
        rig.reset(new PageRig(1, language));
        {
            const auto profile = StoreFile::open(rig->data.filePath("modules/setting/p1.bin"));
            profile->setValue(QLatin1String(ProfileKey::reportRate), 16);   // loads as 8
            profile->setValue(QStringLiteral("XYSensitive/1"), 12);          // shows position 9
        }
        QVERIFY(rig->start());
        QCOMPARE(item("reportRateMain")->property("reportValue").toInt(), 8);
        QCOMPARE(item("ySlider")->property("level").toInt(), 9);
        QCOMPARE(item("linesField")->property("text").toString(), QStringLiteral("3"));
        QCOMPARE(commands(0x01), QStringList{"01 08 03 03 0f 00 00 e1"});  // the loaded rate changed the panel's value
        forget();

        // Report rate: pressed top-left, dragged through the other quadrants, released.
        reveal("reportRateMain");
        QQuickItem *dial = item("reportRateDial");
        QTest::mousePress(rig->view.get(), Qt::LeftButton, {}, at(dial, 80, 30));   // top-right: 1000 Hz
        for (const QPointF &p : {QPointF(80, 90), QPointF(30, 90), QPointF(30, 30)})
            QTest::mouseMove(rig->view.get(), at(dial, p.x(), p.y()));
        QTest::mouseRelease(rig->view.get(), Qt::LeftButton, {}, at(dial, 30, 30));
        QCOMPARE(commands(0x01), (QStringList{"01 01 03 03 0f 00 00 e8", "01 02 03 03 0f 00 00 e7", "01 04 03 03 0f 00 00 e5",
                                           "01 08 03 03 0f 00 00 e1"}));
        QCOMPARE(commands(0x06).size(), 4);   // the lighting follows every change
        QCOMPARE(int(rig->sim->state().reportRate), 8);
        QCOMPARE(stored(ProfileKey::reportRate), QStringLiteral("8"));
        click(dial, 100, 100);
        QCOMPARE(int(rig->sim->state().reportRate), 2);
        shoot("reportRateMain");

        // Pointer speed: far right on the base line is level 11, straight above the centre level 6.
        forget();
        reveal("mouseRateMain");
        QQuickItem *speed = item("mouseRateDial")->findChild<QQuickItem *>(QStringLiteral("dialImage"));
        click(speed, 179, 70);
        QCOMPARE(stored(ProfileKey::cursorSpeed), QStringLiteral("11"));
        click(speed, 90, 20);
        QCOMPARE(rig->system->calls, (QStringList{"setMouseSpeed 22", "setMouseSpeed 12"}));
        QCOMPARE(stored(ProfileKey::cursorSpeed), QStringLiteral("6"));
        shoot("mouseRateMain");

        // Double-click speed: the left end is level 0 (900 ms), the right end 11 (130 ms).
        forget();
        reveal("doubleRateMain");
        QQuickItem *twice = item("doubleRateDial")->findChild<QQuickItem *>(QStringLiteral("dialImage"));
        click(twice, 2, 75);
        click(twice, 178, 70);
        QCOMPARE(rig->system->calls, (QStringList{"setDoubleClickTime 900", "setDoubleClickTime 130"}));
        shoot("doubleRateMain");

        // Scroll lines: 0 typed and Enter applies 1; one screen is 1000; + only changes the field.
        forget();
        reveal("scrollRateMain");
        QQuickItem *field = item("linesField");
        click(field, field->width() / 2, field->height() / 2);
        QVERIFY(field->hasActiveFocus());
        QTest::keyClick(rig->view.get(), Qt::Key_End);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(rig->view.get(), Qt::Key_Backspace);
        QTest::keyClick(rig->view.get(), Qt::Key_0);
        QTest::keyClick(rig->view.get(), Qt::Key_Return);
        QVERIFY(!field->hasActiveFocus());
        QCOMPARE(field->property("text").toString(), QStringLiteral("1"));
        click(item("screenOption"), 5, 9);
        click(item("linesPlus"), 8, 9);
        QCOMPARE(field->property("text").toString(), QStringLiteral("2"));
        QCOMPARE(rig->system->calls, (QStringList{"setWheelScrollLines 1", "setWheelScrollLines 1000"}));
        QCOMPARE(stored(ProfileKey::scrollLines), QStringLiteral("1000"));
        shoot("scrollRateMain");
        click(item("rowsOption"), 5, 9);
        QCOMPARE(rig->system->calls.last(), QStringLiteral("setWheelScrollLines 2"));
        // "One screen" clicked while a row count is being typed: only one screen goes out, and stays chosen.
        forget();
        click(field, field->width() / 2, field->height() / 2);
        QTest::keyClick(rig->view.get(), Qt::Key_End);
        QTest::keyClick(rig->view.get(), Qt::Key_7);
        click(item("screenOption"), 5, 9);
        QCOMPARE(rig->system->calls, QStringList{"setWheelScrollLines 1000"});
        QCOMPARE(stored(ProfileKey::scrollLines), QStringLiteral("1000"));
        QVERIFY(item("screenOption")->property("checked").toBool() && !item("rowsOption")->property("checked").toBool());
        QCOMPARE(field->property("text").toString(), QStringLiteral("27"));

        // Axis sensitivity: a click in a zone stores both levels and sends them as (level + 1) x 20.
        forget();
        QQuickItem *x = item("xSlider");
        click(x, 140, 8);   // zone 6
        QCOMPARE(commands(0x0B), QStringList{"0b 8c c8 00 00 00 00 a0"});
        QCOMPARE(QList<int>({rig->sim->state().xSensitivity, rig->sim->state().ySensitivity}), QList<int>({140, 200}));
        QCOMPARE(stored("XYSensitive/0") + stored("XYSensitive/1"), QStringLiteral("69"));
        QCOMPARE(commands(0x06).size(), 1);
        click(x, 145, 8);   // the same zone: nothing sent
        QCOMPARE(commands(0x0B).size(), 1);
        click(item("ySlider"), 5, 8);   // zone 0
        QCOMPARE(commands(0x0B).last(), QStringLiteral("0b 8c 14 00 00 00 00 54"));
        shoot("xySettingMain");

        // Lift-off height.
        forget();
        click(item("jmgd3"), 5, 9);
        click(item("jmgd2"), 5, 9);
        QCOMPARE(commands(0x04), (QStringList{"04 03 00 00 00 00 00 f8", "04 02 00 00 00 00 00 f9"}));
        QCOMPARE(int(rig->sim->state().liftOff), 2);
        QCOMPARE(stored(ProfileKey::liftOff), QStringLiteral("2"));
        shoot("jmgdMain");
    }

    // The rows field always shows a row count once loaded, the first stored value (one screen here) included.
    void scrollLinesLoaded()
    {
        rig.reset(new PageRig);
        StoreFile::open(rig->data.filePath("modules/setting/p1.bin"))->setValue(QLatin1String(ProfileKey::scrollLines), 1000);
        QVERIFY(rig->start());
        const QVariant rows[][3] = {{1000, "3", true}, {QVariant(), "1", false}, {250, "100", false}, {7, "7", false}};
        for (const auto &row : rows) {
            if (&row != &rows[0]) {
                rig->view->store.setValue(QLatin1String(ProfileKey::scrollLines), row[0]);
                QMetaObject::invokeMethod(item("scrollRateMain"), "init", Q_ARG(QVariant, false));
            }
            QCOMPARE(item("linesField")->property("text").toString(), row[1].toString());
            QCOMPARE(item("screenOption")->property("checked").toBool(), row[2].toBool());
        }
        QVERIFY(rig->system->calls.isEmpty());
    }

    // A desktop that keeps no wheel lines: the scroll panel is disabled with its reason, and nothing is tried.
    void wheelLinesUnsupported_data()
    {
        QTest::addColumn<QString>("language"); QTest::addColumn<QString>("reason");
        QTest::newRow("English") << "English" << "This desktop has no setting for wheel lines";
        QTest::newRow("Chinese") << "ChineseSimplified" << "此桌面没有滚轮行数的设置";
    }
    void wheelLinesUnsupported()
    {
        QFETCH(QString, language); QFETCH(QString, reason);
        rig.reset(new PageRig(1, language));
        rig->desktopWheelLines = false;
        QVERIFY(rig->start());
        reveal("scrollRateMain");
        QVERIFY(rig->shown("linesReason"));
        QCOMPARE(rig->text("linesReason"), reason);
        QCOMPARE(item("linesField")->property("text").toString(), QStringLiteral("3"));
        for (const char *name : {"screenOption", "rowsOption", "linesPlus", "linesField"})
            click(item(name), 5, 9);
        QVERIFY(!item("linesField")->hasActiveFocus());
        // A profile switch sends every panel again; this one stays quiet.
        QMetaObject::invokeMethod(rig->view->rootObject(), "reloadPanels", Q_ARG(QVariant, true));
        QCOMPARE(rig->system->calls.filter("WheelScrollLines"), QStringList());
        QCOMPARE(stored(ProfileKey::scrollLines), QStringLiteral("3"));
        shoot("scrollRateMain");
    }
};

QTEST_MAIN(tst_SensorPanels)
#include "tst_sensorpanels.moc"
