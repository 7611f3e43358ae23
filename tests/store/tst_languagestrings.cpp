#include "languagestrings.h"
#include "tempdatafolder.h"

#include <QTest>

class tst_LanguageStrings : public QObject
{
    Q_OBJECT

private slots:
    // A huge text is cut to maxTextLength characters, never inside a surrogate pair; others stay whole,
    // typed forms too: they are never decoded.
    void longTexts()
    {
        constexpr int cap = LanguageStrings::maxTextLength;
        const QString fire = QString::fromUtf8("🔥");
        const QString huge(2'000'000, u'x');
        const QString pairAtCap = QString(cap - 1, u'y') + fire + "tail";
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
};

QTEST_GUILESS_MAIN(tst_LanguageStrings)
#include "tst_languagestrings.moc"
