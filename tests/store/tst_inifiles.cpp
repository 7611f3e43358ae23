#include "inivalues.h"
#include "profilestore.h"
#include "tempdatafolder.h"
#include "support_rawini.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTest>

// The INI forms of the program's files: files written by hand (or by older
// builds, which escaped every character from U+007F up as \x....) must read as
// intended, and what the store writes must look the same to other readers.
class tst_IniFiles : public QObject
{
    Q_OBJECT

private slots:
    void readsHandWrittenValues_data();
    void readsHandWrittenValues();
    void readsHandWrittenLists_data();
    void readsHandWrittenLists();
    void writesTheFileForms_data();
    void writesTheFileForms();
};

static const QByteArray handWritten =
    "[sensor]\n"
    "reportRate_J2=4\n"
    "dpi_J2=400, 800, 1600, 3200, 6400, 1200, 2400, 4800\n"
    "dpi_Select=1\n"
    "jmgd=abc\n"
    "[keydefine_J2]\n"
    "0=2, 0, 240, 0\n"
    "[macro]\n"
    "0=\\x4e2d\\x6587\n"
    "1=\xe4\xb8\xad\xe6\x96\x87\n"
    "2=\"1,A\"\n"
    "3=\" lead\"\n"
    "4=a\\\\b\\\"c\n"
    "5=Caf\\xe9 \\x4e2d\n"
    "[selectGun]\n"
    "0=\n";

void tst_IniFiles::readsHandWrittenValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");

    QTest::newRow("number") << "sensor/reportRate_J2" << "4" << 4;
    QTest::newRow("non-number reads 0") << "sensor/jmgd" << "abc" << 0;
    QTest::newRow("old \\x escapes") << "macro/0" << QString::fromUtf8("中文") << 0;
    QTest::newRow("raw UTF-8") << "macro/1" << QString::fromUtf8("中文") << 0;
    QTest::newRow("quoted comma") << "macro/2" << "1,A" << 0;
    QTest::newRow("quoted leading blank") << "macro/3" << " lead" << 0;
    QTest::newRow("backslash escapes") << "macro/4" << "a\\b\"c" << 0;
    QTest::newRow("escape before blank") << "macro/5" << QString::fromUtf8("Café 中") << 0;
    QTest::newRow("empty text") << "selectGun/0" << "" << 0;
}

void tst_IniFiles::readsHandWrittenValues()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(int, number);

    TempDataFolder dir;
    QVERIFY(dir.writeFile("modules/setting/p1.bin", handWritten));
    ProfileStore store;
    const QVariant value = store.value(key);
    QCOMPARE(value.toString(), text);
    QCOMPARE(value.toInt(), number);
}

void tst_IniFiles::readsHandWrittenLists_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("elements");

    QTest::newRow("eight values") << "sensor/dpi_J2"
        << QStringList{"400", "800", "1600", "3200", "6400", "1200", "2400", "4800"};
    QTest::newRow("key entry") << "keydefine_J2/0" << QStringList{"2", "0", "240", "0"};
    QTest::newRow("one element is no list") << "sensor/dpi_Select" << QStringList{};
    QTest::newRow("plain number is no list") << "sensor/reportRate_J2" << QStringList{};
    QTest::newRow("text is no list") << "macro/1" << QStringList{};
    QTest::newRow("absent") << "color_J2/ledEffect" << QStringList{};
}

void tst_IniFiles::readsHandWrittenLists()
{
    QFETCH(QString, key);
    QFETCH(QStringList, elements);

    TempDataFolder dir;
    QVERIFY(dir.writeFile("modules/setting/p1.bin", handWritten));
    ProfileStore store;
    QStringList got;
    for (const QVariant &v : store.list(key))
        got.append(v.toString());
    QCOMPARE(got, elements);
}

void tst_IniFiles::writesTheFileForms_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("line");      // value text as it stands in the file
    QTest::addColumn<QVariant>("readBack"); // through a fresh QSettings

    QTest::newRow("list") << QVariant(QVariantList{1, 0, 240, 0}) << "1, 0, 240, 0"
                          << QVariant(QStringList{"1", "0", "240", "0"});
    QTest::newRow("one-element list is bare") << QVariant(QVariantList{7}) << "7" << QVariant("7");
    QTest::newRow("empty list") << QVariant(QVariantList{}) << "@Invalid()" << QVariant();
    QTest::newRow("byte") << QVariant::fromValue<uchar>(200) << "200" << QVariant("200");
    QTest::newRow("unsigned") << QVariant(4000000000u) << "4000000000" << QVariant("4000000000");
    QTest::newRow("whole double from a page") << QVariant(255.0) << "255" << QVariant("255");
    QTest::newRow("list of doubles and bytes")
        << QVariant(QVariantList{255.0, QVariant::fromValue<uchar>(3)}) << "255, 3"
        << QVariant(QStringList{"255", "3"});
    QTest::newRow("comma is quoted") << QVariant("1,A") << "\"1,A\"" << QVariant("1,A");
    QTest::newRow("chinese") << QVariant(QString::fromUtf8("中文")) << QString::fromUtf8("中文")
                             << QVariant(QString::fromUtf8("中文"));
}

void tst_IniFiles::writesTheFileForms()
{
    QFETCH(QVariant, value);
    QFETCH(QString, line);
    QFETCH(QVariant, readBack);

    TempDataFolder dir;
    {
        ProfileStore store;
        store.setValue(QStringLiteral("macro/0"), value);
        QCoreApplication::processEvents();   // long-lived objects flush here
        QCOMPARE(readRawIni(dir.filePath("modules/setting/p1.bin")).value("macro/0"), line);
    }
    // Within one process QSettings may answer from its cache of the file, so
    // compare the forms a page sees, not the variant types.
    QSettings other(dir.filePath("modules/setting/p1.bin"), QSettings::IniFormat);
    const QVariant got = other.value("macro/0");
    const QVariantList gotList = IniValues::toList(got);
    const QVariantList wantList = IniValues::toList(readBack);
    QCOMPARE(gotList.size(), wantList.size());
    for (int i = 0; i < wantList.size(); ++i)
        QCOMPARE(gotList.at(i).toString(), wantList.at(i).toString());
    QCOMPARE(got.toString(), readBack.toString());
}

QTEST_GUILESS_MAIN(tst_IniFiles)
#include "tst_inifiles.moc"
