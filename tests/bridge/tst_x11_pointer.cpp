#include "../app/support_xserver.h"

#include "gnomemousesettings.h"
#include "linuxpointersettings.h"
#include "myqquickview.h"
#include "tempdatafolder.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTest>

// The bridge on the real pointer settings of `display`, in a fresh data folder.
struct Bridge
{
    explicit Bridge(const QByteArray &display) { view.pointerSettings.reset(system = new LinuxPointerSettings(display)); }
    TempDataFolder data;
    const bool folder = QDir().mkpath("modules/setting");
    myQQuickView view;
    LinuxPointerSettings *system = nullptr;
};

// The pointer slots against a real X server (Xvfb) and GNOME's settings kept in memory.
class tst_X11Pointer : public QObject
{
    Q_OBJECT

    // "acceleration:  2/1    threshold:  4" of `xset q`, as another program sees the server.
    QString xsetPointer()
    {
        QString text;
        if (screen.run(QStringLiteral("xset q"), &text) != 0)
            return QStringLiteral("xset failed");
        const QRegularExpressionMatch m = QRegularExpression("acceleration:\\s+(\\S+)\\s+threshold:\\s+(\\S+)").match(text);
        return m.hasMatch() ? m.captured(1) + QLatin1Char(' ') + m.captured(2) : text;
    }

    VirtualScreen screen;

private slots:
    void initTestCase()
    {
        QVERIFY2(screen.start(), qPrintable(screen.failure));
    }

    void init()
    {
        QVERIFY(screen.run(QStringLiteral("xset m 2/1 4")) == 0);
    }

    void accelerationReadsBackFromTheServer()
    {
        Bridge bridge(screen.environment.value("DISPLAY").toLatin1());
        myQQuickView &view = bridge.view;
        QVERIFY(view.getAcceleration());
        view.setAcceleration(false);
        QVERIFY(!view.getAcceleration());
        QCOMPARE(xsetPointer(), QString("1/1 4"));
        view.setAcceleration(true);
        QVERIFY(view.getAcceleration());
        QCOMPARE(xsetPointer(), QString("2/1 4"));
    }

    // Speed goes to the server's threshold and to GNOME; double-click to GNOME; wheel lines have no place outside KDE.
    void speedClickAndLines_data()
    {
        QTest::addColumn<uint>("level"); QTest::addColumn<QString>("server"); QTest::addColumn<double>("gnomeSpeed");
        QTest::addColumn<int>("doubleClick");
        QTest::newRow("0") << 0u << "2/1 22" << -0.75 << 900;
        QTest::newRow("5") << 5u << "2/1 13" << 0.0 << 550;
        QTest::newRow("6") << 6u << "2/1 11" << 2.0 / 12 << 480;
        QTest::newRow("11") << 11u << "2/1 1" << 1.0 << 130;
    }
    void speedClickAndLines()
    {
        QFETCH(uint, level); QFETCH(QString, server); QFETCH(double, gnomeSpeed); QFETCH(int, doubleClick);
        Bridge bridge(screen.environment.value("DISPLAY").toLatin1());
        myQQuickView &view = bridge.view;
        LinuxPointerSettings *system = bridge.system;
        QVERIFY(system->gnome.available());

        view.setCursorSpeed(level);
        view.setDoubleClickSpeed(level);
        QCOMPARE(xsetPointer(), server);
        QCOMPARE(system->gnome.speed(), gnomeSpeed);
        QCOMPARE(system->gnome.doubleClick(), doubleClick);

        QTest::ignoreMessage(QtDebugMsg, "setVerticalScrollLines Failed");
        view.setVerticalScrollLines(level + 1);
        QCOMPARE(view.getVerticalScrollLines(), level + 1);
        QCOMPARE(view.getCursorSpeed(), level);
    }

    // Without an X server only GNOME's part is left; acceleration has no place and says so.
    void withoutServer()
    {
        Bridge bridge(":999");
        myQQuickView &view = bridge.view;
        QTest::ignoreMessage(QtDebugMsg, "getAcceleration Failed");
        QVERIFY(!view.getAcceleration());
        QTest::ignoreMessage(QtDebugMsg, "setAcceleration Failed");
        view.setAcceleration(true);
        QVERIFY(bridge.system->setMouseSpeed(4));
        QCOMPARE(bridge.system->gnome.speed(), -0.5);
    }
};

int main(int argc, char **argv)
{
    // GNOME's settings stay in this process; the widgets need no screen.
    qputenv("GSETTINGS_BACKEND", "memory");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tst_X11Pointer test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_x11_pointer.moc"
