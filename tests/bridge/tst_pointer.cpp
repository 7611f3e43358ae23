#include "linuxpointersettings.h"
#include "myqquickview.h"
#include "profilekeys.h"
#include "recordingpointersettings.h"
#include "tempdatafolder.h"

#include <QSettings>
#include <QTest>

#include <functional>

using Slot = std::function<void(myQQuickView &)>;
Q_DECLARE_METATYPE(Slot)

// The view on an empty data folder with the pointer settings recorded.
struct PointerRig
{
    PointerRig()
    {
        QDir().mkpath("modules/setting");
        system = recordPointerSettings(view);
    }
    // p1.bin as another program reads it, once the view has written it out.
    QString stored(const char *key)
    {
        view.store.currentSettings()->sync();
        return QSettings(data.filePath("modules/setting/p1.bin"), QSettings::IniFormat).value(key).toString();
    }

    TempDataFolder data;
    myQQuickView view;
    RecordingPointerSettings *system = nullptr;
};

class tst_Pointer : public QObject
{
    Q_OBJECT

private slots:
    // Each page level: what the profile keeps, what the system gets, what the getter returns.
    void levels_data()
    {
        QTest::addColumn<Slot>("set");
        QTest::addColumn<QString>("key");
        QTest::addColumn<uint>("level");
        QTest::addColumn<QString>("applied");
        struct Row { const char *kind; uint level; const char *applied; };
        const Row rows[] = {
            {"speed", 0, "setMouseSpeed 1"}, {"speed", 1, "setMouseSpeed 2"}, {"speed", 5, "setMouseSpeed 10"},
            {"speed", 6, "setMouseSpeed 12"}, {"speed", 10, "setMouseSpeed 20"}, {"speed", 11, "setMouseSpeed 22"},
            {"click", 0, "setDoubleClickTime 900"}, {"click", 5, "setDoubleClickTime 550"},
            {"click", 10, "setDoubleClickTime 200"}, {"click", 11, "setDoubleClickTime 130"},
            {"click", 12, "setDoubleClickTime 60"}, {"click", 40, "setDoubleClickTime 60"},
            {"lines", 1, "setWheelScrollLines 1"}, {"lines", 3, "setWheelScrollLines 3"},
            {"lines", 100, "setWheelScrollLines 100"}, {"lines", 1000, "setWheelScrollLines 1000"},
        };
        for (const Row &row : rows) {
            const QString kind = QLatin1String(row.kind);
            const uint level = row.level;
            Slot set;
            const char *key;
            if (kind == "speed") {
                set = [level](myQQuickView &v) { v.setCursorSpeed(level); };
                key = ProfileKey::cursorSpeed;
            } else if (kind == "click") {
                set = [level](myQQuickView &v) { v.setDoubleClickSpeed(level); };
                key = ProfileKey::doubleClickSpeed;
            } else {
                set = [level](myQQuickView &v) { v.setVerticalScrollLines(level); };
                key = ProfileKey::scrollLines;
            }
            QTest::addRow("%s %u", row.kind, level) << set << QString(key) << level << QString(row.applied);
        }
    }
    void levels()
    {
        QFETCH(Slot, set);
        QFETCH(QString, key);
        QFETCH(uint, level);
        QFETCH(QString, applied);
        PointerRig rig;
        set(rig.view);
        QCOMPARE(rig.system->calls, QStringList{applied});
        QCOMPARE(rig.stored(key.toLatin1()), QString::number(level));
        const uint back = key == ProfileKey::cursorSpeed ? rig.view.getCursorSpeed()
                : key == ProfileKey::doubleClickSpeed ? rig.view.getDoubleClickSpeed()
                                                       : rig.view.getVerticalScrollLines();
        QCOMPARE(back, level);
    }

    // The getters read the profile, never the system; a profile without the keys gives 0.
    void gettersReadTheProfile()
    {
        PointerRig rig;
        QCOMPARE(rig.view.getCursorSpeed(), 0u);
        QCOMPARE(rig.view.getDoubleClickSpeed(), 0u);
        QCOMPARE(rig.view.getVerticalScrollLines(), 0u);
        QVERIFY(rig.system->calls.isEmpty());
    }

    // Acceleration keeps both thresholds and changes only the flag; it is not stored.
    void acceleration()
    {
        PointerRig rig;
        QVERIFY(rig.view.getAcceleration());
        rig.view.setAcceleration(false);
        QVERIFY(!rig.view.getAcceleration());
        rig.view.setAcceleration(true);
        QCOMPARE(rig.system->calls, (QStringList{"getMouse", "getMouse", "setMouse 6 10 0", "getMouse", "getMouse",
                                                 "setMouse 6 10 1"}));
        QVERIFY(!rig.data.readFile("modules/setting/p1.bin").contains("ccel"));
    }

    // A refused call prints its line and the stored value stays.
    void failures_data()
    {
        QTest::addColumn<QString>("refused");
        QTest::addColumn<Slot>("call");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("get") << "getMouse" << Slot([](myQQuickView &v) { QVERIFY(!v.getAcceleration()); })
                             << "getAcceleration Failed" << QStringList{"getMouse"};
        QTest::newRow("set, read refused") << "getMouse" << Slot([](myQQuickView &v) { v.setAcceleration(false); })
                                           << "setAcceleration Failed" << QStringList{"getMouse"};
        QTest::newRow("set, write refused") << "setMouse" << Slot([](myQQuickView &v) { v.setAcceleration(false); })
                                            << "setAcceleration Failed" << QStringList{"getMouse", "setMouse 6 10 0"};
        QTest::newRow("speed") << "setMouseSpeed" << Slot([](myQQuickView &v) { v.setCursorSpeed(7); })
                               << "setCursorSpeed Failed" << QStringList{"setMouseSpeed 14"};
        QTest::newRow("lines") << "setWheelScrollLines" << Slot([](myQQuickView &v) { v.setVerticalScrollLines(7); })
                               << "setVerticalScrollLines Failed" << QStringList{"setWheelScrollLines 7"};
        QTest::newRow("click") << "setDoubleClickTime" << Slot([](myQQuickView &v) { v.setDoubleClickSpeed(7); })
                               << "setDoubleClickSpeed Failed" << QStringList{"setDoubleClickTime 410"};
    }
    void failures()
    {
        QFETCH(QString, refused);
        QFETCH(Slot, call);
        QFETCH(QString, message);
        QFETCH(QStringList, calls);
        PointerRig rig;
        rig.system->refuse = QStringList{refused};
        QTest::ignoreMessage(QtDebugMsg, message.toLatin1());
        call(rig.view);
        QCOMPARE(rig.system->calls, calls);
        if (refused.startsWith("set") && refused != "setMouse") {
            // Stored before the system was asked, and kept.
            const uint stored = rig.view.getCursorSpeed() + rig.view.getVerticalScrollLines()
                    + rig.view.getDoubleClickSpeed();
            QCOMPARE(stored, 7u);
        }
    }

    // Wheel lines on Linux go to KDE's kdeglobals ($XDG_CONFIG_HOME): set under KDE or where the key is already,
    // with every other byte of the file as it was; elsewhere nothing is written and the panel is told.
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
        QFETCH(QString, desktop);
        QFETCH(QByteArray, before);
        QFETCH(uint, lines);
        QFETCH(QByteArray, after);
        TempDataFolder data;
        QDir().mkpath("modules/setting");
        qputenv("XDG_CONFIG_HOME", data.filePath("config").toLocal8Bit());
        qputenv("XDG_CURRENT_DESKTOP", desktop.toLocal8Bit());
        if (!before.isNull())
            QVERIFY(data.writeFile("config/kdeglobals", before));
        myQQuickView view;
        view.pointerSettings = std::make_unique<LinuxPointerSettings>(":999");   // no X server: wheel lines only
        QCOMPARE(view.canSetVerticalScrollLines(), !after.isNull());
        if (after.isNull())
            QTest::ignoreMessage(QtDebugMsg, "setVerticalScrollLines Failed");
        view.setVerticalScrollLines(lines);
        QCOMPARE(data.readFile("config/kdeglobals"), after.isNull() ? before : after);
        QCOMPARE(QFile::exists(data.filePath("config/kdeglobals")), !before.isNull() || !after.isNull());
        QCOMPARE(view.getVerticalScrollLines(), lines);
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_CURRENT_DESKTOP");
    }
};

QTEST_MAIN(tst_Pointer)
#include "tst_pointer.moc"
