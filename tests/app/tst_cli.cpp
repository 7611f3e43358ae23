// The command-line mode as a user runs it: real processes against the simulated mouse, once
// alone and once handed to a running program, compared on the report trace; and a profile
// switched from the command line while the window is open.

#include <widget.h>

#include <deviceoptions.h>
#include <myqquickview.h>
#include <pauses.h>
#include <hidbackend.h>
#include <reporttrace.h>
#include <uicontroler.h>
#include <tempdatafolder.h>
#include <tracereader.h>

#include <QQuickItem>
#include <QTemporaryDir>
#include <QtTest>

#include <random>

using namespace Qt::StringLiterals;

namespace {

// Profile 2 differs from the factory profile in keys, DPI stages and lighting, not in its report rate.
QByteArray profileTwo(QByteArray text)
{
    text.replace("ledEffect=0, 0, 4, 255, 0, 0", "ledEffect=3, 0, 2, 0, 128, 255");
    text.replace("0=2, 0, 240, 0", "0=1, 0, 4, 0");
    text.replace("[sensor]\n", "[sensor]\ndpi_J2=400, 800, 1600, 3200, 6400, 12800, 14000, 16000\n"
                               "dpi_Select=1, 1, 1, 0, 0, 0, 0, 0\njmgd=2\n");
    return text;
}

const QByteArray handWritten = "[sensor]\nreportRate_J2=1\ndpi_J2=500, 1000, 2000, 4000, 5000, 6000, 7000, 8000\ndpi_Select=1, 1, 0, 0, 0, 0, 0, 0\n"
                               "[color_J2]\nledEffect=5, 0, 1, 0, 255, 0\n[keydefine_J2]\n0=2, 0, 241, 0\n"
                               "[profile]\nname=Hand\n0=\"1,A\", \"0,50\", 3\n";
// Not text at all, and a macro name that climbs out of the data folder.
const QByteArray notText("\x7f" "ELF\0\0\0\x01\x02\xff\xfe", 12);
const QByteArray climbing = "[sensor]\nreportRate_J2=1\n[profile]\nname=../../../escaped\n0=2\n";
// Text without a single profile key: no NUL, so it passes for text, with = on many lines.
QByteArray noise()
{
    std::mt19937 random(11);
    QByteArray bytes(4096, 0);
    for (char &c : bytes)
        c = "=\n ab\x7f\xe9"[random() % 7];
    return bytes;
}

// One private installation of the program with its data files.
struct Install
{
    Install()
    {
        const QString runtime = QStringLiteral(G7_RUNTIME_DIR);
        QProcess::execute(u"cp"_s, {u"-r"_s, runtime + u"/modules"_s, runtime + u"/orvane-g7"_s, dir.path()});
        const QByteArray factory = read(u"modules/setting/pD.bin"_s);
        for (int p = 1; p <= 4; ++p)
            write(u"modules/setting/p%1.bin"_s.arg(p), p == 3 ? profileTwo(factory) : factory);
        write(u"modules/setting/name.bin"_s, "[profile]\nprofileName=Standard0, Two1, Three2, Four3\n");
        QDir(dir.path()).mkpath(u"modules/macro"_s);
        write(u"in/hand.pf"_s, handWritten);
        write(u"in/nottext.pf"_s, notText);
        write(u"in/climbing.pf"_s, climbing);
        write(u"in/noise.pf"_s, noise());
        QFile deep(QStringLiteral(G7_SOURCE_DIR "/fuzz/corpus/pf/deep-nesting.pf"));
        QVERIFY(deep.open(QIODevice::ReadOnly));
        write(u"in/deep.pf"_s, deep.readAll());
    }
    QString path(const QString &relative) const { return dir.filePath(relative); }
    QByteArray read(const QString &relative) const
    {
        QFile f(path(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QString &relative, const QByteArray &text) const
    {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile f(path(relative));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(text) == text.size());
    }
    // What went to the mouse: requests and data reports, without times.
    QStringList sent(const QString &trace) const { return TraceReader(path(trace)).texts({u"feature-out"_s, u"data-out"_s}); }

    QTemporaryDir dir;
};

struct Run
{
    int code = -1;
    QString out, err;
};

Run run(const Install &install, const QStringList &args, QProcessEnvironment env = QProcessEnvironment::systemEnvironment())
{
    // No display of any kind: the command line needs none.
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(install.path(u"in"_s));   // relative file names are the caller's
    p.start(install.path(u"orvane-g7"_s), args);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(QFile::exists(alone.path(u"orvane-g7"_s)) && QFile::exists(handed.path(u"orvane-g7"_s)));
        // The tray program of the second installation, on the offscreen platform of the tests.
        program.setProgram(handed.path(u"orvane-g7"_s));
        program.setArguments({u"--simulate"_s, u"--trace"_s, handed.path(u"trace.txt"_s)});
        program.setWorkingDirectory(handed.path(u"in"_s));
        program.start();
        QVERIFY(program.waitForStarted());
        // A command-line call before the program holds its lock would work alone and keep it out.
        QByteArray console;
        QTRY_VERIFY_WITH_TIMEOUT((console += program.readAllStandardError()).contains("Device Connect"), 30000);
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
                              << u"--list.*--profile N.*--export N FILE.*--import FILE N.*--status.*--check.*--udev-rule.*--simulate.*--trace FILE"_s << false;
        QTest::newRow("list") << QStringList{u"--list"_s} << 0
                              << u"^mouse: ORVANE GLIDE MOUSE G7 \\(model 1\\), command interface \\S+, event interface \\S+, [a-z ]+\nprofiles:\n\\* 0 Standard\n  1 Two\n  2 Three\n  3 Four\n$"_s << false;
        QTest::newRow("status") << QStringList{u"--status"_s} << 0 << u"^DPI stage [1-8] of 8: \\d+ DPI\nlighting effect \\d+ \\(options \\d+, \\d+\\)\n$"_s << true;
        QTest::newRow("profile 2") << QStringList{u"--profile"_s, u"2"_s} << 0 << u"^profile 2 \\(Three\\) is current and sent to the mouse\n$"_s << true;
        QTest::newRow("list after") << QStringList{u"--list"_s} << 0 << u"\n\\* 2 Three\n"_s << false;
        QTest::newRow("export") << QStringList{u"--export"_s, u"2"_s, u"out.pf"_s} << 0 << u"^profile 2 \\(Three\\) exported to /\\S+/in/out.pf\n$"_s << false;
        QTest::newRow("import other") << QStringList{u"--import"_s, u"hand.pf"_s, u"1"_s} << 0 << u"imported into profile 1 \\(Two\\)\n$"_s << false;
        QTest::newRow("import current") << QStringList{u"--import"_s, u"hand.pf"_s, u"2"_s} << 0 << u"imported into profile 2 \\(Three\\) and sent to the mouse\n$"_s << true;
        QTest::newRow("import not text") << QStringList{u"--import"_s, u"nottext.pf"_s, u"3"_s} << 1 << u"^\\S+nottext.pf cannot be read as a profile file; profile 3 is unchanged\n$"_s << false;
        QTest::newRow("import noise") << QStringList{u"--import"_s, u"noise.pf"_s, u"3"_s} << 1 << u"^\\S+noise.pf cannot be read as a profile file; profile 3 is unchanged\n$"_s << false;
        // The factory profile with a value nested far deeper than the stack takes, were it decoded and written back.
        QTest::newRow("import deep") << QStringList{u"--import"_s, u"deep.pf"_s, u"3"_s} << 0 << u"imported into profile 3 \\(Four\\)\n$"_s << false;
        QTest::newRow("export deep") << QStringList{u"--export"_s, u"3"_s, u"deep-out.pf"_s} << 0 << u"^profile 3 \\(Four\\) exported to \\S+deep-out.pf\n$"_s << false;
        QTest::newRow("import climbing") << QStringList{u"--import"_s, u"climbing.pf"_s, u"3"_s} << 0 << u"imported into profile 3"_s << false;
        QTest::newRow("no such profile") << QStringList{u"--profile"_s, u"4"_s} << 1 << u"^profile 4 does not exist \\(see --list\\)\n$"_s << false;
        QTest::newRow("out of range") << QStringList{u"--export"_s, u"9"_s, u"x.pf"_s} << 2 << u"^no profile number: 9 \\(profiles are 0 to 5\\)\n$"_s << false;
        QTest::newRow("unknown") << QStringList{u"--list"_s, u"--bogus"_s} << 2 << u"^unknown option: --bogus \\(see --help\\)\n$"_s << false;
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
        int i = 0;
        QByteArray profilesBefore[2];
        for (Install *install : {&alone, &handed}) {
            for (int p = 1; p <= 4; ++p)
                profilesBefore[install == &handed] += install->read(u"modules/setting/p%1.bin"_s.arg(p));
            const int before = handed.sent(u"trace.txt"_s).size();
            QFile::remove(install->path(u"run.txt"_s));
            const Run r = run(*install, args + QStringList{u"--simulate"_s, u"--trace"_s, install->path(u"run.txt"_s)});
            QVERIFY2(r.code == code && pattern.match(r.out + r.err).hasMatch(), qPrintable(QString::number(r.code) + u": "_s + r.out + r.err));
            QVERIFY2(code == 0 || r.err.count(u'\n') == 1, qPrintable(r.err));
            if (code != 0) {
                QByteArray profiles;
                for (int p = 1; p <= 4; ++p)
                    profiles += install->read(u"modules/setting/p%1.bin"_s.arg(p));
                QVERIFY(profiles == profilesBefore[install == &handed]);
            }
            // Handed over, the call does not touch the mouse: the running program's trace has the reports.
            reports[i++] = install == &alone ? alone.sent(u"run.txt"_s) : handed.sent(u"trace.txt"_s).mid(before);
            if (install == &handed)
                QVERIFY(!QFile::exists(handed.path(u"run.txt"_s)));
        }
        QCOMPARE(reports[1], reports[0]);
        QCOMPARE(!reports[0].isEmpty(), sends);
        // The profile files end the same, but for the desktop's pointer settings, which only the page applies.
        const auto deviceLines = [](const QByteArray &text) {
            QByteArrayList lines = text.split('\n');
            lines.removeIf([](const QByteArray &l) { return l.contains("Speed_J2=") || l.contains("ScrollLines_J2="); });
            return lines;
        };
        QCOMPARE(deviceLines(handed.read(u"modules/setting/p3.bin"_s)), deviceLines(alone.read(u"modules/setting/p3.bin"_s)));
        QVERIFY(program.state() == QProcess::Running);
        for (Install *install : {&alone, &handed}) {
            if (QTest::currentDataTag() == u"export"_s)
                QVERIFY(install->read(u"in/out.pf"_s).contains("dpi_J2=400, 800, 1600"));
            if (QString(QTest::currentDataTag()).startsWith(u"import "_s)) {
                QVERIFY(!install->read(u"modules/setting/p4.bin"_s).contains("\x7f"));
                QVERIFY(!QFile::exists(install->path(u"escaped.bin"_s)) && !QFile::exists(install->path(u"../escaped.bin"_s)));
            }
            if (QTest::currentDataTag() == u"export deep"_s)
                QVERIFY(install->read(u"in/deep-out.pf"_s).contains("reportRate_J2=4") && !install->read(u"in/deep-out.pf"_s).contains("Variant"));
            if (QTest::currentDataTag() == u"import other"_s)
                QVERIFY(install->read(u"modules/macro/Hand.bin"_s).contains("A"));
        }
    }

    // The page as the user sees it after --profile 2 was handed to the program with its window open.
    void profileWhileWindowOpen()
    {
        TempDataFolder data;
        for (const char *file : {"modules/setting/apConfig.bin", "modules/setting/pD.bin", "modules/img/trayIcon.ico"})
            QVERIFY(data.copyFromSource(QLatin1String(file)));
        const QByteArray factory = data.readFile(u"modules/setting/pD.bin"_s);
        for (int p = 1; p <= 4; ++p)
            QVERIFY(data.writeFile(u"modules/setting/p%1.bin"_s.arg(p), p == 3 ? profileTwo(factory) : factory));
        QVERIFY(data.writeFile(u"modules/setting/name.bin"_s, "[profile]\nprofileName=Standard0, Two1, Three2, Four3\n"));
        const auto sim = installDeviceBackend({true, 1, data.filePath(u"trace.txt"_s)});
        setSleeper(std::make_shared<RecordingSleeper>());
        {
            Widget w;
            w.showNormal();
            w.checkDevice();
            myQQuickView *view = w.controller->view;
            QTRY_VERIFY_WITH_TIMEOUT(view->rootObject()->property("isPowerOn").toBool() && view->isEnabled(), 10000);
            QObject *panel = view->rootObject()->findChild<QObject *>(u"profileMain"_s);
            QCOMPARE(panel->property("profileNo").toInt(), 0);

            const PeerAnswer answer = w.runCommand({u"--profile"_s, u"2"_s});
            QCOMPARE(answer.code, 0);
            QCOMPARE(panel->property("profileNo").toInt(), 2);
            QCOMPARE(panel->property("currentIndex").toInt(), 2);   // the row "Three"
            QVariant dpi;
            QMetaObject::invokeMethod(view->rootObject()->findChild<QObject *>(u"dpiSettingMain"_s), "valueForDpi",
                                      Q_RETURN_ARG(QVariant, dpi));
            QCOMPARE(dpi.toList().value(0).toInt(), 400);
            QCOMPARE(view->store.savedProfile(), 2);
            QTRY_VERIFY_WITH_TIMEOUT(view->isEnabled(), 3000);   // the page's own busy lock ends
            const QString dir = qEnvironmentVariable("G7_QML_SHOT_DIR");
            if (!dir.isEmpty())
                view->grabFramebuffer().save(dir + u"/cli-profile-2.png"_s);
        }
        setSleeper(nullptr);
        setHidBackend(nullptr);
        ReportTrace::close();
    }

private:
    Install alone, handed;
    QProcess program;
};

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
