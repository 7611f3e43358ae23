#include "languagestrings.h"
#include "safefilename.h"
#include "tempdatafolder.h"
#include "support_rawini.h"

#include <QTest>

class tst_LanguageStrings : public QObject
{
    Q_OBJECT

private slots:
    void readsOneGroup_data();
    void readsOneGroup();
    void missingFileGivesNoTexts();
    void codeMustBeAFileName();
    void safeFileNames_data();
    void safeFileNames();
};

static const QByteArray languageFile =
    "total=2\n0=top zero\n1=top one\n"
    "[main]\ntotal=2\n0=\xe6\x96\x87\xe4\xbb\xb6\n1=\\x5173\\x95ed\n"
    "[keyMatrix]\ntotal=4\n0=a\n2=c\n"
    "[keyMenu]\ntotal=1\n0=Copy, Paste\n"
    "[macroEditor]\ntotal=abc\n0=never\n"
    "[gunControl]\ntotal=2\n0=\"x,y\"\n1=\" padded \"\n"
    "[macroKey]\n0=no count\n"
    "[other]\ntotal=3\n0=DPI \xe5\x88\x87\xe6\x8d\xa2\n1=b\n2=c\n";

void tst_LanguageStrings::readsOneGroup_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("main, raw UTF-8 and \\x escapes") << 0
        << QStringList{QString::fromUtf8("文件"), QString::fromUtf8("关闭")};
    QTest::newRow("total above the stored texts") << 1 << QStringList{"a", "", "c", ""};
    QTest::newRow("unquoted comma stays one text") << 2 << QStringList{"Copy, Paste"};
    QTest::newRow("count is no number") << 3 << QStringList{};
    QTest::newRow("quoted texts") << 4 << QStringList{"x,y", " padded "};
    QTest::newRow("no count") << 5 << QStringList{};
    QTest::newRow("other") << 6 << QStringList{QString::fromUtf8("DPI 切换"), "b", "c"};
    QTest::newRow("7 reads the top level") << 7 << QStringList{"top zero", "top one"};
    QTest::newRow("9 reads the top level") << 9 << QStringList{"top zero", "top one"};
    QTest::newRow("negative reads the top level") << -1 << QStringList{"top zero", "top one"};
}

void tst_LanguageStrings::readsOneGroup()
{
    QFETCH(int, type);
    QFETCH(QStringList, texts);

    TempDataFolder dir;
    QVERIFY(dir.writeFile("modules/i18n/lang_025044.ini", languageFile));
    const QString file = LanguageStrings::fileForCode(QStringLiteral("lang_025044"));
    QCOMPARE(LanguageStrings::read(file, type), texts);
}

void tst_LanguageStrings::missingFileGivesNoTexts()
{
    TempDataFolder dir;
    QCOMPARE(LanguageStrings::read(LanguageStrings::fileForCode("lang_025044"), 0), QStringList());
    QVERIFY(!QFile::exists(dir.filePath("modules/i18n/lang_025044.ini")));

    QVERIFY(dir.writeFile("modules/i18n/huge.ini", "[main]\ntotal=2000000000\n0=x\n"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("counts 2000000000 texts in one group, reading 1000$"));
    const QStringList capped = LanguageStrings::read(LanguageStrings::fileForCode("huge"), 0);
    QCOMPARE(capped.size(), LanguageStrings::maxEntries);
    QCOMPARE(capped.first(), QString("x"));
}

void tst_LanguageStrings::codeMustBeAFileName()
{
    TempDataFolder dir;
    QVERIFY(dir.writeFile("modules/secret.ini", "[main]\ntotal=1\n0=leak\n"));
    QTest::ignoreMessage(QtDebugMsg, "Language code is no file name: \"../secret\"");
    QVERIFY(LanguageStrings::fileForCode("../secret").isEmpty());
    QCOMPARE(LanguageStrings::read(QString(), 0), QStringList());
}

void tst_LanguageStrings::safeFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");

    QTest::newRow("plain") << "Macro_0" << true;
    QTest::newRow("blank inside") << "Gun 12" << true;
    QTest::newRow("chinese") << QString::fromUtf8("宏一") << true;
    QTest::newRow("outside the BMP") << QString::fromUtf8("fire\xF0\x9F\x94\xA5") << true;
    QTest::newRow("dot inside") << "v1.2" << true;
    QTest::newRow("64 characters") << QString(64, u'a') << true;
    QTest::newRow("65 characters") << QString(65, u'a') << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("parent") << ".." << false;
    QTest::newRow("parent inside") << "a..b" << false;
    QTest::newRow("slash") << "a/b" << false;
    QTest::newRow("backslash") << "a\\b" << false;
    QTest::newRow("drive colon") << "C:x" << false;
    QTest::newRow("windows reserved") << "a*b" << false;
    QTest::newRow("quote") << "a\"b" << false;
    QTest::newRow("newline") << "a\nb" << false;
    QTest::newRow("nul") << QString("a") + QChar(0) + "b" << false;
    QTest::newRow("delete") << QString("a") + QChar(0x7F) << false;
    QTest::newRow("line separator") << QString("a") + QChar(0x2028) + "b" << false;
    QTest::newRow("right-to-left override") << QString("a") + QChar(0x202E) + "b" << false;
    QTest::newRow("lone surrogate") << QString("a") + QChar(0xD800) << false;
    QTest::newRow("leading blank") << " a" << false;
    QTest::newRow("trailing blank") << "a " << false;
    QTest::newRow("trailing dot") << "a." << false;
    QTest::newRow("hidden file") << ".a" << false;
}

void tst_LanguageStrings::safeFileNames()
{
    QFETCH(QString, name);
    QFETCH(bool, safe);
    QCOMPARE(isSafeFileName(name), safe);
}

QTEST_GUILESS_MAIN(tst_LanguageStrings)
#include "tst_languagestrings.moc"
