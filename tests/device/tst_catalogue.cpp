#include "catalogue.h"
#include "tempdatafolder.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(QList<DevInfoEntry>)

namespace {

// The entry fields in catalogue order, for one comparison with a readable diff.
QString describe(const DevInfoEntry &e)
{
    return QStringLiteral("type %1 vid %2 pid %3 cmd %4/%5 evt %6/%7 len %8 name '%9'")
            .arg(e.type)
            .arg(e.vid, 4, 16, QLatin1Char('0'))
            .arg(e.pid, 4, 16, QLatin1Char('0'))
            .arg(e.usagePage, 4, 16, QLatin1Char('0'))
            .arg(e.usage, 4, 16, QLatin1Char('0'))
            .arg(e.usagePage2, 4, 16, QLatin1Char('0'))
            .arg(e.usage2, 4, 16, QLatin1Char('0'))
            .arg(e.reportLength)
            .arg(e.productName);
}

QStringList describe(const QList<DevInfoEntry> &entries)
{
    QStringList lines;
    for (const DevInfoEntry &e : entries)
        lines.append(describe(e));
    return lines;
}

const QString mouse = QStringLiteral("type 1 vid 260d pid %1 cmd ff01/0001 evt ff02/0001 len 64 name '%2'");
const QString empty = QStringLiteral("type -1 vid 0000 pid 0000 cmd 0000/0000 evt 0000/0000 len 0 name '%1'");

} // namespace

class tst_Catalogue : public QObject
{
    Q_OBJECT
private slots:
    void shippedCatalogue();
    void writtenCatalogues_data();
    void writtenCatalogues();
    void missingFileIsEmpty();
};

void tst_Catalogue::shippedCatalogue()
{
    bool encode = true;
    const QList<DevInfoEntry> entries = readCatalogue(QStringLiteral(":/DevInfo.ini"), {"G7 A", "G7 B"}, &encode);
    QVERIFY(!encode);
    QCOMPARE(describe(entries), QStringList({mouse.arg("1038", "G7 A"), mouse.arg("1031", "G7 B"),
                                             mouse.arg("1039", ""), mouse.arg("1048", "")}));

    // The embedded catalogue is the one in the source tree.
    TempDataFolder folder;
    QVERIFY(folder.copyFromSource(QStringLiteral("modules/qml/DevInfo.ini")));
    QCOMPARE(describe(readCatalogue(folder.filePath(QStringLiteral("modules/qml/DevInfo.ini")), {"G7 A", "G7 B"},
                                    &encode)),
             describe(entries));
}

void tst_Catalogue::writtenCatalogues_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("encode");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("no blanks around =, upper-case hex")
            << QByteArray("[common]\ntotal=1\nisEncode=true\n[0]\ntype=1\nvid=260D\npid=1031\n"
                          "usagePage=FF01\nusage=0001\nusagePage2=FF02\nusage2=0001\nreportLength=64\n")
            << true << QStringList{mouse.arg("1031", "first")};
    QTest::newRow("blanks around =, lower-case hex")
            << QByteArray("; comment\n[common]\nisEncode = false\ntotal = 1\n[0]\ntype = 1\nvid = 260d\n"
                          "pid = 1031\nusagePage = ff01\nusage = 1\nusagePage2 = ff02\nusage2 = 01\n"
                          "reportLength = 64\nsCode = 999999\n")
            << false << QStringList{mouse.arg("1031", "first")};
    QTest::newRow("0x40 and garbage read as 0")
            << QByteArray("[common]\ntotal=1\n[0]\ntype=zz\nvid=xyz\npid=12G4\nusagePage=ff01\nusage=1\n"
                          "usagePage2=ff02\nusage2=1\nreportLength=0x40\n")
            << false
            << QStringList{"type 0 vid 0000 pid 0000 cmd ff01/0001 evt ff02/0001 len 0 name 'first'"};
    QTest::newRow("hex wider than 16 bits keeps the low bits")
            << QByteArray("[common]\ntotal=1\n[0]\ntype=1\nvid=1260D\npid=1031\nusagePage=ff01\nusage=1\n"
                          "usagePage2=ff02\nusage2=1\nreportLength=64\n")
            << false << QStringList{mouse.arg("1031", "first")};
    QTest::newRow("total beyond the sections gives defaults")
            << QByteArray("[common]\ntotal=3\n[0]\ntype=1\nvid=260D\npid=1031\nusagePage=ff01\nusage=1\n"
                          "usagePage2=ff02\nusage2=1\nreportLength=64\n")
            << false << QStringList{mouse.arg("1031", "first"), empty.arg("second"), empty.arg("")};
    QTest::newRow("sections beyond total are not read")
            << QByteArray("[common]\ntotal=0\n[0]\ntype=1\nvid=260D\n") << false << QStringList{};
    QTest::newRow("no common section") << QByteArray("[0]\ntype=1\nvid=260D\npid=1031\n") << false
                                       << QStringList{};
    QTest::newRow("total not a number") << QByteArray("[common]\ntotal=four\n[0]\ntype=1\n") << false
                                        << QStringList{};
    QTest::newRow("negative total") << QByteArray("[common]\ntotal=-5\n") << false << QStringList{};
    QTest::newRow("binary noise") << QByteArray("\x00\xff[[[=\n\x01\x02=\x03\n[common\ntotal", 24) << false
                                  << QStringList{};
}

void tst_Catalogue::writtenCatalogues()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, encode);
    QFETCH(QStringList, entries);
    TempDataFolder folder;
    const QString path = folder.filePath(QStringLiteral("DevInfo.ini"));
    QVERIFY(folder.writeFile(QStringLiteral("DevInfo.ini"), ini));

    bool readEncode = !encode;
    const QList<DevInfoEntry> read = readCatalogue(path, {"first", "second"}, &readEncode);
    QCOMPARE(describe(read), entries);
    QCOMPARE(readEncode, encode);
}

void tst_Catalogue::missingFileIsEmpty()
{
    bool encode = true;
    QVERIFY(readCatalogue(QStringLiteral("/nonexistent/DevInfo.ini"), {}, &encode).isEmpty());
    QVERIFY(!encode);

    // A hostile total does not make the reader loop for ever.
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("DevInfo.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[common]\ntotal=2000000000\n");
    file.close();
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("total"));
    QCOMPARE(readCatalogue(file.fileName(), {}, &encode).size(), maxCatalogueEntries);
}

QTEST_GUILESS_MAIN(tst_Catalogue)
#include "tst_catalogue.moc"
