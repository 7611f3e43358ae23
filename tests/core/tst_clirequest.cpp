#include "clirequest.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The command line as the program reads it: which command, or why not; and whether it is one (values: app/cli).
class tst_CliRequest : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("wanted");    // the command-line mode, not the tray program
        const int none = CliRequest::None;
        QTest::newRow("tray program") << QStringList{u"--simulate"_s, u"--trace"_s, u"t.txt"_s, u"--hidden"_s} << none << QString() << false;
        QTest::newRow("Qt's options") << QStringList{u"-platform"_s, u"xcb"_s, u"-display"_s, u":3"_s, u"--simulate=3"_s} << none << QString() << false;
        QTest::newRow("short help") << QStringList{u"-h"_s} << int(CliRequest::Help) << QString() << true;
        QTest::newRow("list among options") << QStringList{u"--trace=t.txt"_s, u"--list"_s, u"--simulate"_s} << int(CliRequest::List) << QString() << true;
        QTest::newRow("unknown alone") << QStringList{u"--lsit"_s} << none << u"unknown option: --lsit (see --help)"_s << true;
        QTest::newRow("stray value") << QStringList{u"--list"_s, u"x"_s} << int(CliRequest::List) << u"unknown option: x (see --help)"_s << true;
        QTest::newRow("two commands") << QStringList{u"--list"_s, u"--status"_s} << int(CliRequest::List) << u"one command at a time: --status is a second one (see --help)"_s << true;
        QTest::newRow("value missing") << QStringList{u"--export"_s, u"1"_s} << none << u"--export needs 2 value(s) (see --help)"_s << true;
        QTest::newRow("profile 6") << QStringList{u"--profile"_s, u"6"_s} << int(CliRequest::Profile) << u"no profile number: 6 (profiles are 0 to 5)"_s << true;
        QTest::newRow("profile -1") << QStringList{u"--profile"_s, u"-1"_s} << int(CliRequest::Profile) << u"no profile number: -1 (profiles are 0 to 5)"_s << true;
        QTest::newRow("profile word") << QStringList{u"--export"_s, u"one"_s, u"a.pf"_s} << int(CliRequest::Export) << u"no profile number: one (profiles are 0 to 5)"_s << true;
        QTest::newRow("model 4") << QStringList{u"--simulate=4"_s} << none << u"no simulated model: 4 (models are 0 to 3)"_s << true;
        QTest::newRow("model word") << QStringList{u"--list"_s, u"--simulate=x"_s} << int(CliRequest::List) << u"no simulated model: x (models are 0 to 3)"_s << true;
        QTest::newRow("trace without file") << QStringList{u"--list"_s, u"--trace"_s} << int(CliRequest::List) << u"--trace needs a value (see --help)"_s << true;
        QTest::newRow("autostart yes") << QStringList{u"--autostart"_s, u"yes"_s} << int(CliRequest::Autostart) << u"--autostart takes on or off, not yes"_s << true;
    }
    void parse()
    {
        QFETCH(QStringList, args);
        QFETCH(int, command);
        QFETCH(QString, error);
        QFETCH(bool, wanted);
        constexpr int models = 4;
        const CliRequest request = CliRequest::parse(args, models);
        QCOMPARE(request.error, error);
        QCOMPARE(int(request.command), command);
        QCOMPARE(CliRequest::wanted(args, models), wanted);
    }
};

QTEST_GUILESS_MAIN(tst_CliRequest)
#include "tst_clirequest.moc"
