#include "clirequest.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The command line as the program reads it: which command and values, or why not; and whether it is one.
class tst_CliRequest : public QObject
{
    Q_OBJECT

    static constexpr int models = 4;

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("profile");
        QTest::addColumn<QString>("file");   // relative to the working folder
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("wanted");    // the command-line mode, not the tray program
        const int none = CliRequest::None;
        QTest::newRow("tray program") << QStringList{u"--simulate"_s, u"--trace"_s, u"t.txt"_s, u"--hidden"_s} << none << -1 << QString() << QString() << false;
        QTest::newRow("Qt's options") << QStringList{u"-platform"_s, u"xcb"_s, u"-display"_s, u":3"_s, u"--simulate=3"_s} << none << -1 << QString() << QString() << false;
        QTest::newRow("short help") << QStringList{u"-h"_s} << int(CliRequest::Help) << -1 << QString() << QString() << true;
        QTest::newRow("list among options") << QStringList{u"--trace=t.txt"_s, u"--list"_s, u"--simulate"_s} << int(CliRequest::List) << -1 << QString() << QString() << true;
        QTest::newRow("profile") << QStringList{u"--profile"_s, u"5"_s} << int(CliRequest::Profile) << 5 << QString() << QString() << true;
        QTest::newRow("export") << QStringList{u"--export"_s, u"0"_s, u"a.pf"_s} << int(CliRequest::Export) << 0 << u"a.pf"_s << QString() << true;
        QTest::newRow("import new") << QStringList{u"--import"_s, u"a.pf"_s, u"--simulate"_s} << int(CliRequest::Import) << -1 << u"a.pf"_s << QString() << true;
        QTest::newRow("import into") << QStringList{u"--import"_s, u"a.pf"_s, u"3"_s} << int(CliRequest::Import) << 3 << u"a.pf"_s << QString() << true;
        QTest::newRow("status") << QStringList{u"--status"_s} << int(CliRequest::Status) << -1 << QString() << QString() << true;
        QTest::newRow("unknown alone") << QStringList{u"--lsit"_s} << none << -1 << QString() << u"unknown option: --lsit (see --help)"_s << true;
        QTest::newRow("stray value") << QStringList{u"--list"_s, u"x"_s} << int(CliRequest::List) << -1 << QString() << u"unknown option: x (see --help)"_s << true;
        QTest::newRow("two commands") << QStringList{u"--list"_s, u"--status"_s} << int(CliRequest::List) << -1 << QString() << u"one command at a time: --status is a second one (see --help)"_s << true;
        QTest::newRow("value missing") << QStringList{u"--export"_s, u"1"_s} << none << -1 << QString() << u"--export needs 2 value(s) (see --help)"_s << true;
        QTest::newRow("profile 6") << QStringList{u"--profile"_s, u"6"_s} << int(CliRequest::Profile) << -1 << QString() << u"no profile number: 6 (profiles are 0 to 5)"_s << true;
        QTest::newRow("profile -1") << QStringList{u"--profile"_s, u"-1"_s} << int(CliRequest::Profile) << -1 << QString() << u"no profile number: -1 (profiles are 0 to 5)"_s << true;
        QTest::newRow("profile word") << QStringList{u"--export"_s, u"one"_s, u"a.pf"_s} << int(CliRequest::Export) << -1 << u"a.pf"_s << u"no profile number: one (profiles are 0 to 5)"_s << true;
        QTest::newRow("model 4") << QStringList{u"--simulate=4"_s} << none << -1 << QString() << u"no simulated model: 4 (models are 0 to 3)"_s << true;
        QTest::newRow("model word") << QStringList{u"--list"_s, u"--simulate=x"_s} << int(CliRequest::List) << -1 << QString() << u"no simulated model: x (models are 0 to 3)"_s << true;
        QTest::newRow("trace without file") << QStringList{u"--list"_s, u"--trace"_s} << int(CliRequest::List) << -1 << QString() << u"--trace needs a value (see --help)"_s << true;
        QTest::newRow("autostart on") << QStringList{u"--autostart"_s, u"on"_s} << int(CliRequest::Autostart) << -1 << QString() << QString() << true;
        QTest::newRow("autostart yes") << QStringList{u"--autostart"_s, u"yes"_s} << int(CliRequest::Autostart) << -1 << QString() << u"--autostart takes on or off, not yes"_s << true;
    }
    void parse()
    {
        QFETCH(QStringList, args);
        QFETCH(int, command);
        QFETCH(int, profile);
        QFETCH(QString, file);
        QFETCH(QString, error);
        QFETCH(bool, wanted);
        const CliRequest request = CliRequest::parse(args, models);
        QCOMPARE(request.error, error);
        QCOMPARE(int(request.command), command);
        QCOMPARE(CliRequest::wanted(args, models), wanted);
        if (!error.isEmpty())
            return;
        QCOMPARE(request.profile, profile);
        QCOMPARE(request.file, file.isEmpty() ? file : QDir::current().absoluteFilePath(file));
    }
};

QTEST_GUILESS_MAIN(tst_CliRequest)
#include "tst_clirequest.moc"
