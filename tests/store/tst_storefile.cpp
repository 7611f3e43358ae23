#include "inidialect.h"
#include "profilestore.h"
#include "storefile.h"
#include "tempdatafolder.h"

#include <QRegularExpression>
#include <QSettings>
#include <QTest>

// Files written and read through StoreFile, compared as bytes: the form another copy of this tool reads.
class tst_StoreFile : public QObject
{
    Q_OBJECT

    static QString text(const char *utf8) { return QString::fromUtf8(utf8); }

private slots:
    void writtenLines_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("e acute") << QVariant(text("é")) << QByteArray("\\xe9");
        QTest::newRow("chinese") << QVariant(text("宏")) << QByteArray("\\x5b8f");
        QTest::newRow("hex digit after escape") << QVariant(text("宏1")) << QByteArray("\\x5b8f\\x31");
        QTest::newRow("run of hex digits") << QVariant(text("宏12")) << QByteArray("\\x5b8f\\x31\\x32");
        QTest::newRow("run ends at non-hex") << QVariant(text("éfz")) << QByteArray("\\xe9\\x66z");
        QTest::newRow("chinese name") << QVariant(text("游戏 宏A")) << QByteArray("\\x6e38\\x620f \\x5b8f\\x41");
        QTest::newRow("U+007F") << QVariant(QString(QChar(0x7f))) << QByteArray("\\x7f");
        QTest::newRow("outside the BMP") << QVariant(text("🔥")) << QByteArray("\\xd83d\\xdd25");
        QTest::newRow("NUL, no @String") << QVariant(QString("x") + QChar(0) + "1y") << QByteArray("x\\0\\x31y");
        QTest::newRow("control char") << QVariant(QString(QChar(1)) + "2") << QByteArray("\\x1\\x32");
        QTest::newRow("tab newline") << QVariant(QString("a\tb\nc")) << QByteArray("a\\tb\\nc");
        QTest::newRow("quote backslash") << QVariant(QString("a\"b\\c")) << QByteArray("a\\\"b\\\\c");
        QTest::newRow("comma") << QVariant(QString("1,A")) << QByteArray("\"1,A\"");
        QTest::newRow("semicolon") << QVariant(QString("a;b")) << QByteArray("\"a;b\"");
        QTest::newRow("equals") << QVariant(QString("a=b")) << QByteArray("\"a=b\"");
        QTest::newRow("leading blanks") << QVariant(QString("  lead")) << QByteArray("\"  lead\"");
        QTest::newRow("trailing blank") << QVariant(QString("trail ")) << QByteArray("\"trail \"");
        QTest::newRow("leading at") << QVariant(QString("@x")) << QByteArray("@@x");
        QTest::newRow("list") << QVariant(QStringList{text("宏"), "1,2", " d"})
                              << QByteArray("\\x5b8f, \"1,2\", \" d\"");
        QTest::newRow("number list") << QVariant(QVariantList{1, 0, 240, 0}) << QByteArray("1, 0, 240, 0");
        QTest::newRow("empty list") << QVariant(QVariantList{}) << QByteArray("@Invalid()");
        QTest::newRow("unsigned byte") << QVariant::fromValue<uchar>(200) << QByteArray("200");
    }
    // Each line is also read back to the value written.
    void writtenLines()
    {
        QFETCH(QVariant, value); QFETCH(QByteArray, line);
        TempDataFolder dir;
        const QString path = dir.filePath("modules/file.bin");
        StoreFile::open(path)->setValue("g/k", value);
        QCOMPARE(dir.readFile("modules/file.bin"), "[g]\nk=" + line + "\n");
        const QVariant back = StoreFile::open(path)->value("g/k");
        const int type = value.metaType().id();
        if (type == QMetaType::QVariantList && value.toList().isEmpty())
            QVERIFY(back.toList().isEmpty());
        else if (type == QMetaType::QVariantList || type == QMetaType::QStringList)
            QCOMPARE(back.toStringList(), value.toStringList());
        else if (type == QMetaType::UChar)   // a number on disk, not a character
            QCOMPARE(back.toString(), QString::number(value.toUInt()));
        else
            QCOMPARE(back.toString(), value.toString());
    }

    void readLines_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("said");   // the debug line a typed value gives
        const QString blob = QString("(") + QChar(0) + QChar(0) + QChar(0) + QChar(0x7f) + ")";
        const QString kept = "Store file .*file.bin keeps 1 typed values as text, the first under g/k";
        QTest::newRow("escapes") << QByteArray("caf\\xe9 \\x5b8f\\x31") << QVariant(text("café 宏1")) << QString();
        QTest::newRow("raw UTF-8") << text("宏 café").toUtf8() << QVariant(text("宏 café")) << QString();
        QTest::newRow("Latin-1 at end of line") << QByteArray("caf\xe9") << QVariant(text("café")) << QString();
        QTest::newRow("Latin-1 list") << QByteArray("caf\xe9, na\xefve") << QVariant(QStringList{text("café"), text("naïve")}) << QString();
        QTest::newRow("broken UTF-8 keeps every byte") << QByteArray("\xe5\xae") << QVariant(text("å®")) << QString();
        QTest::newRow("raw U+007F") << QByteArray("a\x7f") << QVariant(QString("a") + QChar(0x7f)) << QString();
        QTest::newRow("NUL") << QByteArray("x\\0\\x31y") << QVariant(QString("x") + QChar(0) + "1y") << QString();
        QTest::newRow("earlier @String") << QByteArray("@String(x\\0y)") << QVariant(QString("x") + QChar(0) + "y") << QString();
        QTest::newRow("quoted comma") << QByteArray("\"1,A\"") << QVariant(QString("1,A")) << QString();
        QTest::newRow("unquoted blanks dropped") << QByteArray("   lead  ") << QVariant(QString("lead")) << QString();
        QTest::newRow("quoted blanks kept") << QByteArray("\"  lead \"") << QVariant(QString("  lead ")) << QString();
        QTest::newRow("list") << QByteArray("2, 0,240") << QVariant(QStringList{"2", "0", "240"}) << QString();
        QTest::newRow("comment") << QByteArray("x ; note") << QVariant(QString("x")) << QString();
        QTest::newRow("at") << QByteArray("@@x") << QVariant(QString("@x")) << QString();
        // Typed forms are never decoded: they stay the text they are.
        QTest::newRow("@Variant") << QByteArray("@Variant(\\0\\0\\0\\x7f)") << QVariant("@Variant" + blob) << kept;
        QTest::newRow("quoted @DateTime") << QByteArray("\"@DateTime(\\0\\0\\0\\x7f)\"") << QVariant("@DateTime" + blob) << kept;
        QTest::newRow("@Rect") << QByteArray("@Rect(1 2 3 4)") << QVariant(QString("@Rect(1 2 3 4)")) << kept;
        QTest::newRow("list element @Variant") << QByteArray("1, @Variant(\\0\\0\\0\\x7f)")
                                               << QVariant(QVariantList{"1", "@Variant" + blob}) << kept;
    }
    void readLines()
    {
        QFETCH(QByteArray, line); QFETCH(QVariant, value); QFETCH(QString, said);
        if (!said.isEmpty())
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression(said));
        TempDataFolder dir;
        QVERIFY(dir.writeFile("modules/file.bin", "[g]\nk=" + line + "\n"));
        const QVariant read = StoreFile::open(dir.filePath("modules/file.bin"))->value("g/k");
        QCOMPARE(read.metaType(), value.metaType());
        QCOMPARE(read, value);
    }

    // Section and key names, and the order of lines a file already has.
    void wholeFiles()
    {
        TempDataFolder dir;
        const QString path = dir.filePath("modules/file.bin");
        {
            const auto file = StoreFile::open(path);
            file->setValue("top", 1);
            file->setValue("General/x", 2);
            file->setValue(text("宏 1/é"), 3);
        }
        QCOMPARE(dir.readFile("modules/file.bin"),
                 QByteArray("[General]\ntop=1\n\n[%General]\nx=2\n\n[%U5B8F%201]\n%E9=3\n"));
        QCOMPARE(StoreFile::open(path)->allKeys(), QStringList({"General/x", "top", text("宏 1/é")}));

        QVERIFY(dir.writeFile("modules/file.bin", "[z]\nb=1\na=2\n\n[a]\nk=3\n"));
        StoreFile::open(path)->setValue("z/a", 5);
        StoreFile::open(path)->setValue("m/n", text("é"));
        QCOMPARE(dir.readFile("modules/file.bin"), QByteArray("[z]\nb=1\na=5\n\n[a]\nk=3\n\n[m]\nn=\\xe9\n"));

        QVERIFY(dir.writeFile("modules/file.bin", "[Gr\xfc\xdf" "e]\nk\xe9y=caf\xe9\n"));
        QCOMPARE(StoreFile::open(path)->value(text("Grüße/kéy")).toString(), text("café"));
    }

    // The installed files come back with every value as it was, and byte for byte.
    void installedRoundTrip_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("pD.bin") << "modules/setting/pD.bin";
        QTest::newRow("apConfig.bin") << "modules/setting/apConfig.bin";
    }
    void installedRoundTrip()
    {
        QFETCH(QString, file);
        TempDataFolder dir;
        QVERIFY(dir.copyFromSource(file));
        QVERIFY(dir.copyFromSource("modules/setting/apConfig.bin"));
        QVERIFY(dir.copyFromSource("modules/setting/pD.bin"));
        const QByteArray before = dir.readFile(file);
        const QSettings qtReader(dir.filePath(file), QSettings::IniFormat);
        {
            ProfileStore store;
            QSettings *settings = file.endsWith("pD.bin") ? nullptr : store.apConfig();
            if (!settings) {
                QVERIFY(store.resetProfile(0));
                settings = store.currentSettings();
            }
            QVERIFY(!settings->allKeys().isEmpty());
            for (const QString &key : settings->allKeys()) {
                QCOMPARE(settings->value(key), qtReader.value(key));
                settings->setValue(key, settings->value(key));   // rewrites the file
            }
        }
        const QString written = file.endsWith("pD.bin") ? "modules/setting/p1.bin" : file;
        QCOMPARE(dir.readFile(written), before);
        const auto again = StoreFile::open(dir.filePath(written));
        QCOMPARE(again->allKeys(), qtReader.allKeys());
        for (const QString &key : again->allKeys())
            QCOMPARE(again->value(key), qtReader.value(key));
    }

    // The escaping unit alone, for what QSettings never hands it.
    void escapingUnit()
    {
        QCOMPARE(IniDialect::escapedKey(text("a/b c")), QByteArray("a\\b%20c"));
        QCOMPARE(IniDialect::unescapedKey("a\\b%20c%U5B8F%zz"), text("a/b c宏%zz"));
        QCOMPARE(IniDialect::unescapedValue("\"multi\nline\""), QVariant(QString("multi\nline")));
        QCOMPARE(IniDialect::unescapedValue("\\x"), QVariant(QString()));
        QCOMPARE(IniDialect::unescapedValue("\\x1F600"), QVariant(QString(QChar(0xf600))));
        QVERIFY(!IniDialect::unescapedValue("@Invalid()").isValid());
        QSettings::SettingsMap map;
        IniDialect::read("\xef\xbb\xbfk=1\n[s]\n;c=2\nbroken\n  d = \"x\\\n y\"\n", map);
        QCOMPARE(map, (QSettings::SettingsMap{{"k", "1"}, {"s/d", "x y"}}));
        // Damaged files: cut escapes, an open quote, an open section, a lone %U.
        map.clear();
        IniDialect::read("[a\n%U=\"open\nb=\\x\n[\nc=x\\", map);
        QCOMPARE(map, (QSettings::SettingsMap{{"a/%U", "open\nb=\n[\nc=x"}}));
        QCOMPARE(IniDialect::unescapedValue("x\\"), QVariant(QString("x")));
    }
};

QTEST_GUILESS_MAIN(tst_StoreFile)
#include "tst_storefile.moc"
