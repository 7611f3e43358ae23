#include "profilestore.h"
#include "tempdatafolder.h"
#include "support_rawini.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QSettings>
#include <QTest>

class tst_ProfileStore : public QObject
{
    Q_OBJECT

private slots:
    void replacingKeepsTheListAndDefersDeletion();
    void resetCopiesTheDefaultProfile();
    void copyTakesTheSourceBeforeReplacing();
    void failedCopyLeavesAnEmptyProfile();
    void currentProfileIsRememberedOnlyWhenItChanges();
    void badFilesReadAsDefaults_data();
    void badFilesReadAsDefaults();
    void missingFoldersReadAsDefaults();
};

static void flushDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void tst_ProfileStore::replacingKeepsTheListAndDefersDeletion()
{
    TempDataFolder dir;
    QVERIFY(dir.writeFile("modules/setting/pD.bin", "[sensor]\nreportRate_J2=8\n"));
    ProfileStore store;
    QList<QSettings *> before;
    for (int n = 0; n < ProfileStore::profileCount; ++n)
        before.append(store.profileSettings(n));

    QPointer<QSettings> old = store.profileSettings(3);
    // A change still pending in the old object must not reach the new file.
    old->setValue("sensor/jmgd", 3);
    QVERIFY(store.resetProfile(3));

    QVERIFY(old);                          // still alive until the event loop runs
    flushDeferredDeletes();
    QVERIFY(!old);

    for (int n = 0; n < ProfileStore::profileCount; ++n) {
        QVERIFY(store.profileSettings(n));
        QCOMPARE(store.profileSettings(n)->fileName(), QFileInfo(dir.filePath(QStringLiteral("modules/setting/p%1.bin").arg(n + 1))).absoluteFilePath());
        if (n != 3)
            QCOMPARE(store.profileSettings(n), before.at(n));
    }
    const auto file = readRawIni(dir.filePath("modules/setting/p4.bin"));
    QCOMPARE(file.value("sensor/reportRate_J2"), QString("8"));
    QVERIFY(!file.contains("sensor/jmgd"));
}

void tst_ProfileStore::resetCopiesTheDefaultProfile()
{
    TempDataFolder dir;
    QVERIFY(dir.writeFile("modules/setting/pD.bin", "[XYSensitive]\n0=4\n1=4\n[sensor]\nreportRate_J2=1\n"));
    QVERIFY(dir.writeFile("modules/setting/p1.bin", "[sensor]\nreportRate_J2=8\njmgd=3\n"));
    ProfileStore store;
    QCOMPARE(store.value("sensor/jmgd").toInt(), 3);
    QVERIFY(store.resetProfile(0));
    QCOMPARE(store.value("sensor/reportRate_J2").toInt(), 1);
    QVERIFY(!store.value("sensor/jmgd").isValid());
    QCOMPARE(readRawIni(dir.filePath("modules/setting/p1.bin")), readRawIni(dir.filePath("modules/setting/pD.bin")));
}

void tst_ProfileStore::copyTakesTheSourceBeforeReplacing()
{
    TempDataFolder dir;
    QVERIFY(dir.writeFile("modules/setting/p1.bin", "[profile]\nwho=one\n"));
    QVERIFY(dir.writeFile("modules/setting/p2.bin", "[profile]\nwho=two\n"));
    QVERIFY(dir.writeFile("modules/setting/p3.bin", "[profile]\nwho=three\n"));
    ProfileStore store;
    store.profileSettings(2)->setValue("sensor/jmgd", 2);   // unsynced change of the source
    QVERIFY(store.copyProfile(0, 2));
    QCOMPARE(store.value("profile/who").toString(), QString("three"));
    QCOMPARE(store.value("sensor/jmgd").toInt(), 2);
    QCOMPARE(readRawIni(dir.filePath("modules/setting/p2.bin")).value("profile/who"), QString("two"));

    // Copying a profile onto itself keeps it.
    QVERIFY(store.copyProfile(1, 1));
    QCOMPARE(readRawIni(dir.filePath("modules/setting/p2.bin")).value("profile/who"), QString("two"));
}

void tst_ProfileStore::failedCopyLeavesAnEmptyProfile()
{
    TempDataFolder dir;   // no pD.bin
    QVERIFY(dir.writeFile("modules/setting/p2.bin", "[sensor]\nreportRate_J2=8\n"));
    ProfileStore store;
    store.curProfile = 1;
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Profile copy failed: .*pD\\.bin -> .*p2\\.bin$"));
    QVERIFY(!store.resetProfile(1));
    QVERIFY(!QFile::exists(dir.filePath("modules/setting/p2.bin")));
    QCOMPARE(store.value("sensor/reportRate_J2", 0).toInt(), 0);
    QVERIFY(store.profileSettings(1));
}

void tst_ProfileStore::currentProfileIsRememberedOnlyWhenItChanges()
{
    TempDataFolder dir;
    QVERIFY(dir.writeFile("modules/setting/apConfig.bin", "[J2]\nprofileNo=0\n"));
    QVERIFY(dir.writeFile("modules/setting/p3.bin", "[sensor]\njmgd=3\n"));
    const QByteArray original = "[J2]\nprofileNo=0\n";
    ProfileStore store;

    QVERIFY(!store.setCurrentProfile(0));
    QCoreApplication::processEvents();
    QFile ap(dir.filePath("modules/setting/apConfig.bin"));
    QVERIFY(ap.open(QIODevice::ReadOnly));
    QCOMPARE(ap.readAll(), original);
    ap.close();

    QVERIFY(store.setCurrentProfile(2));
    QCOMPARE(store.curProfile, 2);
    QCOMPARE(store.value("sensor/jmgd").toInt(), 3);
    QCoreApplication::processEvents();
    QCOMPARE(readRawIni(dir.filePath("modules/setting/apConfig.bin")).value("J2/profileNo"), QString("2"));

    QTest::ignoreMessage(QtDebugMsg, "No profile 10");
    QVERIFY(!store.setCurrentProfile(10));
    QCOMPARE(store.curProfile, 2);
}

void tst_ProfileStore::badFilesReadAsDefaults_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("rate");          // sensor/reportRate_J2 as the getter converts it
    QTest::addColumn<QList<uint>>("dpi");   // sensor/dpi_J2 as unsigned values
    QTest::addColumn<int>("xSensitivity");  // XYSensitive/0, default 4

    QTest::newRow("truncated line")
        << QByteArray("[sensor]\nreportRate_J2=4\ndpi_J2=400, 8") << 4 << QList<uint>{400, 8} << 4;
    QTest::newRow("truncated section") << QByteArray("[sens") << 0 << QList<uint>{} << 4;
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919 + 13) & 0xFF));
    QTest::newRow("binary garbage") << garbage << 0 << QList<uint>{} << 4;
    QTest::newRow("huge values") << QByteArray(
        "[sensor]\nreportRate_J2=99999999999999999999999\ndpi_J2=1e300, abc\n"
        "[XYSensitive]\n0=" + QByteArray(100000, '9') + "\n") << 0 << QList<uint>{0, 0} << 0;
    QTest::newRow("wrong types") << QByteArray(
        "[sensor]\nreportRate_J2=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x10garbage)\n"
        "dpi_J2=@Variant(\\0\\0\\0\\n\\xff\\xff\\xff\\xff)\n"
        "[XYSensitive]\n0=@Rect(1 2 3)\n") << 0 << QList<uint>{} << 0;
}

void tst_ProfileStore::badFilesReadAsDefaults()
{
    QFETCH(QByteArray, content);
    QFETCH(int, rate);
    QFETCH(QList<uint>, dpi);
    QFETCH(int, xSensitivity);

    TempDataFolder dir;
    QVERIFY(dir.writeFile("modules/setting/p1.bin", content));
    ProfileStore store;
    QCOMPARE(store.value("sensor/reportRate_J2", 0).toInt() & 0xFF, rate);
    QList<uint> gotDpi;
    for (const QVariant &v : store.list("sensor/dpi_J2"))
        gotDpi.append(v.toUInt());
    QCOMPARE(gotDpi, dpi);
    QCOMPARE(store.value("XYSensitive/0", 4).toInt(), xSensitivity);
    QVERIFY(store.list("color_J2/type0").isEmpty());

    // Writing into such a file keeps working.
    store.setValue("sensor/jmgd", 2);
    QCOMPARE(store.value("sensor/jmgd").toInt(), 2);
}

void tst_ProfileStore::missingFoldersReadAsDefaults()
{
    QTemporaryDir empty;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(empty.path());
    {
        ProfileStore store;
        QCOMPARE(store.value("XYSensitive/0", 4).toInt(), 4);
        QVERIFY(store.list("sensor/dpi_Select").isEmpty());
        QVERIFY(!store.appValue("common/language").isValid());
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Profile copy failed:"));
        QVERIFY(!store.resetProfile(0));
    }
    QDir::setCurrent(previous);
}

QTEST_GUILESS_MAIN(tst_ProfileStore)
#include "tst_profilestore.moc"
