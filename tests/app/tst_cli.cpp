// The command line as a user runs it on the simulated mouse, alone and handed to a running program,
// compared on the report trace (a switch refused under an open dialog: app/x11_desktop); --check against fake
// sysfs/dev trees and the access rules it judges nodes by (the start-up's "no permission" line: app/x11_program);
// the files a user finds: the log (every debug line, never more than 1 MiB, one older copy), the data folder.

#include <datapath.h>
#include <deviceaccess.h>
#include <devicelog.h>
#include <fakemouse.h>
#include <logfile.h>
#include <singleinstancepeer.h>
#include <tempdatafolder.h>
#include <tracereader.h>

#include <QtTest>

using namespace Qt::StringLiterals;

const QByteArray handWritten = "[sensor]\nreportRate_J2=1\ndpi_J2=500, 1000, 2000, 4000, 5000, 6000, 7000, 8000\ndpi_Select=1, 1, 0, 0, 0, 0, 0, 0\n"
                               "[color_J2]\nledEffect=5, 0, 1, 0, 255, 0\n[keydefine_J2]\n0=2, 0, 241, 0\n3=10, 0, 1, 3\n"
                               "[macro]\n3=Hand\n[profile]\nname=Hand\n0=\"1,A\", \"0,50\", 3\n";
// Every device setting out of range: huge, negative, fractional, not a number, a digit and a line break.
const QByteArray hugeNumbers = "[keydefine_J2]\n0=99999999999, 2, 240, 0\n1=2, 0, 241.5, 0\n2=-1, 0, 242, 0\n3=4294967296, 0, 0, 0\n"
                               "4=nan, nan, nan, nan\n[sensor]\nreportRate_J2=1.5\njmgd=99999999999\n"
                               "dpi_J2=99999999999, -400, 800.5, 1e9, 400, 800, 1600, 99999\n"
                               "dpi_Select=99999999999, -1, 0.5, 1, 1, 0, 0, 0\n[XYSensitive]\n0=99999999999\n1=8\\n\n"
                               "[color_J2]\nledEffect=99999999999, -1, 255, 256, -7, 1e3\n"
                               "type1=99999999999, -1, 300, 0.5, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 4294967551\n";
// Not text at all (the parser's other hostile files: store/writtenfiles).
const QByteArray notText("\x7f" "ELF\0\0\0\x01\x02\xff\xfe", 12);

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

constexpr auto contents = &TempDataFolder::contents;

// An installation in a temporary folder, the current one while it lives.
struct Install : TempDataFolder
{
    // A fresh one holds the installed data only: no profile file, the installed name list.
    explicit Install(bool fresh = false)
    {
        const QString runtime = QStringLiteral(G7_RUNTIME_DIR);
        QProcess::execute(u"cp"_s, {u"-r"_s, runtime + u"/modules"_s, runtime + u"/orvane-g7"_s, filePath(u"."_s)});
        QDir setting(filePath(u"modules/setting"_s));
        for (const QString &profile : setting.entryList({u"p?.bin"_s, u"p10.bin"_s}))
            QVERIFY(profile == u"pD.bin"_s || setting.remove(profile));
        QDir().mkpath(filePath(u"in"_s));
        if (fresh)
            return;
        // Profile 2 differs from the factory profile in keys, DPI stages and lighting, not in its report rate.
        QVERIFY(writeFile(u"modules/setting/p3.bin"_s, readFile(u"modules/setting/pD.bin"_s)
                .replace("ledEffect=0, 0, 4, 255, 0, 0", "ledEffect=3, 0, 2, 0, 128, 255")
                .replace("0=2, 0, 240, 0", "0=1, 0, 4, 0")
                .replace("[sensor]\n", "[sensor]\ndpi_J2=400, 800, 1600, 3200, 6400, 12800, 14000, 16000\n"
                                       "dpi_Select=1, 1, 1, 0, 0, 0, 0, 0\njmgd=2\n")));
        QVERIFY(writeFile(u"modules/setting/p5.bin"_s, hugeNumbers));
        QVERIFY(writeFile(u"modules/setting/name.bin"_s,
                          "[profile]\nprofileName=Standard0, Two1, Three2, Four3, Huge4\n"));
        QVERIFY(writeFile(u"in/hand.pf"_s, handWritten));
        QVERIFY(writeFile(u"in/nottext.pf"_s, notText));
    }
    // What went to the mouse: requests and data reports, without times.
    QStringList sent(const QString &trace) const
    {
        return TraceReader(filePath(trace)).texts({u"feature-out"_s, u"data-out"_s});
    }
};

static PeerAnswer run(const Install &install, const QStringList &args)
{
    QProcess p;
    p.setWorkingDirectory(install.filePath(u"in"_s));   // relative file names are the caller's
    // Without a display: the command line needs none.
    p.start(u"env"_s, QStringList{u"-u"_s, u"DISPLAY"_s, u"-u"_s, u"WAYLAND_DISPLAY"_s, u"-u"_s, u"QT_QPA_PLATFORM"_s,
                                  install.filePath(u"orvane-g7"_s)} + args);
    const bool ended = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
    return {ended ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

class TestCli : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Every copy started here keeps its autostart entry and log in private folders.
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
        program.start(handed.filePath(u"orvane-g7"_s),
                      {u"--simulate"_s, u"--trace"_s, handed.filePath(u"trace.txt"_s)});
        // A command-line call before the program holds its lock would work alone and keep it out.
        QByteArray console;
        QTRY_VERIFY_WITH_TIMEOUT((console += program.readAllStandardError()).contains("Device Connect"), 30000);
        // A program started from the menu has no console: its log has the same lines.
        QVERIFY(contents(state.filePath(u"orvane-g7/orvane-g7.log"_s)).contains(" debug: Device Connect"));
        // Ready once it answers a command that needs the mouse.
        QTRY_VERIFY_WITH_TIMEOUT(run(handed, {u"--status"_s}).code == 0, 30000);
    }
    void cleanupTestCase()
    {
        program.terminate();
        program.waitForFinished(5000);
    }

    void commands_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("said");   // pattern over standard output and error
        QTest::addColumn<bool>("sends");     // whether the mouse gets reports
        QTest::newRow("help") << QStringList{u"--help"_s} << 0
                              << u"--list.*--profile N.*--export N FILE.*--import FILE \\[N\\].*--status.*--link CLASS N.*--unlink CLASS.*--links.*--check.*--udev-rule.*--autostart on\\|off"
                                 ".*--simulate.*--trace FILE.*--hidden.*\\$XDG_STATE_HOME/orvane-g7/orvane-g7.log"_s << false;
        QTest::newRow("list") << QStringList{u"--list"_s} << 0
                              << u"^mouse: ORVANE GLIDE MOUSE G7 \\(model 1\\), command interface \\S+, event interface \\S+, [a-z ]+\nprofiles:\n\\* 0 Standard\n  1 Two\n  2 Three\n  3 Four\n  4 Huge\n$"_s << false;
        QTest::newRow("status") << QStringList{u"--status"_s} << 0 << u"^DPI stage [1-8] of 8: \\d+ DPI\nlighting effect \\d+ \\(options \\d+, \\d+\\)\n$"_s << true;
        // Out-of-range values go out as the page sends them: one conversion for both.
        QTest::newRow("profile 4, huge numbers") << QStringList{u"--profile"_s, u"4"_s} << 0 << u"^profile 4 \\(Huge\\) is current"_s << true;
        QTest::newRow("profile 2") << QStringList{u"--profile"_s, u"2"_s} << 0 << u"^profile 2 \\(Three\\) is current and sent to the mouse\n$"_s << true;
        // A class is one line of apConfig.bin: linked again it moves.
        QTest::newRow("link") << QStringList{u"--link"_s, u"Steam App"_s, u"3"_s} << 0 << u"^Steam App linked to profile 3 \\(Four\\)\n$"_s << false;
        QTest::newRow("link moved") << QStringList{u"--link"_s, u"Steam App"_s, u"1"_s} << 0 << u"^Steam App linked to profile 1 \\(Two\\)\n$"_s << false;
        QTest::newRow("links") << QStringList{u"--links"_s} << 0 << u"^Steam App 1 \\(Two\\)\n$"_s << false;
        QTest::newRow("link no class") << QStringList{u"--link"_s, QString(), u"1"_s} << 2 << u"^not a window class: \"\"\n$"_s << false;
        QTest::newRow("unlink") << QStringList{u"--unlink"_s, u"Steam App"_s} << 0 << u"^Steam App unlinked\n$"_s << false;
        QTest::newRow("unlink again") << QStringList{u"--unlink"_s, u"Steam App"_s} << 1 << u"^Steam App is not linked \\(see --links\\)\n$"_s << false;
        QTest::newRow("export") << QStringList{u"--export"_s, u"2"_s, u"out.pf"_s} << 0 << u"^profile 2 \\(Three\\) exported to /\\S+/in/out.pf\n$"_s << false;
        QTest::newRow("import other") << QStringList{u"--import"_s, u"hand.pf"_s, u"1"_s} << 0 << u"imported into profile 1 \\(Two\\)\n$"_s << false;
        QTest::newRow("import current") << QStringList{u"--import"_s, u"hand.pf"_s, u"2"_s} << 0 << u"imported into profile 2 \\(Three\\) and sent to the mouse\n$"_s << true;
        QTest::newRow("import not text") << QStringList{u"--import"_s, u"nottext.pf"_s, u"3"_s} << 1 << u"^\\S+nottext.pf cannot be read as a profile file; profile 3 is unchanged\n$"_s << false;
        QTest::newRow("no such profile") << QStringList{u"--profile"_s, u"5"_s} << 1 << u"^profile 5 does not exist \\(see --list\\)\n$"_s << false;
        QTest::newRow("version") << QStringList{u"--version"_s} << 0 << u"^orvane-g7 \\d+\\.\\d+\n$"_s << false;
        // As the profile page's New and then Load: listed as the next free number, current, sent.
        QTest::newRow("import new") << QStringList{u"--import"_s, u"hand.pf"_s} << 0
                                    << u"^\\S+/hand.pf imported into profile 5 \\(profile_0\\) and sent to the mouse\n$"_s << true;
        QTest::newRow("autostart on") << QStringList{u"--autostart"_s, u"on"_s} << 0 << u"^autostart on: /\\S+/autostart/orvane-g7.desktop\n$"_s << false;
        QTest::newRow("autostart off") << QStringList{u"--autostart"_s, u"off"_s} << 0 << u"^autostart off: /\\S+/autostart/orvane-g7.desktop\n$"_s << false;
    }
    // Each command alone and handed to the running program: same answer, same reports, one writer.
    void commands()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, said);
        QFETCH(bool, sends);
        const QRegularExpression pattern(said, QRegularExpression::DotMatchesEverythingOption);
        QStringList reports[2];
        for (int i = 0; i < 2; ++i) {
            const Install &install = i ? handed : alone;
            const int before = handed.sent(u"trace.txt"_s).size();
            QFile::remove(install.filePath(u"run.txt"_s));
            const PeerAnswer r = run(install,
                              args + QStringList{u"--simulate"_s, u"--trace"_s, install.filePath(u"run.txt"_s)});
            QVERIFY2(r.code == code && pattern.match(r.out + r.err).hasMatch(), qPrintable(QString::number(r.code) + u": "_s + r.out + r.err));
            QVERIFY2(code == 0 || r.err.count(u'\n') == 1, qPrintable(r.err));
            // Handed over, the call does not touch the mouse: the running program's trace has the reports.
            reports[i] = i ? handed.sent(u"trace.txt"_s).mid(before) : alone.sent(u"run.txt"_s);
            QVERIFY(!i || !QFile::exists(handed.filePath(u"run.txt"_s)));
            if (QTest::currentDataTag() == u"export"_s)
                QVERIFY(install.readFile(u"in/out.pf"_s).contains("dpi_J2=400, 800, 1600"));
            if (QTest::currentDataTag() == u"links"_s)
                QVERIFY(install.readFile(u"modules/setting/apConfig.bin"_s).contains("\n[appLinks]\nSteam%20App=1\n"));
            if (QTest::currentDataTag() == u"import other"_s)
                QVERIFY(install.readFile(u"modules/macro/Hand.bin"_s).contains("A"));
        }
        QCOMPARE(reports[1], reports[0]);
        QCOMPARE(!reports[0].isEmpty(), sends);
        // The profile files end the same, but for the desktop's pointer settings, which only the page applies.
        const auto deviceLines = [](const QByteArray &text) {
            QByteArrayList lines = text.split('\n');
            lines.removeIf([](const QByteArray &l) { return l.contains("Speed_J2=") || l.contains("ScrollLines_J2="); });
            return lines;
        };
        for (const QString &profile : {u"modules/setting/p3.bin"_s, u"modules/setting/p5.bin"_s})
            QCOMPARE(deviceLines(handed.readFile(profile)), deviceLines(alone.readFile(profile)));
        QVERIFY(program.state() == QProcess::Running);
        // The desktop starts the last installation that switched it on, in the tray.
        QFile entry(config.filePath(u"autostart/orvane-g7.desktop"_s));
        QCOMPARE(entry.open(QIODevice::ReadOnly), QTest::currentDataTag() == u"autostart on"_s);
        if (entry.isOpen()) {
            const QByteArray exec =
                    "Exec=\"" + QFileInfo(handed.filePath(u"orvane-g7"_s)).canonicalFilePath().toUtf8() + "\" --hidden";
            QVERIFY2(entry.readAll().split('\n').contains(exec), exec.constData());
            QCOMPARE(QProcess::execute(u"desktop-file-validate"_s, {entry.fileName()}), 0);
        }
    }

    // The README's examples, in their order, on a fresh installation with the simulated mouse.
    void readmeExamples()
    {
        const QString text = QString::fromUtf8(contents(QStringLiteral(G7_SOURCE_DIR "/README.md")));
        const qsizetype section = text.indexOf(u"## Command line"_s);
        const qsizetype start = text.indexOf(u"```\n"_s, section) + 4;
        const QStringList lines = text.mid(start, text.indexOf(u"```"_s, start) - start).split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 5);
        const Install fresh(true);
        for (const QString &line : lines) {
            QStringList args = line.section(u'#', 0, 0).simplified().split(u' ');
            QCOMPARE(args.takeFirst(), u"orvane-g7"_s);
            const PeerAnswer r = run(fresh, args << u"--simulate"_s);
            QVERIFY2(r.code == 0 && r.err.isEmpty(), qPrintable(line + u" -> "_s + QString::number(r.code) + u": "_s + r.err));
        }
    }

    // Calls at once with no program running: each does its work or says it is busy, none waits for a program.
    void callsAndProgramTakeTurnsWithTheMouse()
    {
        QProcess calls[12];
        for (QProcess &call : calls)
            call.start(alone.filePath(u"orvane-g7"_s), {u"--list"_s, u"--simulate"_s});
        int listed = 0;
        for (QProcess &call : calls) {
            QVERIFY(call.state() == QProcess::NotRunning || call.waitForFinished(60000));
            const QString out = QString::fromLocal8Bit(call.readAllStandardOutput());
            const QString err = QString::fromLocal8Bit(call.readAllStandardError());
            if (call.exitCode() == 0 && out.startsWith(u"mouse: "_s))
                ++listed;
            else
                QVERIFY2(call.exitCode() == 1 && err == u"busy: another command-line call is using the mouse; try again\n"_s,
                         qPrintable(QString::number(call.exitCode()) + u": "_s + out + err));
        }
        QVERIFY(listed > 0);
        // The tray program started while a command-line call works on the mouse starts once the call is done.
        QProcess call, tray;
        call.start(alone.filePath(u"orvane-g7"_s),
                   {u"--profile"_s, u"1"_s, u"--simulate"_s, u"--trace"_s, alone.filePath(u"call.txt"_s)});
        QTRY_VERIFY_WITH_TIMEOUT(!alone.sent(u"call.txt"_s).isEmpty(), 30000);
        tray.start(alone.filePath(u"orvane-g7"_s), {u"--simulate"_s});
        QByteArray console;
        QTRY_VERIFY2_WITH_TIMEOUT((console += tray.readAllStandardError()).contains("Device Connect"), console.constData(), 60000);
        // The call had let go of the mouse by then: its trace ends with the handle closed.
        QCOMPARE(TraceReader(alone.filePath(u"call.txt"_s)).texts().constLast(), u"cmd close"_s);
        QTRY_COMPARE_WITH_TIMEOUT(call.state(), QProcess::NotRunning, 60000);
        QCOMPARE(call.exitCode(), 0);
        QCOMPARE(tray.state(), QProcess::Running);
        tray.terminate();
        QVERIFY(tray.waitForFinished(10000));
    }

    void judgesModeAndAccessList_data()
    {
        QTest::addColumn<uint>("mode");
        QTest::addColumn<QByteArray>("acl");
        QTest::addColumn<uint>("uid");
        QTest::addColumn<bool>("granted");
        // Node owned by 0:0; the user is 1000 in groups 1000 and 46 (plugdev).
        const QByteArray uaccess = acl(User, 6, 1000, 6, 0);
        QTest::newRow("mode 0000, root as any owner") << 0000u << QByteArray() << 0u << false;
        QTest::newRow("group rw not the user's, others read only") << 0664u << QByteArray() << 1000u << false;
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
        const QStringList lines = QString::fromLatin1(contents(builtRule)).split(u'\n', Qt::SkipEmptyParts);
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
            QFile installed(root.filePath(u"usr/lib/udev/rules.d/70-orvane-g7.rules"_s));
            QVERIFY(installed.open(QIODevice::WriteOnly));
            QByteArrayList lines = contents(builtRule).split('\n');
            if (rule == 2)
                lines.removeIf([](const QByteArray &line) { return line.contains("1048"); });
            installed.write(lines.join('\n'));
        }
        qputenv("ORVANE_G7_SYSROOT", QFile::encodeName(root.path()));
        const PeerAnswer check = run(alone, {u"--check"_s});
        qunsetenv("ORVANE_G7_SYSROOT");
        QVERIFY2(check.code == exitCode, qPrintable(check.out + check.err));
        for (const QString &text : said)
            QVERIFY2(check.out.contains(text), qPrintable(u"missing \""_s + text + u"\" in:\n"_s + check.out));
        if (nodeMode >= 0)
            QVERIFY(check.out.contains(root.filePath(u"dev/hidraw3"_s)));
        // Advice to install a rule only where a rule would help.
        if (exitCode == 0 || nodeMode == -2)
            QVERIFY2(!check.out.contains(u"To fix"_s), qPrintable(check.out));
    }

    void rotation_data()
    {
        QTest::addColumn<int>("lineLength");   // without the newline
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("older");    // lines in the copy put aside, full when it was
        QTest::addColumn<int>("newest");   // lines in the log
        QTest::newRow("exactly the limit") << 1023 << 1024 << 0 << 1024;
        QTest::newRow("odd line length") << 777 << 4000 << 1347 << 1306;
    }
    void rotation()
    {
        QFETCH(int, lineLength);
        QFETCH(int, lines);
        QFETCH(int, older);
        QFETCH(int, newest);
        const auto numbered = [lineLength](int from, int count) {
            QByteArrayList texts;
            for (int i = from; i < from + count; ++i)
                texts << (QByteArray::number(i).rightJustified(8, '0') + ' ').leftJustified(lineLength, 'x');
            return texts;
        };
        QTemporaryDir dir;
        const QString path = dir.filePath(u"state/orvane-g7/orvane-g7.log"_s);
        {
            LogFile log(path);
            for (const QByteArray &line : numbered(0, lines))
                QVERIFY(log.append(QString::fromLatin1(line)));
        }
        QCOMPARE(QDir(dir.filePath(u"state/orvane-g7"_s)).entryList(QDir::Files).size(), older ? 2 : 1);
        // Every line ends with a line break.
        QCOMPARE(contents(path + u".1"_s).split('\n'), numbered(lines - newest - older, older) << QByteArray());
        QCOMPARE(contents(path).split('\n'), numbered(lines - newest, newest) << QByteArray());
    }

    // Installed, it gets the debug lines and the console still does; an unwritable place is said once, on the console.
    void messageHandler()
    {
        static QStringList console;   // what reached the handler installed before the log's
        // As the console shows it (its pattern names a category other than the default one).
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            console << qFormatLogMessage(type, context, message);
        });
        {
            LogFile log(state.filePath(u"orvane-g7.log"_s));
            LogFile::install(&log);
            qCDebug(lcDevice) << "Device Connect";
            qWarning("cmd Failed 07H");
        }
        qDebug("after the log is gone");
        const QString stamp = u"\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3} "_s;
        const QByteArray log = contents(state.filePath(u"orvane-g7.log"_s));
        QVERIFY2(QRegularExpression(u"^%1debug: Device Connect\n%1warning: cmd Failed 07H\n$"_s.arg(stamp))
                     .match(QString::fromUtf8(log)).hasMatch(), log.constData());
        QCOMPARE(console, QStringList({u"Device Connect"_s, u"cmd Failed 07H"_s, u"after the log is gone"_s}));
        console.clear();
        QFile blocker(state.filePath(u"file"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        {
            LogFile log(blocker.fileName() + u"/orvane-g7.log"_s);
            LogFile::install(&log);
            qDebug("one");
            qDebug("two");
        }
        // The system's reason in the user's language, as the log file gets it.
        const QString said = u"cannot write the log file %1/orvane-g7.log: %2"_s.arg(blocker.fileName(),
                                                                                   qt_error_string(ENOTDIR));
        QCOMPARE(console, QStringList({said, u"one"_s, u"two"_s}));
        qInstallMessageHandler(nullptr);
    }

    // Where the data folder is: beside a writable program as before, in the user's own
    // folder (seeded once from the installed one) when the program's folder is read-only.
    void readOnlyProgramFolderUsesSeededUserFolder()
    {
        TempDataFolder home, program;   // the program's folder is the current one
        for (const char *file : {"setting/name.bin", "setting/pD.bin", "gun/gunData.bin", "i18n/lang_025044.ini", "img/trayIcon.ico"})
            QVERIFY(program.writeFile(u"modules/"_s + QLatin1String(file), QByteArray("[") + file + "]\n"));
        QVERIFY(program.writeFile(u"modules/setting/apConfig.bin"_s, "[J2]\nprofileNo=2\n"));
        QVERIFY(QFile::setPermissions(program.filePath(u"modules/setting/apConfig.bin"_s), QFile::ReadOwner | QFile::ReadGroup));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(u"data"_s)));
        const QString user = home.filePath(u"data/orvane-g7/modules"_s);
        const auto readOnly = [&](bool on) {
            for (const QString &dir : {program.filePath(u"modules/setting"_s), program.filePath(u"modules"_s)})
                QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                                       | (on ? QFile::Permissions() : QFile::Permissions(QFile::WriteOwner))));
            QCOMPARE(chooseDataFolder(QDir::currentPath()), on ? user : QString());
        };
        readOnly(true);
        // The installation's own files, and any outside modules/, are read where they are.
        for (const QString &kept : {u"./modules/setting/pD.bin"_s, u"./modules/i18n/lang_025044.ini"_s,
                                    u"./modules/img/trayIcon.ico"_s, u"./update/3336.exe"_s})
            QCOMPARE(dataPath(kept), kept);
        // Seeded with the user's files only, each one the user may change.
        QCOMPARE(home.readFile(u"data/orvane-g7/modules/setting/apConfig.bin"_s), QByteArray("[J2]\nprofileNo=2\n"));
        QVERIFY(QFileInfo(user + u"/setting/apConfig.bin"_s).permissions() & QFile::WriteOwner);
        QVERIFY(QFileInfo(user + u"/macro"_s).isDir());
        // The next start keeps what the user changed and brings back what the user lost.
        QVERIFY(home.writeFile(u"data/orvane-g7/modules/setting/apConfig.bin"_s, "[J2]\nprofileNo=4\n"));
        QVERIFY(QFile::remove(user + u"/setting/name.bin"_s));
        readOnly(true);
        QCOMPARE(home.readFile(u"data/orvane-g7/modules/setting/apConfig.bin"_s), QByteArray("[J2]\nprofileNo=4\n"));
        QCOMPARE(home.readFile(u"data/orvane-g7/modules/setting/name.bin"_s), QByteArray("[setting/name.bin]\n"));
        readOnly(false);   // back to beside the program
    }

private:
    QTemporaryDir config, state;
    Install alone, handed;
    QProcess program;
};

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
