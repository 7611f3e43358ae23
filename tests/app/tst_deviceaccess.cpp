// "orvane-g7 --check", run as the real program against fake sysfs/dev trees, and the access
// rules it judges nodes by (the start-up's "no permission" line: app/x11_program).

#include <deviceaccess.h>
#include <fakemouse.h>

#include <QtTest>

using namespace Qt::StringLiterals;

const QString program = QStringLiteral(G7_RUNTIME_DIR "/orvane-g7");
const QString builtRule = QStringLiteral(G7_RUNTIME_DIR "/../packaging/70-orvane-g7.rules");

enum { UserObj = 1, User = 2, GroupObj = 4, Group = 8, Mask = 0x10, Other = 0x20 };

// A kernel access list: owner rw, owning group nothing, one named entry (tag, permissions, id), mask, others.
static QByteArray acl(quint16 tag, quint16 perm, quint32 id, quint16 mask, quint16 other)
{
    const quint32 none = 0xFFFFFFFF;
    QList<std::array<quint32, 3>> entries{{UserObj, 6, none}, {GroupObj, 0, none}, {Mask, mask, none}, {Other, other, none}};
    entries.insert(tag == User ? 1 : 2, {tag, perm, id});   // in the kernel's order, by tag
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(2);
    for (const auto &[entryTag, permissions, entryId] : entries)
        out << quint16(entryTag) << quint16(permissions) << entryId;
    return bytes;
}

class TestDeviceAccess : public QObject
{
    Q_OBJECT
private slots:
    void judgesModeAndAccessList_data()
    {
        QTest::addColumn<uint>("mode");
        QTest::addColumn<QByteArray>("acl");
        QTest::addColumn<uint>("uid");
        QTest::addColumn<bool>("granted");
        // Node owned by 0:0; the user is 1000 in groups 1000 and 46 (plugdev).
        const QByteArray uaccess = acl(User, 6, 1000, 6, 0);
        QTest::newRow("root-only node, root") << 0600u << QByteArray() << 0u << true;
        QTest::newRow("mode 0000, root as any owner") << 0000u << QByteArray() << 0u << false;
        QTest::newRow("group rw not the user's, others read only") << 0664u << QByteArray() << 1000u << false;
        QTest::newRow("others rw") << 0666u << QByteArray() << 1000u << true;
        QTest::newRow("uaccess entry for the user") << 0660u << uaccess << 1000u << true;
        QTest::newRow("uaccess entry for another user") << 0660u << uaccess << 1001u << false;
        QTest::newRow("entry limited by a read-only mask") << 0640u << acl(User, 6, 1000, 4, 0) << 1000u << false;
        QTest::newRow("named group entry") << 0660u << acl(Group, 6, 46, 6, 0) << 1000u << true;
        QTest::newRow("matching group without rw hides others' rw") << 0606u << acl(Group, 4, 46, 6, 6) << 1000u << false;
        QTest::newRow("garbled list falls back to mode") << 0666u << QByteArray("\x02\0\0\0\x01", 5) << 1000u << true;
    }
    void judgesModeAndAccessList()
    {
        QFETCH(uint, mode);
        QFETCH(QByteArray, acl);
        QFETCH(uint, uid);
        QTEST(grantsReadWrite(NodeMode{0, 0, S_IFCHR | mode, acl}, uid, {uid, 46u}), "granted");
    }

    void ruleCoversEveryCatalogueModel()
    {
        // The catalogue as another INI reader sees it, against the rule the build wrote and installs.
        QSettings catalogue(QStringLiteral(G7_SOURCE_DIR "/modules/qml/DevInfo.ini"), QSettings::IniFormat);
        QStringList expected;
        for (int i = 0; i < catalogue.value(u"common/total"_s).toInt(); ++i)
            expected << uR"(SUBSYSTEM=="hidraw", ATTRS{idVendor}=="%1", ATTRS{idProduct}=="%2", TAG+="uaccess")"_s.arg(
                catalogue.value(u"%1/vid"_s.arg(i)).toString().toLower(), catalogue.value(u"%1/pid"_s.arg(i)).toString().toLower());
        QFile rule(builtRule);
        QVERIFY2(rule.open(QIODevice::ReadOnly), qPrintable(builtRule));
        const QStringList lines = QString::fromLatin1(rule.readAll()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.filter(QRegularExpression(u"^[^#]"_s)), expected);
    }

    void checkReportsAndExits_data()
    {
        QTest::addColumn<int>("nodeMode");   // -1: no mouse, -2: on USB without a hidraw node
        QTest::addColumn<int>("rule");       // 0 none, 1 the built rule, 2 the built rule less one model
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("said");
        const QString teeRule = u"orvane-g7 --udev-rule | sudo tee /etc/udev/rules.d/70-orvane-g7.rules >/dev/null"
                                " && sudo udevadm control --reload && sudo udevadm trigger --subsystem-match=hidraw"_s;
        const QString reload = u"\n  sudo udevadm control --reload && sudo udevadm trigger --subsystem-match=hidraw\n"_s;
        const QStringList usable{u"read and write: yes"_s, u"a supported mouse is usable"_s};
        QTest::newRow("nothing attached, no rule") << -1 << 0 << 1
            << QStringList{u"No supported mouse is attached."_s, u"udev rule: not installed"_s, teeRule};
        QTest::newRow("node it cannot open, no rule") << 0000 << 0 << 2
            << QStringList{u"Found ORVANE GLIDE MOUSE G7 (USB 260d:1031)"_s, u"read and write: NO (no permission)"_s,
                           u"there is no permission to open it"_s, teeRule};
        QTest::newRow("node it cannot open, rule installed") << 0000 << 1 << 2
            << QStringList{u"read and write: NO (no permission)"_s, u"udev rule: installed"_s, reload};
        QTest::newRow("node it cannot open, rule lacks a model") << 0000 << 2 << 2 << QStringList{u"udev rule: outdated ("_s, teeRule};
        QTest::newRow("node it can open, no rule") << 0600 << 0 << 0 << usable;
        QTest::newRow("on USB, no hidraw node") << -2 << 1 << 2
            << QStringList{u"no hidraw node"_s, u"the kernel has not bound its HID interfaces, so there is nothing to open"_s,
                           u"lsmod | grep hid"_s};
    }
    void checkReportsAndExits()
    {
        QFETCH(int, nodeMode);
        QFETCH(int, rule);
        QFETCH(int, exitCode);
        QFETCH(QStringList, said);
        QTemporaryDir root;
        if (nodeMode != -1)
            addFakeMouse(root.path(), qMax(nodeMode, 0));
        if (nodeMode == -2)
            QVERIFY(QDir(root.filePath(u"sys/class/hidraw"_s)).removeRecursively());
        QVERIFY(QDir().mkpath(root.filePath(u"sys/bus/usb/devices/usb1"_s))); // a hub: not a catalogue model
        if (rule > 0) {
            QVERIFY(QDir().mkpath(root.filePath(u"usr/lib/udev/rules.d"_s)));
            QFile built(builtRule), installed(root.filePath(u"usr/lib/udev/rules.d/70-orvane-g7.rules"_s));
            QVERIFY(built.open(QIODevice::ReadOnly) && installed.open(QIODevice::WriteOnly));
            QByteArrayList lines = built.readAll().split('\n');
            if (rule == 2)
                lines.removeIf([](const QByteArray &line) { return line.contains("1048"); });
            installed.write(lines.join('\n'));
        }
        QProcess check;   // run by a user without a display
        check.start(u"env"_s, {u"-u"_s, u"DISPLAY"_s, u"-u"_s, u"WAYLAND_DISPLAY"_s, u"-u"_s, u"QT_QPA_PLATFORM"_s,
                               u"ORVANE_G7_SYSROOT="_s + root.path(), program, u"--check"_s});
        QVERIFY(check.waitForFinished(20000) && check.exitStatus() == QProcess::NormalExit);
        const QString out = QString::fromLocal8Bit(check.readAllStandardOutput());
        QVERIFY2(check.exitCode() == exitCode, qPrintable(out + check.readAllStandardError()));
        for (const QString &text : said)
            QVERIFY2(out.contains(text), qPrintable(u"missing \""_s + text + u"\" in:\n"_s + out));
        if (nodeMode >= 0)
            QVERIFY(out.contains(root.filePath(u"dev/hidraw3"_s)));
        // Advice to install a rule only where a rule would help.
        if (exitCode == 0 || nodeMode == -2)
            QVERIFY2(!out.contains(u"To fix"_s), qPrintable(out));
    }
};

QTEST_GUILESS_MAIN(TestDeviceAccess)
#include "tst_deviceaccess.moc"
