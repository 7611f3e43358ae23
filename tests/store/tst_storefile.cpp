#include "inidialect.h"
#include "inivalues.h"
#include "languagestrings.h"
#include "profilestore.h"
#include "safefilename.h"
#include "storefile.h"
#include "tempdatafolder.h"

#include <QRegularExpression>
#include <QSettings>
#include <QTest>

// Files written and read through StoreFile and the profile store, compared as bytes another copy of this tool reads.
class tst_StoreFile : public QObject
{
    Q_OBJECT

private slots:
    void writtenLines_data()
    {
        QTest::addColumn<QVariant>("value"); QTest::addColumn<QByteArray>("line");
        QTest::newRow("run of hex digits") << QVariant(QString("宏1A")) << QByteArray("\\x5b8f\\x31\\x41");
        QTest::newRow("run ends at non-hex") << QVariant(QString("éfz")) << QByteArray("\\xe9\\x66z");
        QTest::newRow("U+007F") << QVariant(QString(QChar(0x7f))) << QByteArray("\\x7f");
        QTest::newRow("outside the BMP") << QVariant(QString("🔥")) << QByteArray("\\xd83d\\xdd25");
        QTest::newRow("NUL, no @String") << QVariant(QString("x") + QChar(0) + "1y") << QByteArray("x\\0\\x31y");
        QTest::newRow("control char") << QVariant(QString(QChar(1)) + "2") << QByteArray("\\x1\\x32");
        QTest::newRow("tab newline") << QVariant(QString("a\tb\nc")) << QByteArray("a\\tb\\nc");
        QTest::newRow("quote backslash") << QVariant(QString("a\"b\\c")) << QByteArray("a\\\"b\\\\c");
        QTest::newRow("semicolon") << QVariant(QString("a;b")) << QByteArray("\"a;b\"");
        QTest::newRow("equals") << QVariant(QString("a=b")) << QByteArray("\"a=b\"");
        QTest::newRow("trailing blank") << QVariant(QString("trail ")) << QByteArray("\"trail \"");
        QTest::newRow("leading at") << QVariant(QString("@x")) << QByteArray("@@x");
        QTest::newRow("list") << QVariant(QStringList{"宏", "1,2", " d"})
                              << QByteArray("\\x5b8f, \"1,2\", \" d\"");
        QTest::newRow("empty list") << QVariant(QVariantList{}) << QByteArray("@Invalid()");
    }
    void writtenLines()
    {
        QFETCH(QVariant, value); QFETCH(QByteArray, line);
        TempDataFolder dir;
        const QString path = dir.filePath("modules/file.bin");
        StoreFile::open(path)->setValue("g/k", value);
        QCOMPARE(dir.readFile("modules/file.bin"), "[g]\nk=" + line + "\n");
        if (value.typeId() != QMetaType::QVariantList)   // texts read back as they were written
            QCOMPARE(StoreFile::open(path)->value("g/k"), value);
    }

    void readLines_data()
    {
        QTest::addColumn<QByteArray>("line"); QTest::addColumn<QVariant>("value");
        QTest::newRow("raw UTF-8") << QString("宏 café").toUtf8() << QVariant(QString("宏 café"));
        QTest::newRow("Latin-1 at end of line") << QByteArray("caf\xe9") << QVariant(QString("café"));
        QTest::newRow("raw U+007F") << QByteArray("a\x7f") << QVariant(QString("a") + QChar(0x7f));
        QTest::newRow("earlier @String") << QByteArray("@String(x\\0y)") << QVariant(QString("x") + QChar(0) + "y");
        QTest::newRow("unquoted blanks dropped") << QByteArray("   lead  ") << QVariant(QString("lead"));
        QTest::newRow("list") << QByteArray("2, 0,240") << QVariant(QStringList{"2", "0", "240"});
        QTest::newRow("comment") << QByteArray("x ; note") << QVariant(QString("x"));
    }
    void readLines()
    {
        QFETCH(QByteArray, line); QFETCH(QVariant, value);
        TempDataFolder dir;
        QVERIFY(dir.writeFile("modules/file.bin", "[g]\nk=" + line + "\n"));
        QCOMPARE(StoreFile::open(dir.filePath("modules/file.bin"))->value("g/k"), value);
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
            file->setValue("宏 1/é", 3);
        }
        QCOMPARE(dir.readFile("modules/file.bin"),
                 QByteArray("[General]\ntop=1\n\n[%General]\nx=2\n\n[%U5B8F%201]\n%E9=3\n"));
        QCOMPARE(StoreFile::open(path)->allKeys(), QStringList({"General/x", "top", "宏 1/é"}));
        QVERIFY(dir.writeFile("modules/file.bin", "[z]\nb=1\na=2\n\n[a]\nk=3\n"));
        StoreFile::open(path)->setValue("z/a", 5);
        StoreFile::open(path)->setValue("m/n", QString("é"));
        QCOMPARE(dir.readFile("modules/file.bin"), QByteArray("[z]\nb=1\na=5\n\n[a]\nk=3\n\n[m]\nn=\\xe9\n"));
        QVERIFY(dir.writeFile("modules/file.bin", "[Gr\xfc\xdf" "e]\nk\xe9y=caf\xe9\n"));
        QCOMPARE(StoreFile::open(path)->value("Grüße/kéy").toString(), QString("café"));
    }

    // The installed files come back with every value as it was, and byte for byte.
    void installedRoundTrip()
    {
        for (const QString file : {"modules/setting/pD.bin", "modules/setting/apConfig.bin"}) {
            TempDataFolder dir;
            QVERIFY(dir.copyFromSource("modules/setting/apConfig.bin") && dir.copyFromSource("modules/setting/pD.bin"));
            const QByteArray before = dir.readFile(file);
            const QSettings qtReader(dir.filePath(file), QSettings::IniFormat);
            const bool profile = file.endsWith("pD.bin");   // read as the profile made from it
            {
                ProfileStore store;
                QVERIFY(!profile || store.resetProfile(0));
                QSettings *settings = profile ? store.currentSettings() : store.apConfig();
                for (const QString &key : settings->allKeys()) {
                    QCOMPARE(settings->value(key), qtReader.value(key));
                    settings->setValue(key, settings->value(key));   // rewrites the file
                }
            }
            QCOMPARE(dir.readFile(profile ? "modules/setting/p1.bin" : file), before);
        }
    }

    // The escaping unit alone, for what QSettings never hands it.
    void escapingUnit()
    {
        QCOMPARE(IniDialect::escapedKey("a/b c"), QByteArray("a\\b%20c"));
        QCOMPARE(IniDialect::unescapedKey("a\\b%20c%U5B8F%zz"), QString("a/b c宏%zz"));
        QCOMPARE(IniDialect::unescapedValue("\\x1F600"), QVariant(QString(QChar(0xf600))));
        QVERIFY(!IniDialect::unescapedValue("@Invalid()").isValid());
        QSettings::SettingsMap map;
        IniDialect::read("\xef\xbb\xbfk=1\n[s]\n;c=2\nbroken\n  d = \"x\\\n y\"\n", map);
        QCOMPARE(map, (QSettings::SettingsMap{{"k", "1"}, {"s/d", "x y"}}));
        // Damaged files: cut escapes, an open quote, an open section, a lone %U.
        map.clear();
        IniDialect::read("[a\n%U=\"open\nb=\\x\n[\nc=x\\", map);
        QCOMPARE(map, (QSettings::SettingsMap{{"a/%U", "open\nb=\n[\nc=x"}}));
    }

    // A huge text is cut to maxTextLength characters, never inside a surrogate pair; others, typed forms too, stay.
    void longTexts()
    {
        constexpr int cap = LanguageStrings::maxTextLength;
        const QString huge(2'000'000, u'x');
        const QString pairAtCap = QString(cap - 1, u'y') + "🔥" + "tail";
        const QString exact = QString(cap - 1, u'z') + QString::fromUtf8("宏");
        TempDataFolder dir;
        QVERIFY(dir.writeFile("modules/i18n/lang.ini", "[main]\ntotal=6\n0=" + huge.toLatin1() + "\n1="
                                      + pairAtCap.toUtf8() + "\n2=" + exact.toUtf8() + "\n3=short, text\n"
                                      + "4=@DateTime(x)\n5=x, @Rect(1 2 3 4)\n"));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("lang.ini keeps 2 typed values as text, the first under main/4$"));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("holds a text of 2000000 characters, keeping 4000$"));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("holds a text of 4005 characters, keeping 4000$"));
        const QStringList texts = LanguageStrings::read(dir.filePath("modules/i18n/lang.ini"), 0);
        QCOMPARE(texts, QStringList({huge.left(cap), pairAtCap.left(cap - 1), exact, "short, text", "@DateTime(x)",
                                     "x, @Rect(1 2 3 4)"}));
    }

    // A source that cannot be read leaves the target profile, file and object, as it was; then profiles replaced from
    // pD.bin and from another profile.
    void replacingProfiles()
    {
        TempDataFolder dir;
        const QByteArray target("[macro]\n0=keep\n");
        QVERIFY(dir.writeFile("modules/setting/p1.bin", target));
        ProfileStore store;   // without pD.bin no other profile is made
        QList<QSettings *> before;
        for (int n = 0; n < ProfileStore::profileCount; ++n)
            before.append(store.profileSettings(n));
        for (const QString source : {"pD", "p3"}) {   // "pD" resets profile 0, "p3" copies profile 2 onto it
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression(
                    "^Profile copy failed: .*" + source + "\\.bin -> .*p1\\.bin$"));
            QVERIFY(source == "pD" ? !store.resetProfile(0) : !store.copyProfile(0, 2));
            QCOMPARE(store.profileSettings(0), before.at(0));
            QCOMPARE(store.value("macro/0").toString(), QString("keep"));
            QCoreApplication::processEvents();
            QCOMPARE(dir.readFile("modules/setting/p1.bin"), target);
            QCOMPARE(QDir(dir.filePath("modules/setting")).entryList(QDir::Files), QStringList({"p1.bin"}));
        }
        QVERIFY(dir.writeFile("modules/setting/pD.bin", "[sensor]\nreportRate_J2=8\n"));
        QVERIFY(dir.writeFile("modules/setting/p3.bin", "[profile]\nwho=three\n"));
        store.profileSettings(3)->setValue("sensor/jmgd", 3);   // pending in the old object, not for the new file
        QVERIFY(store.resetProfile(3));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);   // the old object is gone now
        QCOMPARE(dir.readFile("modules/setting/p4.bin"), QByteArray("[sensor]\nreportRate_J2=8\n"));
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
    }

    // Every missing profile file is made from pD.bin before anything reads one, writable though pD.bin is not (in the
    // user's folder of a read-only installation: app/x11_program); a profile already there stays.
    void missingProfiles()
    {
        TempDataFolder dir;
        QVERIFY(dir.copyFromSource("modules/setting/pD.bin"));
        QVERIFY(dir.writeFile("modules/setting/p2.bin", "[sensor]\njmgd=3\n"));
        const QByteArray factory = dir.readFile("modules/setting/pD.bin");
        QVERIFY(QFile::setPermissions(dir.filePath("modules/setting/pD.bin"), QFile::ReadOwner | QFile::ReadGroup));
        QCOMPARE(ProfileStore().list("keydefine_J2/0"), (QVariantList{"2", "0", "240", "0"}));
        for (int p = 1; p <= ProfileStore::profileCount; ++p) {
            QFile file(dir.filePath(QString("modules/setting/p%1.bin").arg(p)));
            QVERIFY(file.open(QIODevice::ReadOnly) && file.permissions() & QFile::WriteOwner);
            QCOMPARE(file.readAll(), p == 2 ? QByteArray("[sensor]\njmgd=3\n") : factory);
        }
    }

    // J2/profileNo as getProfile hands it to the page: anything but 0..9 is 0.
    void savedProfile()
    {
        for (const QByteArray line : {"", "profileNo=9", "profileNo=10", "profileNo=-1", "profileNo=1, 2"}) {
            TempDataFolder dir;
            QVERIFY(dir.writeFile("modules/setting/apConfig.bin", "[J2]\n" + line + "\n"));
            QVERIFY2(ProfileStore().savedProfile() == (line == "profileNo=9" ? 9 : 0), line.constData());
        }
    }

    // Installed files: "<file> <key> <elements, 0: one number> <low> <high> <step>", "<file> <key> = <text>", or
    // "<file> <key>": the key is not there.
    void installedData_data()
    {
        QTest::addColumn<QString>("row");
        for (int k = 0; k < 16; ++k)
            QTest::addRow("keydefine %d", k) << QString("pD.bin keydefine_J2/%1 4 0 255 1").arg(k);
        for (int n = 0; n < 4; ++n)   // the secrecy codes of apConfig.bin and of the catalogue agree
            QTest::addRow("secrecy code %d", n) << QString("apConfig.bin common/sCode%1 = 731946").arg(n);
        // Every DPI stage must be reachable on every variant (the smallest top is 12000). The other factory values
        // are read as the pages send them: qml/panels factoryReset, bridge/bridgeview flows.
        for (const char *row : {"DevInfo.ini 0/sCode = 731946", "DevInfo.ini 1/sCode = 731946",
                 "DevInfo.ini 2/sCode = 731946", "DevInfo.ini 3/sCode = 731946", "pD.bin XYSensitive/1 0 0 9 1",
                 "pD.bin sensor/cursorSpeed_J2 0 0 11 1", "pD.bin sensor/verticalScrollLines_J2 0 1 100 1",
                 "pD.bin sensor/doubleClickSpeed_J2 0 0 11 1", "pD.bin sensor/dpi_Select 8 0 1 1",
                 "pD.bin sensor/dpi_J2_3336 8 100 12000 100", "pD.bin sensor/dpi_J2_3337 8 100 12000 100",
                 "pD.bin color_J2/type0 24 0 255 1", "pD.bin selectGun/0 = ", "pD.bin color_J2/type1 24 0 255 1",
                 "pD.bin keydefine_J2/4 = 2, 0, 243, 0", "pD.bin keydefine_J2/5 = 8, 3, 0, 0",
                 "name.bin profile/profileName = Standard0, loaderzenith", "name.bin macro/macroName",
                 "DevInfo.ini common/total = 4", "apConfig.bin common/language = English",
                 "apConfig.bin J2/profileNo = 0", "apConfig.bin common/name1 = ORVANE GLIDE MOUSE G7",
                 "apConfig.bin common/name0 = ORVANE GLIDE 游戏鼠标 G7", "apConfig.bin common/product_name = ORVANE "
                 "GLIDE MOUSE G7 3336, ORVANE GLIDE MOUSE G7, ORVANE GLIDE MOUSE G7 NL, ORVANE GLIDE MOUSE G7 3337"})
            QTest::newRow(row) << QString(row);
    }
    void installedData()
    {
        QFETCH(QString, row);
        const QStringList field = row.section(" = ", 0, 0).split(' ');
        const QString folder = field[0].endsWith("ini") ? "/modules/qml/" : "/modules/setting/";
        const QSettings file(G7_SOURCE_DIR + folder + field[0], QSettings::IniFormat);
        const QVariant stored = file.value(field[1]);
        QCOMPARE(file.status(), QSettings::NoError);
        if (field.size() == 2) {   // a text, or no such key (a fresh installation lists no macro)
            const QString text = file.contains(field[1]) ? " = " + stored.toStringList().join(", ") : QString();
            QCOMPARE(field.join(' ') + text, row);
            return;
        }
        const QVariantList values = field[2] == "0" ? QVariantList{stored} : IniValues::toList(stored);
        QCOMPARE(values.size(), qMax(1, field[2].toInt()));
        for (const QVariant &v : values) {
            bool ok = false;
            const int n = v.toString().toInt(&ok);
            QVERIFY2(ok && n >= field[3].toInt() && n <= field[4].toInt() && n % field[5].toInt() == 0,
                     qPrintable(v.toString()));
        }
    }

    void safeFileNames()
    {
        for (const QString &name : QStringList{"Macro_0", "Gun v1.2", "宏一", "fire🔥", QString(64, u'a')})
            QVERIFY2(isSafeFileName(name), qPrintable(name));
        for (const QString &name : QStringList{QString(65, u'a'), "", "a..b", "a/b", "a\\b", "C:x", "a*b", "a\nb",
                 QString("a") + QChar(0), "a\u2028b", "a\u202Eb", QString("a") + QChar(0xD800), " a", "a.", ".a"})
            QVERIFY2(!isSafeFileName(name), qPrintable(name));
    }
};

QTEST_GUILESS_MAIN(tst_StoreFile)
#include "tst_storefile.moc"
