#include "hookprocedure.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The hook procedure fed raw hook messages: which USB usages and button codes come out.
class tst_HookProcedure : public QObject
{
    Q_OBJECT

private slots:
    void messages_data()
    {
        // Events "k <hook code> <message> <scan> <flags>", "m <message>" (hexadecimal but the hook code) or "c"
        // (forget the held keys); results "kb <usage> <down>" or "ms <code> <down>".
        QTest::addColumn<bool>("layoutFlag");
        QTest::addColumn<QString>("events");
        QTest::addColumn<QStringList>("expected");
        const QString enterHeld = u"k 0 100 1c 0;k 0 100 1c 0;k 0 104 1c 0;k 0 101 1c 0;k 0 105 1c 0"_s;
        QTest::newRow("held Enter: one edge each") << false << enterHeld << QStringList{u"kb 28 1"_s, u"kb 28 0"_s};
        QTest::newRow("other hook code is up") << false << u"k 0 100 1e 0;k 1 100 1e 0"_s
                                               << QStringList{u"kb 04 1"_s, u"kb 04 0"_s};
        QTest::newRow("held key forgotten") << false << u"k 0 100 1e 0;c;k 0 100 1e 0"_s
                                            << QStringList{u"kb 04 1"_s, u"kb 04 1"_s};
        QTest::newRow("Alt+Print Screen") << false << u"k 0 104 54 20;k 0 100 54 0"_s << QStringList{u"kb 46 1"_s};
        QTest::newRow("Ctrl+Break, Scroll") << false << u"k 0 100 46 1;k 0 100 46 0"_s
                                            << QStringList{u"kb 48 1"_s, u"kb 47 1"_s};
        QTest::newRow("Pause, Num Lock") << false << u"k 0 100 45 0;k 0 100 45 1"_s
                                         << QStringList{u"kb 48 1"_s, u"kb 53 1"_s};
        QTest::newRow("Windows keys, shifts") << false << u"k 0 100 5c 1;k 0 100 5b 1;k 0 100 36 0;k 0 100 36 1"_s
                                              << QStringList{u"kb e3 1"_s, u"kb e5 1"_s};
        QTest::newRow("scan above 255, unmapped scans") << false << u"k 0 100 11e 0;k 0 100 56 0;k 0 100 0 0;k 0 100 ff 1"_s
                                                        << QStringList{u"kb 64 1"_s};
        QTest::newRow("layout key US") << false << u"k 0 100 2b 0"_s << QStringList{u"kb 31 1"_s};
        QTest::newRow("layout key non-US") << true << u"k 0 100 2b 0"_s << QStringList{u"kb 32 1"_s};
        QTest::newRow("buttons") << false << u"m 201;m 202;m 203;m 204;m 206;m 208"_s
                                 << QStringList{u"ms f0 1"_s, u"ms f0 0"_s, u"ms f1 1"_s, u"ms f2 0"_s};
        QTest::newRow("move, wheel, extra, far off") << false << u"m 200;m 20a;m 20b;m 209;m 0;m ffffffff"_s
                                                     << QStringList{};
    }
    void messages()
    {
        QFETCH(bool, layoutFlag);
        QFETCH(QString, events);
        QFETCH(QStringList, expected);
        HookProcedure procedure(layoutFlag);
        QStringList reports;
        for (const QString &event : events.split(u';')) {
            const QStringList f = event.split(u' ');
            if (f[0] == u"c") {
                procedure.clearKeyState();
                continue;
            }
            const bool key = f[0] == u"k";
            const HookProcedure::Edge edge = key ? procedure.key(f[1].toInt(), f[2].toUInt(nullptr, 16),
                                                                 f[3].toUInt(nullptr, 16), f[4].toUInt(nullptr, 16))
                                                 : HookProcedure::button(f[1].toUInt(nullptr, 16));
            if (edge.code != 0)
                reports << u"%1 %2 %3"_s.arg(key ? u"kb"_s : u"ms"_s).arg(edge.code, 2, 16, QChar(u'0')).arg(edge.down);
        }
        QCOMPARE(reports, expected);
    }
};

QTEST_GUILESS_MAIN(tst_HookProcedure)
#include "tst_hookprocedure.moc"
