#include "gundata.h"
#include "tempdatafolder.h"

#include <QTest>

using Operation = std::function<void()>;
Q_DECLARE_METATYPE(Operation)

static const char gunFile[] = "modules/gun/gunData.bin";

// The [gunData] section as a plain INI reader sees it: "name=value" lines, sorted.
static QStringList gunSection(const QByteArray &text)
{
    QStringList lines;
    bool inside = false;
    for (const QByteArray &raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith('['))
            inside = line == "[gunData]";
        else if (inside && line.contains('='))
            lines.append(line.section('=', 0, 0).trimmed() + '=' + line.section('=', 1).trimmed());
    }
    lines.sort();
    return lines;
}

static const QByteArray installed = "[gunData]\nGun0=L-Click, 10, 0, 0, 0\nAK=L-Click, 30, -2, 5, 12\n";

class tst_GunData : public QObject
{
    Q_OBJECT

private slots:
    // Each operation on the installed file, and the [gunData] lines it leaves.
    void operations_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<QStringList>("section");
        const QStringList untouched = {"AK=L-Click, 30, -2, 5, 12", "Gun0=L-Click, 10, 0, 0, 0"};
        QTest::newRow("save new") << Operation([] { GunData::save({"Gun1", "L-Click", 20, -5, 3, 0}); })
                                  << QStringList{"AK=L-Click, 30, -2, 5, 12", "Gun0=L-Click, 10, 0, 0, 0",
                                                 "Gun1=L-Click, 20, -5, 3, 0"};
        QTest::newRow("save over") << Operation([] { GunData::save({"AK", "L-Click", "255", "127", "-127", "255"}); })
                                   << QStringList{"AK=L-Click, 255, 127, -127, 255", "Gun0=L-Click, 10, 0, 0, 0"};
        QTest::newRow("delete") << Operation([] { GunData::modify(0, {"AK"}); })
                                << QStringList{"Gun0=L-Click, 10, 0, 0, 0"};
        QTest::newRow("delete absent") << Operation([] { GunData::modify(0, {"M4"}); }) << untouched;
        QTest::newRow("rename") << Operation([] { GunData::modify(1, {"M4", "L-Click", 15, 1, -1, 3, "Gun0"}); })
                                << QStringList{"AK=L-Click, 30, -2, 5, 12", "M4=L-Click, 15, 1, -1, 3"};
        QTest::newRow("rename same") << Operation([] { GunData::modify(1, {"AK", "L-Click", 40, 0, 9, 0, "AK"}); })
                                     << QStringList{"AK=L-Click, 40, 0, 9, 0", "Gun0=L-Click, 10, 0, 0, 0"};
        QTest::newRow("rename short") << Operation([] { GunData::modify(1, {"M4", "L-Click", 15, 1, -1, 3}); })
                                      << untouched;
        QTest::newRow("type 2") << Operation([] { GunData::modify(2, {"AK", "L-Click", 1, 1, 1, 1, "AK"}); })
                                << untouched;
        QTest::newRow("type -1") << Operation([] { GunData::modify(-1, {"AK"}); }) << untouched;
        QTest::newRow("save short") << Operation([] { GunData::save({"Gun2", "L-Click", 10}); }) << untouched;
        for (const char *name : {"a/b", "../x", "a\\b", "", " lead", "x=y", "[gunData]", "tab\there"}) {
            QTest::addRow("save \"%s\"", name)
                    << Operation([name] { GunData::save({name, "L-Click", 10, 0, 0, 0}); }) << untouched;
            QTest::addRow("rename to \"%s\"", name)
                    << Operation([name] { GunData::modify(1, {name, "L-Click", 10, 0, 0, 0, "AK"}); }) << untouched;
            QTest::addRow("delete \"%s\"", name) << Operation([name] { GunData::modify(0, {name}); }) << untouched;
        }
    }
    void operations()
    {
        QFETCH(Operation, operation);
        QFETCH(QStringList, section);
        TempDataFolder data;
        QVERIFY(data.writeFile(gunFile, installed));
        operation();
        QCOMPARE(gunSection(data.readFile(gunFile)), section);
    }

    void reads()
    {
        TempDataFolder data;
        QVERIFY(data.writeFile(gunFile, installed + "Bare=L-Click\n"));
        QCOMPARE(GunData::get("AK"), (QVariantList{"L-Click", "30", "-2", "5", "12"}));
        QCOMPARE(GunData::get("M4"), QVariantList());
        QCOMPARE(GunData::get("Bare"), QVariantList());   // a single value is no list
        QCOMPARE(GunData::get("../AK"), QVariantList());
        GunData::save({"步枪", "L-Click", 10, 0, 0, 0});
        QCOMPARE(GunData::get("步枪"), (QVariantList{"L-Click", "10", "0", "0", "0"}));
    }

    // The file is installation data: without it nothing is written and nothing read.
    void missingFile()
    {
        TempDataFolder data;
        GunData::save({"Gun0", "L-Click", 10, 0, 0, 0});
        GunData::modify(1, {"Gun1", "L-Click", 10, 0, 0, 0, "Gun0"});
        GunData::modify(0, {"Gun0"});
        QCOMPARE(GunData::get("Gun0"), QVariantList());
        QVERIFY(!QFile::exists(data.filePath(gunFile)));
        QVERIFY(!QDir(data.filePath("modules/gun")).exists());
    }
};

QTEST_MAIN(tst_GunData)
#include "tst_gundata.moc"
