#include "colourtable.h"
#include "dpiencoding.h"
#include "ledoptions.h"
#include "macrocodec.h"
#include "scrambler.h"

#include <QRandomGenerator>
#include <QTest>

// 60 key edges of A, "gap" (" 0,<ms>" or nothing) between each two.
static QStringList keyEdges(const QString &gap)
{
    return QString(" 1,A" + gap + " 2,A" + gap).repeated(30).chopped(gap.size()).split(' ', Qt::SkipEmptyParts);
}

// What the commands carry for the page's numbers and macros, and a block's shuffle under a secrecy code.
class tst_Encoders : public QObject
{
    Q_OBJECT

private slots:
    // Worked examples: "dpi <did> <value> = <byte>[ d for the doubled step]", "led <effect> <level> = <option1>
    // <option2>", "stage<type> <values> = <the 24 bytes without trailing zeros>".
    void encoders_data()
    {
        QTest::addColumn<QString>("row");
        for (const char *row : {"dpi 1 12700 = 254", "dpi 1 12800 = 0 d", "dpi 1 12900 = 2 d", "dpi 2 12800 = 0 d",
                 "dpi 3 12700 = 254", "dpi 7 12900 = 2 d", "led 0 3 = 37 6", "led 13 0 = 0 6", "led 13 1 = 20 6",
                 "led 13 2 = 30 6", "led 13 3 = 40 6", "led 13 4 = 50 6", "led 1 1 = 50 8", "led 1 4 = 50 1",
                 "stage1 31 15 = 1f 0f", "stage2 1 2 3 4 5 6 7 8 9 10 = 21 43 65 87 05 06 07 08 09 0a",
                 "stage2 31 15 = ff"})   // bytes 0..3 of type 2 are packed even from missing values
            QTest::newRow(row) << QString(row);
    }
    void encoders()
    {
        QFETCH(QString, row);
        const QStringList in = row.section(" = ", 0, 0).split(' ');
        QString out;
        if (in[0] == "dpi") {
            bool doubled = !row.endsWith(" d");
            out = QString::number(encodeDpiValue(in[1].toUInt(), in[2].toUInt(), &doubled));
            out += doubled ? " d" : "";
        } else if (in[0] == "led") {
            const LedOptions options = ledOptions(uchar(in[1].toInt()), uchar(in[2].toInt()));
            out = QString("%1 %2").arg(options.option1).arg(options.option2);
        } else {
            const QVariantList values = QVariant(in.mid(1)).toList();   // texts, as read from a file
            const ColourTable table = stageColourBytes(uchar(in[0].back().digitValue()), values);
            out = QByteArray(reinterpret_cast<const char *>(table.data()), 24).toHex(' ');
            while (out.endsWith(" 00"))
                out.chop(3);
        }
        QCOMPARE(in.join(' ') + " = " + out, row);
    }

    // Unscrambling undoes scrambling, whatever the block and code (the scrambled bytes: device/hid).
    void scrambleRoundTrip()
    {
        QRandomGenerator random(7);
        for (int i = 0; i < 5000; ++i) {
            const quint64 block = random.generate64(), code = random.generate64();
            quint64 wire = block;
            scrambleBlock(reinterpret_cast<uchar *>(&wire), reinterpret_cast<const uchar *>(&code));
            unscrambleBlock(reinterpret_cast<uchar *>(&wire), reinterpret_cast<const uchar *>(&code));
            QCOMPARE(wire, block);
        }
    }

    void macroEncoding_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<uint>("loops");
        QTest::addColumn<QString>("bytes");   // all of them, or the first ones and "…"
        QTest::addColumn<int>("estimate");
        QTest::newRow("worked example 2") << QStringList{"1,A", "0,300", "2,A", "0,20", "3,MS-L", "4,MS-L"} << 2u
                                          << "00 02 01 04 FF 04 01 2C 14 F0 81 F0 00 00" << 12;
        QTest::newRow("only delays") << QStringList{"0,10", "0,20"} << 300u << "01 2C" << 2;
        QTest::newRow("first edge is the last entry") << QStringList{"0,10", "1,A"} << 1u << "00 01" << 2;
        QTest::newRow("one edge, delay after it") << QStringList{"1,A", "0,10"} << 1u << "00 01 01 04 00 00" << 6;
        QTest::newRow("leading, zero and trailing delays")
                << QStringList{"0,500", "1,A", "0,0", "2,A", "0,126", "1,B", "0,900", "2,B", "0,5000"} << 65535u
                << "FF FF 01 04 81 04 7E 05 81 05 00 00" << 12;
        QTest::newRow("delays add up; 127 is long")
                << QStringList{"1,A", "0,100", "0,27", "2,A", "1,B"} << 1u << "00 01 01 04 FF 04 00 7F 01 05 00 00"
                << 10;
        QTest::newRow("over 65535 ms keeps the low 16 bits")
                << QStringList{"1,A", "0,100000", "0,100000", "2,A", "1,B"} << 1u
                << "00 01 01 04 FF 04 0D 40 01 05 00 00" << 12;
        QTest::newRow("unknown names give 0, bad delays count 0")
                << QStringList{"1,Nope", "0,x", "0,20", "0,-5", "4,MS-B5", "9,junk", "", "2,A"} << 1u
                << "00 01 01 00 94 F4 81 04 00 00" << 10;
        // "\ |" names two codes; the first wins. Names are case-sensitive.
        QTest::newRow("key names") << QStringList{"1,\\ |", "1,KP Enter", "1,R Win", "1,\u25BA", "2,a", "3,MS-B4"} << 0u
                                   << "00 00 01 31 01 58 01 E7 01 4F 81 00 01 F3 00 00" << 16;
        QTest::newRow("60 edges") << keyEdges("") << 1u << "00 01 01 04 81 04 01 04…" << 124;
        // The estimate lets it through; the block would lose its closing zeros.
        QTest::newRow("60 edges 200 ms apart") << keyEdges(" 0,200") << 1u << "00 01 01 04 FF 04 00 C8…" << 124;
    }
    void macroEncoding()
    {
        QFETCH(QStringList, entries); QFETCH(uint, loops); QFETCH(QString, bytes); QFETCH(int, estimate);
        const QList<MacroCodec::Event> events = MacroCodec::parseEntries(entries);
        const QByteArray encoded = MacroCodec::encode(events, loops);
        const QString hex = QString::fromLatin1(encoded.toHex(' ').toUpper());
        QCOMPARE(bytes.endsWith(u'…') ? hex.left(bytes.size() - 1) + u'…' : hex, bytes);
        QCOMPARE(MacroCodec::estimate(events), estimate);
    }

    // An encoded list the block takes, its closing zeros counted: 192 bytes, not 193.
    void payloadLimits()
    {
        QVERIFY(MacroCodec::payload(QVariantList(190, 1) << 0 << 0).has_value());
        QVERIFY(!MacroCodec::payload(QVariantList(191, 1) << 0 << 0).has_value());
    }
};

QTEST_GUILESS_MAIN(tst_Encoders)
#include "tst_encoders.moc"
