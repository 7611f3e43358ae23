// The command line as a user runs it on the simulated mouse, alone and handed to a running program,
// compared on the report trace (a switch refused under an open dialog: app/x11_applinks).

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
// Not text at all (the parser's other hostile files: store/profileexchange).
const QByteArray notText("\x7f" "ELF\0\0\0\x01\x02\xff\xfe", 12);

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
        QFile log(state.filePath(u"orvane-g7/orvane-g7.log"_s));
        QVERIFY(log.open(QIODevice::ReadOnly) && log.readAll().contains(" debug: Device Connect"));
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
        QFile readme(QStringLiteral(G7_SOURCE_DIR "/README.md"));
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
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
    void concurrentCalls()
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
    }

    // The tray program started while a command-line call works on the mouse starts once the call is done.
    void programStartsDuringCall()
    {
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

private:
    QTemporaryDir config, state;
    Install alone, handed;
    QProcess program;
};

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
