#include "inivalues.h"
#include "profilestore.h"
#include "tempdatafolder.h"

#include <QPointer>
#include <QSettings>
#include <QTest>

static QString installed(const char *relative) { return QStringLiteral(G7_SOURCE_DIR "/modules/") + relative; }

class tst_ProfileStore : public QObject
{
    Q_OBJECT

private slots:
    // A row with a written value checks the line the store writes, one without reads a hand-written line
    // (older builds escaped U+007F and up as \x....). reads: list() when longer than one, else value().
    void valueForms_data()
    {
        QTest::addColumn<QVariant>("written");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("reads");

        const QString zh = QString::fromUtf8("中文");
        QTest::newRow("read \\x escapes") << QVariant() << QByteArray("\\x4e2d\\x6587") << QStringList{zh};
        QTest::newRow("read raw UTF-8") << QVariant() << zh.toUtf8() << QStringList{zh};
        QTest::newRow("read escape, blank") << QVariant() << QByteArray("Caf\\xe9 \\x4e2d") << QStringList{"Café 中"};
        QTest::newRow("read quoted comma") << QVariant() << QByteArray("\"1,A\"") << QStringList{"1,A"};
        QTest::newRow("read quoted blank") << QVariant() << QByteArray("\" lead\"") << QStringList{" lead"};
        QTest::newRow("read backslashes") << QVariant() << QByteArray("a\\\\b\\\"c") << QStringList{"a\\b\"c"};
        QTest::newRow("read one element is no list") << QVariant() << QByteArray("1") << QStringList{"1"};
        QTest::newRow("read list") << QVariant() << QByteArray("2, 0, 240") << QStringList{"2", "0", "240"};
        QTest::newRow("list") << QVariant(QVariantList{1, 0, 240, 0}) << QByteArray("1, 0, 240, 0")
                              << QStringList{"1", "0", "240", "0"};
        QTest::newRow("one-element list is bare") << QVariant(QVariantList{7}) << QByteArray("7") << QStringList{"7"};
        QTest::newRow("empty list") << QVariant(QVariantList{}) << QByteArray("@Invalid()") << QStringList{};
        QTest::newRow("byte") << QVariant::fromValue<uchar>(200) << QByteArray("200") << QStringList{"200"};
        QTest::newRow("unsigned") << QVariant(4000000000u) << QByteArray("4000000000") << QStringList{"4000000000"};
        QTest::newRow("whole double") << QVariant(255.0) << QByteArray("255") << QStringList{"255"};
        QTest::newRow("doubles and bytes") << QVariant(QVariantList{255.0, QVariant::fromValue<uchar>(3)})
                                           << QByteArray("255, 3") << QStringList{"255", "3"};
        QTest::newRow("comma is quoted") << QVariant("1,A") << QByteArray("\"1,A\"") << QStringList{"1,A"};
        QTest::newRow("chinese stays UTF-8") << QVariant(zh) << zh.toUtf8() << QStringList{zh};
    }
    void valueForms()
    {
        QFETCH(QVariant, written);
        QFETCH(QByteArray, line);
        QFETCH(QStringList, reads);

        TempDataFolder dir;
        const QByteArray file = "[macro]\n0=" + line + "\n";
        if (written.isValid()) {
            ProfileStore writer;
            writer.setValue("macro/0", written);
            QCoreApplication::processEvents();
            QCOMPARE(dir.readFile("modules/setting/p1.bin"), file);
        } else {
            QVERIFY(dir.writeFile("modules/setting/p1.bin", file));
        }
        ProfileStore store;
        QStringList list;
        for (const QVariant &v : store.list("macro/0"))
            list.append(v.toString());
        QCOMPARE(list, reads.size() > 1 ? reads : QStringList());
        if (reads.size() <= 1)
            QCOMPARE(store.value("macro/0").toString(), reads.value(0));
    }

    void replacingProfiles()
    {
        TempDataFolder dir;
        QVERIFY(dir.writeFile("modules/setting/pD.bin", "[sensor]\nreportRate_J2=8\n"));
        QVERIFY(dir.writeFile("modules/setting/p3.bin", "[profile]\nwho=three\n"));
        ProfileStore store;
        QList<QSettings *> before;
        for (int n = 0; n < ProfileStore::profileCount; ++n)
            before.append(store.profileSettings(n));

        QPointer<QSettings> old = store.profileSettings(3);
        old->setValue("sensor/jmgd", 3);   // pending in the old object: must not reach the new file
        QVERIFY(store.resetProfile(3));
        QCOMPARE(dir.readFile("modules/setting/p4.bin"), QByteArray("[sensor]\nreportRate_J2=8\n"));
        QVERIFY(old);   // deleted when the event loop runs
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!old);

        store.profileSettings(2)->setValue("sensor/jmgd", 2);   // an unsynced change of the source goes along
        QVERIFY(store.copyProfile(0, 2));
        QVERIFY(store.copyProfile(2, 2));
        QCOMPARE(dir.readFile("modules/setting/p1.bin"), QByteArray("[profile]\nwho=three\n\n[sensor]\njmgd=2\n"));
        QCOMPARE(dir.readFile("modules/setting/p3.bin"), dir.readFile("modules/setting/p1.bin"));
        QCOMPARE(store.value("profile/who").toString(), QString("three"));
        for (int n = 0; n < ProfileStore::profileCount; ++n) {
            QCOMPARE(QFileInfo(store.profileSettings(n)->fileName()).fileName(), QString("p%1.bin").arg(n + 1));
            QCOMPARE(store.profileSettings(n) == before.at(n), n != 0 && n != 3);
        }

        QVERIFY(QFile::remove(dir.filePath("modules/setting/pD.bin")));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Profile copy failed: .*pD\\.bin -> .*p2\\.bin$"));
        QVERIFY(!store.resetProfile(1));
        QVERIFY(!QFile::exists(dir.filePath("modules/setting/p2.bin")));
        QVERIFY(store.profileSettings(1));
    }

    // Every key the pages read, with a value they accept.
    void installedDefaultProfile_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("count");   // 0: a single number
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::addColumn<int>("step");

        for (int k = 0; k < 16; ++k)
            QTest::addRow("keydefine %d", k) << QString("keydefine_J2/%1").arg(k) << 4 << 0 << 255 << 1;
        QTest::newRow("X sensitivity") << "XYSensitive/0" << 0 << 0 << 9 << 1;
        QTest::newRow("Y sensitivity") << "XYSensitive/1" << 0 << 0 << 9 << 1;
        QTest::newRow("report rate") << "sensor/reportRate_J2" << 0 << 1 << 8 << 1;
        QTest::newRow("lift-off") << "sensor/jmgd" << 0 << 2 << 3 << 1;
        QTest::newRow("pointer speed") << "sensor/cursorSpeed_J2" << 0 << 0 << 11 << 1;
        QTest::newRow("scroll lines") << "sensor/verticalScrollLines_J2" << 0 << 1 << 100 << 1;
        QTest::newRow("double click") << "sensor/doubleClickSpeed_J2" << 0 << 0 << 11 << 1;
        QTest::newRow("dpi flags") << "sensor/dpi_Select" << 8 << 0 << 1 << 1;
        // Every stage must be reachable on every variant (the smallest top is 12000).
        for (const char *key : {"sensor/dpi_J2", "sensor/dpi_J2_3336", "sensor/dpi_J2_3337"})
            QTest::newRow(key) << key << 8 << 100 << 12000 << 100;
        QTest::newRow("effect") << "color_J2/ledEffect" << 6 << 0 << 255 << 1;
        QTest::newRow("palette") << "color_J2/type0" << 24 << 0 << 255 << 1;
        QTest::newRow("stage colours") << "color_J2/type1" << 24 << 0 << 255 << 1;
    }
    void installedDefaultProfile()
    {
        QFETCH(QString, key);
        QFETCH(int, count);
        QFETCH(int, low);
        QFETCH(int, high);
        QFETCH(int, step);

        const QSettings pD(installed("setting/pD.bin"), QSettings::IniFormat);
        QCOMPARE(pD.status(), QSettings::NoError);
        const QVariantList values = count ? IniValues::toList(pD.value(key)) : QVariantList{pD.value(key)};
        QCOMPARE(values.size(), count ? count : 1);
        for (const QVariant &v : values) {
            bool ok = false;
            const qint64 n = v.toString().toLongLong(&ok);
            QVERIFY2(ok && n >= low && n <= high && n % step == 0, qPrintable(key + "=" + v.toString()));
        }
    }

    void installedApplicationConfig()
    {
        const QSettings ap(installed("setting/apConfig.bin"), QSettings::IniFormat);
        QCOMPARE(ap.status(), QSettings::NoError);
        QCOMPARE(ap.value("common/language").toString(), QString("English"));
        QCOMPARE(ap.value("J2/profileNo", -1).toInt(), 0);
        const QSettings catalogue(installed("qml/DevInfo.ini"), QSettings::IniFormat);
        QCOMPARE(catalogue.value("common/total").toInt(), 4);
        const QStringList names = ap.value("common/product_name").toStringList();
        QCOMPARE(names.size(), 4);
        for (int n = 0; n < 4; ++n) {
            QVERIFY(names.at(n).startsWith("ORVANE GLIDE MOUSE G7"));
            QCOMPARE(ap.value(QString("common/sCode%1").arg(n)).toString(), catalogue.value(QString("%1/sCode").arg(n)).toString());
            QCOMPARE(ap.value(QString("common/sCode%1").arg(n)).toString(), QString("731946"));
        }
    }
};

QTEST_GUILESS_MAIN(tst_ProfileStore)
#include "tst_profilestore.moc"
