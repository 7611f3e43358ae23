#include "inivalues.h"

#include <QFile>
#include <QSettings>
#include <QTest>

// The files the installation puts beside the program, read the way the
// program reads them.
class tst_InstallData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void defaultProfileHasEveryKey_data();
    void defaultProfileHasEveryKey();
    void defaultButtons();
    void applicationConfig();
    void nameListAndRecoilFile();

private:
    static QString source(const QString &relative)
    {
        return QStringLiteral(G7_SOURCE_DIR "/modules/") + relative;
    }
};

void tst_InstallData::initTestCase()
{
    for (const char *file : {"setting/apConfig.bin", "setting/pD.bin", "setting/name.bin", "gun/gunData.bin"})
        QVERIFY2(QFile::exists(source(QLatin1String(file))), file);
}


void tst_InstallData::defaultProfileHasEveryKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("count");   // 0: a single number
    QTest::addColumn<qint64>("low");
    QTest::addColumn<qint64>("high");
    QTest::addColumn<qint64>("step");

    for (int k = 0; k < 16; ++k)
        QTest::addRow("keydefine %d", k) << QString("keydefine_J2/%1").arg(k) << 4 << 0ll << 255ll << 1ll;
    QTest::newRow("X sensitivity") << "XYSensitive/0" << 0 << 0ll << 9ll << 1ll;
    QTest::newRow("Y sensitivity") << "XYSensitive/1" << 0 << 0ll << 9ll << 1ll;
    QTest::newRow("report rate") << "sensor/reportRate_J2" << 0 << 1ll << 8ll << 1ll;
    QTest::newRow("lift-off") << "sensor/jmgd" << 0 << 2ll << 3ll << 1ll;
    QTest::newRow("pointer speed") << "sensor/cursorSpeed_J2" << 0 << 0ll << 11ll << 1ll;
    QTest::newRow("scroll lines") << "sensor/verticalScrollLines_J2" << 0 << 1ll << 100ll << 1ll;
    QTest::newRow("double click") << "sensor/doubleClickSpeed_J2" << 0 << 0ll << 11ll << 1ll;
    QTest::newRow("dpi flags") << "sensor/dpi_Select" << 8 << 0ll << 1ll << 1ll;
    // Every stage must be reachable on every variant (the smallest top is 12000).
    QTest::newRow("dpi") << "sensor/dpi_J2" << 8 << 100ll << 12000ll << 100ll;
    QTest::newRow("dpi 3336") << "sensor/dpi_J2_3336" << 8 << 100ll << 12000ll << 100ll;
    QTest::newRow("dpi 3337") << "sensor/dpi_J2_3337" << 8 << 100ll << 12000ll << 100ll;
    QTest::newRow("effect") << "color_J2/ledEffect" << 6 << 0ll << 255ll << 1ll;
    QTest::newRow("palette") << "color_J2/type0" << 24 << 0ll << 255ll << 1ll;
    QTest::newRow("stage colours") << "color_J2/type1" << 24 << 0ll << 255ll << 1ll;
}

void tst_InstallData::defaultProfileHasEveryKey()
{
    QFETCH(QString, key);
    QFETCH(int, count);
    QFETCH(qint64, low);
    QFETCH(qint64, high);
    QFETCH(qint64, step);

    QSettings pD(source("setting/pD.bin"), QSettings::IniFormat);
    QCOMPARE(pD.status(), QSettings::NoError);
    const QVariant stored = pD.value(key);
    QVERIFY2(stored.isValid(), qPrintable(key));
    const QVariantList values = count ? IniValues::toList(stored) : QVariantList{stored};
    QCOMPARE(values.size(), count ? count : 1);
    for (const QVariant &v : values) {
        bool ok = false;
        const qint64 n = v.toString().toLongLong(&ok);
        QVERIFY2(ok && n >= low && n <= high && n % step == 0, qPrintable(key + "=" + v.toString()));
    }
}

void tst_InstallData::defaultButtons()
{
    QSettings pD(source("setting/pD.bin"), QSettings::IniFormat);
    auto entry = [&](int k) {
        QList<int> bytes;
        for (const QVariant &v : IniValues::toList(pD.value(QString("keydefine_J2/%1").arg(k))))
            bytes.append(v.toInt());
        return bytes;
    };
    QCOMPARE(entry(0), (QList<int>{0x02, 0, 0xF0, 0}));   // left
    QCOMPARE(entry(1), (QList<int>{0x02, 0, 0xF1, 0}));   // right
    QCOMPARE(entry(2), (QList<int>{0x02, 0, 0xF2, 0}));   // middle
    QCOMPARE(entry(3), (QList<int>{0x02, 0, 0xF4, 0}));   // forward
    QCOMPARE(entry(4), (QList<int>{0x02, 0, 0xF3, 0}));   // back
    QCOMPARE(entry(5), (QList<int>{0x08, 3, 0, 0}));      // DPI cycle
    QCOMPARE(pD.value("color_J2/ledEffect").toStringList(), (QStringList{"0", "0", "4", "255", "0", "0"}));
    for (int k = 0; k < 16; ++k)
        QCOMPARE(pD.value(QString("macro/%1").arg(k), 0).toInt(), 0);
    QVERIFY(pD.contains("selectGun/0"));
    QCOMPARE(pD.value("selectGun/0").toString(), QString());
}

void tst_InstallData::applicationConfig()
{
    QSettings ap(source("setting/apConfig.bin"), QSettings::IniFormat);
    QCOMPARE(ap.status(), QSettings::NoError);
    QCOMPARE(ap.value("common/language").toString(), QString("English"));
    QCOMPARE(ap.value("common/name1").toString(), QString("ORVANE GLIDE MOUSE G7"));
    QCOMPARE(ap.value("common/name0").toString(), QString::fromUtf8("ORVANE GLIDE 游戏鼠标 G7"));
    QCOMPARE(ap.value("J2/profileNo", -1).toInt(), 0);

    QSettings catalogue(QStringLiteral(G7_SOURCE_DIR "/modules/qml/DevInfo.ini"), QSettings::IniFormat);
    const int models = catalogue.value("common/total").toInt();
    QCOMPARE(models, 4);
    const QStringList names = ap.value("common/product_name").toStringList();
    QCOMPARE(names.size(), models);
    for (int n = 0; n < models; ++n) {
        QVERIFY(names.at(n).startsWith("ORVANE GLIDE MOUSE G7"));
        QCOMPARE(ap.value(QString("common/sCode%1").arg(n)).toString(), QString("731946"));
    }
}

void tst_InstallData::nameListAndRecoilFile()
{
    QSettings names(source("setting/name.bin"), QSettings::IniFormat);
    QCOMPARE(names.value("profile/profileName").toStringList(), (QStringList{"Standard0", "loaderzenith"}));
    QVERIFY(!names.contains("macro/macroName"));
    QVERIFY(!names.contains("gun/gunName"));

    QSettings guns(source("gun/gunData.bin"), QSettings::IniFormat);
    QCOMPARE(guns.status(), QSettings::NoError);
    guns.beginGroup("gunData");
    QCOMPARE(guns.childKeys(), QStringList());
}

QTEST_GUILESS_MAIN(tst_InstallData)
#include "tst_installdata.moc"
