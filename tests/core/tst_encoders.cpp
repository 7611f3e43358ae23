#include "colourtable.h"
#include "dpiencoding.h"
#include "keymatrix.h"
#include "ledoptions.h"
#include "wholenumber.h"

#include <QTest>

#include <limits>

// What the commands carry for the page's numbers: DPI stage bytes, lighting options, colour tables,
// and which values count as numbers at all.
class tst_Encoders : public QObject
{
    Q_OBJECT

private slots:
    // Worked examples: "dpi <did> <value> = <byte>[ d for the doubled step]", "led <effect> <level> = <option1>
    // <option2>", "palette|stage<type> <values> = <the 24 bytes without trailing zeros>".
    void encoders_data()
    {
        QTest::addColumn<QString>("row");
        for (const char *row : {"dpi 0 200 = 4", "dpi 0 7200 = 144", "dpi 0 7300 = 72 d", "dpi 0 12000 = 119 d",
                 "dpi 1 100 = 2", "dpi 1 12700 = 254", "dpi 1 12800 = 0 d", "dpi 1 12900 = 2 d", "dpi 1 16000 = 64 d",
                 "dpi 2 12700 = 254", "dpi 2 12800 = 0 d", "dpi 2 16000 = 64 d", "dpi 3 12700 = 254",
                 "dpi 3 12800 = 127 d", "dpi 3 12900 = 128 d", "dpi 3 18000 = 179 d", "dpi 7 12900 = 2 d",
                 "dpi 7 12700 = 254", "led 0 0 = 0 6", "led 0 1 = 12 6", "led 0 2 = 25 6", "led 0 3 = 37 6",
                 "led 0 4 = 50 6", "led 0 7 = 87 6", "led 13 0 = 0 6", "led 13 1 = 20 6", "led 13 2 = 30 6",
                 "led 13 3 = 40 6", "led 13 4 = 50 6", "led 13 7 = 50 6", "led 1 0 = 50 10", "led 1 1 = 50 8",
                 "led 1 2 = 50 6", "led 1 3 = 50 4", "led 1 4 = 50 1", "led 12 0 = 50 10", "led 12 4 = 50 1",
                 "led 4 5 = 50 255", "led 4 7 = 50 251", "palette 256 -1 511 17 2 = 00 ff ff 11 02",
                 "palette 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 = 01 02 03 04 05 06 07 08 "
                 "09 0a 0b 0c 0d 0e 0f 10 11 12 13 14 15 16 17 18", "stage1 31 15 = 1f 0f",
                 "stage2 1 2 3 4 5 6 7 8 9 10 = 21 43 65 87 05 06 07 08 09 0a",
                 "stage2 31 15 = ff",   // bytes 0..3 of type 2 are packed even from missing values
                 "stage2 -1 -2 3 -4 = ef c3", "stage2 0 2147483647 = f0"})
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
            const ColourTable table = in[0] == "palette" ? colourTableBytes(values)
                                                         : stageColourBytes(uchar(in[0].back().digitValue()), values);
            out = QByteArray(reinterpret_cast<const char *>(table.data()), 24).toHex(' ');
            while (out.endsWith(" 00"))
                out.chop(3);
        }
        QCOMPARE(in.join(' ') + " = " + out, row);
    }

    // A page that read no numbers sends nothing: the first key entry that is not four whole numbers 0..255.
    void keyEntries_data()
    {
        QTest::addColumn<QVariant>("value");   // put in entry 2, the other values are 0
        QTest::addColumn<bool>("whole");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("255, text, whole double") << QVariant(QVariantList{255, "7", 4.0, qulonglong(9)}) << true;
        QTest::newRow("NaN") << QVariant(nan) << false;
        QTest::newRow("infinity") << QVariant(std::numeric_limits<double>::infinity()) << false;
        QTest::newRow("256") << QVariant(256) << false;
        QTest::newRow("-1") << QVariant(-1) << false;
        QTest::newRow("fraction") << QVariant(240.5) << false;
        QTest::newRow("text with a letter") << QVariant("1A") << false;
        QTest::newRow("empty text") << QVariant("") << false;
        QTest::newRow("true") << QVariant(true) << false;
        QTest::newRow("invalid") << QVariant() << false;
    }
    void keyEntries()
    {
        QFETCH(QVariant, value); QFETCH(bool, whole);
        QVariantList src(64, 0);
        const QVariantList four = value.typeId() == QMetaType::QVariantList ? value.toList() : QVariantList{value};
        for (int i = 0; i < four.size(); ++i)
            src[8 + i] = four.at(i);
        QCOMPARE(KeyMatrix::invalidEntry(src), whole ? -1 : 2);
        QCOMPARE(KeyMatrix::invalidEntry(src.mid(0, 63)), whole ? 15 : 2);   // a short list lacks part of entry 15
    }
};

QTEST_GUILESS_MAIN(tst_Encoders)
#include "tst_encoders.moc"
