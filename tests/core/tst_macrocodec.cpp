#include "macrocodec.h"

#include <QTest>

static QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

// "count" key edges of A, "gap" ms apart.
static QStringList keyEdges(int count, int gap)
{
    QStringList entries;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && gap > 0)
            entries.append(QString("0,%1").arg(gap));
        entries.append(i % 2 ? "2,A" : "1,A");
    }
    return entries;
}

// The macro bytes the mouse receives for editor entries, the editor's estimate and the 192-byte block.
class tst_MacroCodec : public QObject
{
    Q_OBJECT

private slots:
    void encoding_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<uint>("loops");
        QTest::addColumn<QString>("bytes");   // all of them, or the first ones and "…"
        QTest::addColumn<int>("estimate");
        QTest::newRow("worked example 1") << QStringList{"1,A", "0,50", "2,A", "0,30", "1,B", "2,B"} << 1u
                                          << "00 01 01 04 B2 04 1E 05 81 05 00 00" << 12;
        QTest::newRow("worked example 2") << QStringList{"1,A", "0,300", "2,A", "0,20", "3,MS-L", "4,MS-L"} << 2u
                                          << "00 02 01 04 FF 04 01 2C 14 F0 81 F0 00 00" << 12;
        QTest::newRow("nothing") << QStringList{} << 1u << "00 01" << 2;
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
        QTest::newRow("60 edges") << keyEdges(60, 0) << 1u << "00 01 01 04 81 04 01 04…" << 124;
        // The estimate lets it through; the block would lose its closing zeros.
        QTest::newRow("60 edges 200 ms apart") << keyEdges(60, 200) << 1u << "00 01 01 04 FF 04 00 C8…" << 124;
    }
    void encoding()
    {
        QFETCH(QStringList, entries); QFETCH(uint, loops); QFETCH(QString, bytes); QFETCH(int, estimate);
        const QList<MacroCodec::Event> events = MacroCodec::parseEntries(entries);
        const QByteArray encoded = MacroCodec::encode(events, loops);
        if (bytes.endsWith(u'…'))
            QCOMPARE(hex(encoded.left(bytes.size() / 3)) + u'…', bytes);
        else
            QCOMPARE(hex(encoded), bytes);
        QCOMPARE(MacroCodec::estimate(events), estimate);
        QVariantList list;
        for (char b : encoded)
            list.append(int(uchar(b)));
        const std::optional<MacroCodec::Payload> block = MacroCodec::payload(list);
        QCOMPARE(block.has_value(), encoded.size() <= MacroCodec::payloadSize);
        if (block) {
            QCOMPARE(QByteArray(reinterpret_cast<const char *>(block->data()), encoded.size()), encoded);
            QVERIFY(std::all_of(block->begin() + encoded.size(), block->end(), [](uchar b) { return b == 0; }));
        }
    }

    // Lists the block takes, counted with closing zeros the list may lack.
    void payloadLimits_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("zeroEnd");
        QTest::addColumn<bool>("fits");
        QTest::newRow("192 with zeros") << 192 << true << true;
        QTest::newRow("193 with zeros") << 193 << true << false;
        QTest::newRow("190 without zeros") << 190 << false << true;
        QTest::newRow("191 without zeros") << 191 << false << false;
    }
    void payloadLimits()
    {
        QFETCH(int, size); QFETCH(bool, zeroEnd); QFETCH(bool, fits);
        QVariantList list;
        for (int i = 0; i < size; ++i)
            list.append(zeroEnd && i >= size - 2 ? 0 : 0x101 + i);
        const auto block = MacroCodec::payload(list);
        QCOMPARE(block.has_value(), fits);
        if (block)
            QCOMPARE(int((*block)[5]), 0x06);   // low 8 bits
    }
};

QTEST_GUILESS_MAIN(tst_MacroCodec)
#include "tst_macrocodec.moc"
