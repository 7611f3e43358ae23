#include "colourtable.h"
#include "dpiencoding.h"
#include "ledoptions.h"

#include <QTest>

class tst_Encoders : public QObject
{
    Q_OBJECT

private slots:
    void dpiValue_data();
    void dpiValue();
    void dpiStages_data();
    void dpiStages();
    void ledOptions_data();
    void ledOptions();
    void colourTables_data();
    void colourTables();
};

void tst_Encoders::dpiValue_data()
{
    QTest::addColumn<uint>("did");
    QTest::addColumn<uint>("value");
    QTest::addColumn<int>("byte");
    QTest::addColumn<bool>("doubled");

    QTest::newRow("0: 200") << 0u << 200u << 4 << false;
    QTest::newRow("0: 7200 last single") << 0u << 7200u << 144 << false;
    QTest::newRow("0: 7300 doubled") << 0u << 7300u << 72 << true;
    QTest::newRow("0: 12000 top") << 0u << 12000u << 119 << true;
    QTest::newRow("1: 100") << 1u << 100u << 2 << false;
    QTest::newRow("1: 12700") << 1u << 12700u << 254 << false;
    QTest::newRow("1: 12800 doubled") << 1u << 12800u << 0 << true;
    QTest::newRow("1: 12900 doubled") << 1u << 12900u << 2 << true;
    QTest::newRow("1: 16000 top") << 1u << 16000u << 64 << true;
    QTest::newRow("2: 12700") << 2u << 12700u << 254 << false;
    QTest::newRow("2: 12800 doubled") << 2u << 12800u << 0 << true;
    QTest::newRow("2: 16000 top") << 2u << 16000u << 64 << true;
    QTest::newRow("3: 12700") << 3u << 12700u << 254 << false;
    // 12800 / 50 does not fit a byte; the doubled step holds it exactly.
    QTest::newRow("3: 12800 doubled") << 3u << 12800u << 127 << true;
    QTest::newRow("3: 12900 doubled") << 3u << 12900u << 128 << true;
    QTest::newRow("3: 18000 top") << 3u << 18000u << 179 << true;
    QTest::newRow("unknown variant as 1") << 7u << 12900u << 2 << true;
    QTest::newRow("unknown variant single") << 7u << 12700u << 254 << false;
}

void tst_Encoders::dpiValue()
{
    QFETCH(uint, did);
    QFETCH(uint, value);
    QFETCH(int, byte);
    QFETCH(bool, doubled);

    bool gotDoubled = !doubled;
    QCOMPARE(int(encodeDpiValue(did, value, &gotDoubled)), byte);
    QCOMPARE(gotDoubled, doubled);
}

void tst_Encoders::dpiStages_data()
{
    QTest::addColumn<uint>("did");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QVariantList>("flags");
    QTest::addColumn<QByteArray>("stages");
    QTest::addColumn<int>("mul2");
    QTest::addColumn<int>("segment");

    // Whole sets with all, some and no stages enabled go through the device tests.
    QTest::newRow("flags as texts from a file")
        << 1u << QVariantList{"12700", "12800", "16000", "400", "800", "1600", "3200", "6400"}
        << QVariantList{"1", "0", "1", "0", "0", "0", "0", "1"} << QByteArray::fromHex("FE00400810204080")
        << 0x06 << 0x85;
    QTest::newRow("short lists count as zero")
        << 1u << QVariantList{400, 800} << QVariantList{1} << QByteArray::fromHex("0810000000000000") << 0 << 0x01;
}

void tst_Encoders::dpiStages()
{
    QFETCH(uint, did);
    QFETCH(QVariantList, values);
    QFETCH(QVariantList, flags);
    QFETCH(QByteArray, stages);
    QFETCH(int, mul2);
    QFETCH(int, segment);

    const DpiStageBytes bytes = encodeDpiStages(did, values, flags);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(bytes.stage.data()), 8).toHex(), stages.toHex());
    QCOMPARE(int(bytes.mul2), mul2);
    QCOMPARE(int(bytes.dpiSegment), segment);
}

void tst_Encoders::ledOptions_data()
{
    QTest::addColumn<int>("effect");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("option1");
    QTest::addColumn<int>("option2");

    const int staticOption1[] = {0, 12, 25, 37, 50};
    const int colorStaticOption1[] = {0, 20, 30, 40, 50};
    const int speedOption2[] = {10, 8, 6, 4, 1};
    for (int s = 0; s <= 4; ++s) {
        QTest::addRow("static %d", s) << 0 << s << staticOption1[s] << 6;
        QTest::addRow("color static %d", s) << 13 << s << colorStaticOption1[s] << 6;
        QTest::addRow("breath %d", s) << 1 << s << 50 << speedOption2[s];
        QTest::addRow("police light %d", s) << 12 << s << 50 << speedOption2[s];
    }
    QTest::newRow("color static level 7") << 13 << 7 << 50 << 6;
    QTest::newRow("speed level 5 wraps") << 4 << 5 << 50 << 0xFF;
    QTest::newRow("speed level 7 wraps") << 4 << 7 << 50 << 0xFB;
    QTest::newRow("static level 7") << 0 << 7 << 87 << 6;
}

void tst_Encoders::ledOptions()
{
    QFETCH(int, effect);
    QFETCH(int, level);
    QFETCH(int, option1);
    QFETCH(int, option2);

    const LedOptions options = ::ledOptions(uchar(effect), uchar(level));
    QCOMPARE(int(options.option1), option1);
    QCOMPARE(int(options.option2), option2);
}

void tst_Encoders::colourTables_data()
{
    QTest::addColumn<int>("type");        // -1: the lighting palette
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QByteArray>("bytes");

    QVariantList palette;
    for (int i = 0; i < 30; ++i)
        palette.append(i * 9);
    QByteArray first24;
    for (int i = 0; i < 24; ++i)
        first24.append(char(i * 9));

    QTest::newRow("palette cut at 24") << -1 << palette << first24;
    QTest::newRow("low 8 bits") << -1 << QVariantList{256, -1, 511, "17", 2.0}
        << QByteArray::fromHex("00FFFF1102") + QByteArray(19, '\0');
    QTest::newRow("type 2 packs nibbles") << 2 << QVariantList{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}
        << QByteArray::fromHex("2143658705060708090A") + QByteArray(14, '\0');
    // Bytes 0..3 are packed even from missing values.
    QTest::newRow("type 2 low nibble, high value shifted") << 2 << QVariantList{0x1F, 0x0F}
        << QByteArray::fromHex("FF") + QByteArray(23, '\0');
}

void tst_Encoders::colourTables()
{
    QFETCH(int, type);
    QFETCH(QVariantList, values);
    QFETCH(QByteArray, bytes);

    const ColourTable table = type < 0 ? colourTableBytes(values) : stageColourBytes(uchar(type), values);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(table.data()), 24).toHex(), bytes.toHex());
}

QTEST_GUILESS_MAIN(tst_Encoders)
#include "tst_encoders.moc"
