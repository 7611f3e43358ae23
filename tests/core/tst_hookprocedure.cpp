#include "hookprocedure.h"

#include <QTest>

// The hook procedure fed raw hook messages: which USB usages and button codes come out.
class tst_HookProcedure : public QObject
{
    Q_OBJECT

private slots:
    void messages_data()
    {
        // "<events> = <results>". Events "k <hook code> <message> <scan> <flags>", "m <message>" (hexadecimal but the
        // hook code), "c" (forget the held keys) or "l" (the non-US layout); results "kb <usage> <down>" or
        // "ms <code> <down>".
        QTest::addColumn<QString>("row");
        QTest::newRow("held Enter: one edge each")
                << "k 0 100 1c 0;k 0 100 1c 0;k 0 104 1c 0;k 0 101 1c 0;k 0 105 1c 0 = kb 28 1;kb 28 0";
        QTest::newRow("other hook code is up") << "k 0 100 1e 0;k 1 100 1e 0 = kb 04 1;kb 04 0";
        QTest::newRow("held key forgotten") << "k 0 100 1e 0;c;k 0 100 1e 0 = kb 04 1;kb 04 1";
        QTest::newRow("Alt+Print Screen") << "k 0 104 54 20;k 0 100 54 0 = kb 46 1";
        QTest::newRow("Ctrl+Break, Scroll") << "k 0 100 46 1;k 0 100 46 0 = kb 48 1;kb 47 1";
        QTest::newRow("Pause, Num Lock") << "k 0 100 45 0;k 0 100 45 1 = kb 48 1;kb 53 1";
        QTest::newRow("Windows keys, shifts")
                << "k 0 100 5c 1;k 0 100 5b 1;k 0 100 36 0;k 0 100 36 1 = kb e3 1;kb e5 1";
        QTest::newRow("scan above 255, unmapped scans")
                << "k 0 100 11e 0;k 0 100 56 0;k 0 100 0 0;k 0 100 ff 1 = kb 64 1";
        QTest::newRow("layout key US") << "k 0 100 2b 0 = kb 31 1";
        QTest::newRow("layout key non-US") << "l;k 0 100 2b 0 = kb 32 1";
        QTest::newRow("buttons") << "m 201;m 202;m 203;m 204;m 206;m 208 = ms f0 1;ms f0 0;ms f1 1;ms f2 0";
        QTest::newRow("move, wheel, extra, far off") << "m 200;m 20a;m 20b;m 209;m 0;m ffffffff = ";
    }
    void messages()
    {
        QFETCH(QString, row);
        HookProcedure procedure;
        QStringList reports;
        for (const QString &event : row.section(" = ", 0, 0).split(';')) {
            const QStringList f = event.split(' ');
            if (f[0] == "c" || f[0] == "l") {
                f[0] == "c" ? procedure.clearKeyState() : procedure.setLayout(true);
                continue;
            }
            const bool key = f[0] == "k";
            const HookProcedure::Edge edge = key ? procedure.key(f[1].toInt(), f[2].toUInt(nullptr, 16),
                                                                 f[3].toUInt(nullptr, 16), f[4].toUInt(nullptr, 16))
                                                 : HookProcedure::button(f[1].toUInt(nullptr, 16));
            if (edge.code != 0)
                reports << QString("%1 %2 %3").arg(key ? "kb" : "ms").arg(edge.code, 2, 16, QChar('0')).arg(edge.down);
        }
        QCOMPARE(row.section(" = ", 0, 0) + " = " + reports.join(';'), row);
    }
};

QTEST_GUILESS_MAIN(tst_HookProcedure)
#include "tst_hookprocedure.moc"
