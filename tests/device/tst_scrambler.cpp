#include "scrambler.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

QByteArray run(void (*transform)(unsigned char *), QByteArray block)
{
    transform(reinterpret_cast<unsigned char *>(block.data()));
    return block;
}

QByteArray code8(const QByteArray &six)
{
    return '\0' + six + '\0';
}

QByteArray scrambled(QByteArray block, const QByteArray &code)
{
    scrambleBlock(reinterpret_cast<unsigned char *>(block.data()),
                  reinterpret_cast<const unsigned char *>(code.constData()));
    return block;
}

QByteArray unscrambled(QByteArray block, const QByteArray &code)
{
    unscrambleBlock(reinterpret_cast<unsigned char *>(block.data()),
                    reinterpret_cast<const unsigned char *>(code.constData()));
    return block;
}

} // namespace

class tst_Scrambler : public QObject
{
    Q_OBJECT
private slots:
    void stepsWithoutKey_data();
    void stepsWithoutKey();
    void knownBlocks_data();
    void knownBlocks();
    void roundTripOverRandomBlocksAndCodes();
    void outerCodeBytesHaveNoEffect_data();
    void outerCodeBytesHaveNoEffect();
};

void tst_Scrambler::stepsWithoutKey_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QByteArray>("in");
    QTest::addColumn<QByteArray>("out");
    enum { Swap, Left, Right, Add };
    QTest::newRow("pair permutation") << int(Swap) << QByteArray::fromHex("0001020304050607")
                                      << QByteArray::fromHex("0504070601000302");
    QTest::newRow("rotation left carries bit 63 into bit 0")
            << int(Left) << QByteArray::fromHex("8000000000000001") << QByteArray::fromHex("000000000000000C");
    QTest::newRow("rotation right undoes it")
            << int(Right) << QByteArray::fromHex("000000000000000C") << QByteArray::fromHex("8000000000000001");
    QTest::newRow("rotation left across every byte")
            << int(Left) << QByteArray::fromHex("0123456789ABCDEF") << QByteArray::fromHex("091A2B3C4D5E6F78");
    QTest::newRow("table is TuVbrQis nibble-swapped")
            << int(Add) << QByteArray(8, '\0') << QByteArray::fromHex("4557652627159637");
}

void tst_Scrambler::stepsWithoutKey()
{
    QFETCH(int, step);
    QFETCH(QByteArray, in);
    QFETCH(QByteArray, out);
    void (*const steps[])(unsigned char *) = {ScrambleSteps::swapPairs, ScrambleSteps::rotateLeft3,
                                               ScrambleSteps::rotateRight3, ScrambleSteps::addTable};
    QCOMPARE(run(steps[step], in).toHex(' '), out.toHex(' '));
}

void tst_Scrambler::knownBlocks_data()
{
    // Computed with a separate implementation of the transform.
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("02H with the default code") << QByteArray("731946") << QByteArray::fromHex("02010000000000FC")
                                               << QByteArray::fromHex("4615DEAFE8C64637");
    QTest::newRow("83H query") << QByteArray("731946") << QByteArray::fromHex("830000000000007C")
                               << QByteArray::fromHex("4611DEAFF4CE4637");
    QTest::newRow("other code") << QByteArray("ABCDEF") << QByteArray::fromHex("0102030405060708")
                                << QByteArray::fromHex("7779B7485937A64F");
}

void tst_Scrambler::knownBlocks()
{
    QFETCH(QByteArray, code);
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, wire);
    QCOMPARE(scrambled(plain, code8(code)).toHex(' '), wire.toHex(' '));
    QCOMPARE(unscrambled(wire, code8(code)).toHex(' '), plain.toHex(' '));
}

void tst_Scrambler::roundTripOverRandomBlocksAndCodes()
{
    QRandomGenerator random(7);
    int changed = 0;
    for (int i = 0; i < 5000; ++i) {
        QByteArray block(8, '\0');
        QByteArray code(8, '\0');
        random.fillRange(reinterpret_cast<quint32 *>(block.data()), 2);
        random.fillRange(reinterpret_cast<quint32 *>(code.data()), 2);
        const QByteArray wire = scrambled(block, code);
        changed += wire != block;
        QCOMPARE(unscrambled(wire, code).toHex(), block.toHex());
    }
    QVERIFY(changed > 4900);
}

void tst_Scrambler::outerCodeBytesHaveNoEffect_data()
{
    QTest::addColumn<int>("byte");
    QTest::newRow("byte 0") << 0;
    QTest::newRow("byte 7") << 7;
}

void tst_Scrambler::outerCodeBytesHaveNoEffect()
{
    QFETCH(int, byte);
    const QByteArray block = QByteArray::fromHex("0701FF10203040AA");
    QByteArray code = code8("731946");
    const QByteArray reference = scrambled(block, code);
    for (int value : {0x01, 0x5A, 0xFF}) {
        code[byte] = char(value);
        QCOMPARE(scrambled(block, code), reference);
        QCOMPARE(unscrambled(reference, code), block);
    }
    // A byte inside the code does change the wire.
    code[3] = char(code[3] ^ 0x10);
    QVERIFY(scrambled(block, code) != reference);
}

QTEST_APPLESS_MAIN(tst_Scrambler)
#include "tst_scrambler.moc"
