#include "scrambler.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QTest>

static QByteArray run(void (*transform)(uchar *, const uchar *), QByteArray block,
                      const QByteArray &code = QByteArray(8, 0))
{
    transform(reinterpret_cast<uchar *>(block.data()), reinterpret_cast<const uchar *>(code.constData()));
    return block;
}

// The shuffle of a command block under a secrecy code, as the mouse undoes it.
class tst_Scrambler : public QObject
{
    Q_OBJECT

private slots:
    void knownBlocks()
    {
        const auto hex = [](const char *bytes) { return QByteArray::fromHex(bytes); };
        const QByteArray steps = run([](uchar *b, const uchar *) { ScrambleSteps::swapPairs(b); }, hex("0001020304050607"))
                + run([](uchar *b, const uchar *) { ScrambleSteps::rotateLeft3(b); }, hex("8000000000000001"));
        QCOMPARE(steps.toHex(' '), QByteArray("05 04 07 06 01 00 03 02 00 00 00 00 00 00 00 0c"));
        // Computed with a separate implementation of the transform.
        const QByteArray code = QByteArray("\0" "731946" "\0", 8), other = QByteArray("\0ABCDEF\0", 8);
        QCOMPARE(run(scrambleBlock, hex("02010000000000FC"), code).toHex(), QByteArray("4615deafe8c64637"));
        QCOMPARE(run(scrambleBlock, hex("0102030405060708"), other).toHex(), QByteArray("7779b7485937a64f"));
        QCOMPARE(run(unscrambleBlock, hex("4615DEAFE8C64637"), code).toHex(), QByteArray("02010000000000fc"));
    }

    // Bytes 0 and 7 of the code never matter, the others always do.
    void roundTrip()
    {
        QRandomGenerator random(7);
        for (int i = 0; i < 5000; ++i) {
            QByteArray block(8, '\0'), code(8, '\0');
            random.fillRange(reinterpret_cast<quint32 *>(block.data()), 2);
            random.fillRange(reinterpret_cast<quint32 *>(code.data()), 2);
            const QByteArray wire = run(scrambleBlock, block, code);
            QCOMPARE(run(unscrambleBlock, wire, code).toHex(), block.toHex());
            QByteArray outer = code, inner = code;
            outer[i % 2 * 7] = char(code.at(i % 2 * 7) ^ (1 + i % 255));
            inner[1 + i % 6] = char(code.at(1 + i % 6) ^ (1 << i % 8));
            QCOMPARE(run(scrambleBlock, block, outer), wire);
            QVERIFY(run(scrambleBlock, block, inner) != wire);
        }
    }
};

QTEST_GUILESS_MAIN(tst_Scrambler)
#include "tst_scrambler.moc"
