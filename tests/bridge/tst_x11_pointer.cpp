#include "../app/support_xserver.h"

#include "linuxpointersettings.h"
#include "profilekeys.h"
#include "viewrig.h"

#include <QTest>

// The pointer slots on recorded settings, on KDE's file, and on a real X server (Xvfb) and GNOME's settings in memory.
class tst_X11Pointer : public QObject
{
    Q_OBJECT

    // "acceleration:  2/1    threshold:  4" of `xset q`, as another program sees the server.
    QString xsetPointer()
    {
        QString text;
        screen.run(QStringLiteral("xset q"), &text);
        const QRegularExpressionMatch m = QRegularExpression("acceleration:\\s+(\\S+)\\s+threshold:\\s+(\\S+)").match(text);
        return m.hasMatch() ? m.captured(1) + QLatin1Char(' ') + m.captured(2) : text;
    }

    VirtualScreen screen;

private slots:
    void initTestCase()
    {
        qputenv("GSETTINGS_BACKEND", "memory");   // GNOME's settings stay in this process, also when run by hand
        QVERIFY2(screen.start(), qPrintable(screen.failure));
    }

    // Acceleration reads back from the server; speed goes to its threshold and to GNOME; double-click to GNOME.
    void accelerationSpeedAndClick()
    {
        ViewRig rig(1);
        auto *system = new LinuxPointerSettings(screen.environment.value("DISPLAY").toLatin1());
        rig.view.pointerSettings.reset(system);
        QVERIFY(rig.view.getAcceleration());
        for (const bool on : {false, true}) {
            rig.view.setAcceleration(on);
            QCOMPARE(rig.view.getAcceleration(), on);
            QCOMPARE(xsetPointer(), QString(on ? "2/1 4" : "1/1 4"));
        }
        for (const auto &[level, server, gnomeSpeed, doubleClick] :
             {std::tuple{0u, "2/1 22", -0.75, 900}, {11u, "2/1 1", 1.0, 130}}) {
            rig.view.setCursorSpeed(level);
            rig.view.setDoubleClickSpeed(level);
            QCOMPARE(xsetPointer(), QString(server));
            QCOMPARE(system->gnome.speed(), gnomeSpeed);
            QCOMPARE(system->gnome.doubleClick(), doubleClick);
        }
    }

    // Each level: what the system gets, the profile keeps and the getter returns, also when the system refuses (one
    // line printed, the value kept); a profile without the keys gives 0.
    void levels_data()
    {
        QTest::addColumn<int>("kind");   // 0 speed, 1 double-click, 2 wheel lines
        QTest::addColumn<uint>("level"); QTest::addColumn<QString>("applied"); QTest::addColumn<bool>("refused");
        const char *const rows[] = {"0 0 setMouseSpeed 1", "0 1 setMouseSpeed 2", "1 40 setDoubleClickTime 60",
            "0 7 setMouseSpeed 14 refused", "1 7 setDoubleClickTime 410 refused", "2 7 setWheelScrollLines 7 refused"};
        for (const char *row : rows) {
            const QStringList f = QString(row).split(' ');
            QTest::newRow(row) << f[0].toInt() << f[1].toUInt() << f[2] + ' ' + f[3] << (f.size() > 4);
        }
    }
    void levels()
    {
        QFETCH(int, kind); QFETCH(uint, level); QFETCH(QString, applied); QFETCH(bool, refused);
        static const char *const slot[][2] = {{"CursorSpeed", ProfileKey::cursorSpeed}, {"DoubleClickSpeed", ProfileKey::doubleClickSpeed},
                                              {"VerticalScrollLines", ProfileKey::scrollLines}};
        ViewRig rig(1);
        const auto call = [&](const char *verb) { return QByteArray(verb) + slot[kind][0]; };
        const auto get = [&] { uint got = 99; QMetaObject::invokeMethod(&rig.view, call("get").constData(), Q_RETURN_ARG(uint, got)); return got; };
        QCOMPARE(get(), 0u);
        if (refused) {
            rig.system->refuse = QStringList{applied.section(' ', 0, 0)};
            QTest::ignoreMessage(QtDebugMsg, (call("set") + " Failed").constData());
        }
        QVERIFY(QMetaObject::invokeMethod(&rig.view, call("set").constData(), Q_ARG(uint, level)));
        QCOMPARE(rig.system->calls, QStringList{applied});
        rig.view.store.currentSettings()->sync();   // p1.bin as another program reads it
        const QSettings stored(rig.data.filePath("modules/setting/p1.bin"), QSettings::IniFormat);
        QCOMPARE(stored.value(slot[kind][1]).toString(), QString::number(level));
        QCOMPARE(get(), level);
    }

    // Acceleration: a refused read or write prints its line and goes no further.
    void accelerationRefused()
    {
        ViewRig rig(1);
        for (const char *refused : {"getMouse", "setMouse"}) {
            rig.system->refuse = QStringList{refused};
            QTest::ignoreMessage(QtDebugMsg, "setAcceleration Failed");
            rig.view.setAcceleration(false);
        }
        QCOMPARE(rig.system->calls, (QStringList{"getMouse", "getMouse", "setMouse 6 10 0"}));
    }

    // Wheel lines go to KDE's kdeglobals under KDE or where the key is already, every other byte kept; elsewhere
    // nothing is written and the panel is told. Without an X server only GNOME's part of the rest is left;
    // acceleration has no place and says so.
    void kdeWheelLines_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QByteArray>("before");   // null: no file
        QTest::addColumn<uint>("lines");
        QTest::addColumn<QByteArray>("after");    // null: left as it was
        // Texts another KDE tool keeps there, which a typed reader would change or choke on.
        const QByteArray others = "[General]\nfixed=Hack,10,-1,5,50,0,0,0,0,0\nName[de]=Grün\nPath=$HOME/x\n"
                                  "Blob=@Variant(\\0\\0\\0\\x7f)\n\n[KDE][Sub]\nWheelScrollLines=9\n";
        QTest::newRow("KDE, no file") << "KDE" << QByteArray() << 5u << QByteArray("[KDE]\nWheelScrollLines=5\n");
        QTest::newRow("KDE, no group") << "ubuntu:KDE" << others << 7u << others + "\n[KDE]\nWheelScrollLines=7\n";
        QTest::newRow("KDE, group without the key") << "KDE"
            << QByteArray("[KDE]\nSingleClick=false\n\n") + others << 3u
            << QByteArray("[KDE]\nSingleClick=false\nWheelScrollLines=3\n\n") + others;
        QTest::newRow("other desktop, key there") << "GNOME"
            << others + "\n[KDE]\nWheelScrollLines = 3\nLookAndFeelPackage=org.kde.breeze\n" << 1000u
            << others + "\n[KDE]\nWheelScrollLines=1000\nLookAndFeelPackage=org.kde.breeze\n";
        QTest::newRow("other desktop, no key") << "GNOME" << others << 5u << QByteArray();
        QTest::newRow("other desktop, no file") << "" << QByteArray() << 5u << QByteArray();
        QTest::newRow("KDE, key locked") << "KDE" << QByteArray("[KDE]\nWheelScrollLines[$i]=3\n") << 5u << QByteArray();
        QTest::newRow("KDE, no final line end") << "KDE" << QByteArray("[KDE]\nSingleClick=true") << 2u
            << QByteArray("[KDE]\nSingleClick=true\nWheelScrollLines=2\n");
    }
    void kdeWheelLines()
    {
        QFETCH(QString, desktop); QFETCH(QByteArray, before); QFETCH(uint, lines); QFETCH(QByteArray, after);
        ViewRig rig(1);
        qputenv("XDG_CONFIG_HOME", rig.data.filePath("config").toLocal8Bit());
        qputenv("XDG_CURRENT_DESKTOP", desktop.toLocal8Bit());
        if (!before.isNull())
            QVERIFY(rig.data.writeFile("config/kdeglobals", before));
        auto *system = new LinuxPointerSettings(":999");
        rig.view.pointerSettings.reset(system);
        QTest::ignoreMessage(QtDebugMsg, "getAcceleration Failed");
        QVERIFY(!rig.view.getAcceleration());
        QTest::ignoreMessage(QtDebugMsg, "setAcceleration Failed");
        rig.view.setAcceleration(true);
        QVERIFY(system->setMouseSpeed(4));
        QCOMPARE(system->gnome.speed(), -0.5);
        QCOMPARE(rig.view.canSetVerticalScrollLines(), !after.isNull());
        if (after.isNull())
            QTest::ignoreMessage(QtDebugMsg, "setVerticalScrollLines Failed");
        rig.view.setVerticalScrollLines(lines);
        QCOMPARE(rig.data.readFile("config/kdeglobals"), after.isNull() ? before : after);
        QCOMPARE(QFile::exists(rig.data.filePath("config/kdeglobals")), !before.isNull() || !after.isNull());
    }
};

QTEST_MAIN(tst_X11Pointer)
#include "tst_x11_pointer.moc"
