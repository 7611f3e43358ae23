#include <QtTest>
#include <QQuickItem>
#include <QQuickView>
#include <QSettings>

static const char *const groups[] = {"main", "keyMatrix", "keyMenu", "macroEditor", "gunControl", "macroKey", "other"};

// The texts of one group of a shipped language file, as the bridge hands them to the page.
static QStringList groupTexts(int group, const QString &langCode)
{
    QSettings file(QStringLiteral(G7_SOURCE_DIR "/modules/i18n/") + langCode + QStringLiteral(".ini"), QSettings::IniFormat);
    file.beginGroup(QLatin1String(groups[group]));
    QStringList texts;
    for (int i = 0, n = file.value(QStringLiteral("total")).toInt(); i < n; ++i)
        texts << file.value(QString::number(i)).toString();
    return texts;
}

class tst_Page : public QObject
{
    Q_OBJECT

    QScopedPointer<QQuickView> view;

private slots:
    void init()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".?")));
        view.reset(new QQuickView(QUrl(QStringLiteral("qrc:/modules/qml/main.qml"))));
    }

    void shippedFilesAreComplete()
    {
        QObject *root = view->rootObject();
        QVERIFY2(root, qPrintable(QDebug::toString(view->errors())));
        int images = 0;
        for (int i = QQuickItem::staticMetaObject.propertyCount(); i < root->metaObject()->propertyCount(); ++i) {
            const QMetaProperty property = root->metaObject()->property(i);
            if (!QByteArray(property.name()).startsWith("source"))
                continue;
            const QUrl url = property.read(root).toUrl();
            QCOMPARE(url.scheme(), QStringLiteral("qrc"));
            QVERIFY2(!QImage(QLatin1Char(':') + url.path()).isNull(), qPrintable(url.toString()));
            ++images;
        }
        QVERIFY(images >= 20);
        QCOMPARE(root->property("sourcePowerOn").toUrl().toString(), QStringLiteral("qrc:/index/modules/img/skin1/index/powerOn.png"));
        const QIcon tray(QStringLiteral(G7_SOURCE_DIR "/modules/img/trayIcon.ico"));
        QVERIFY(tray.availableSizes().contains(QSize(16, 16)) && tray.availableSizes().contains(QSize(32, 32)));
        QVERIFY(tray.pixmap(QSize(16, 16)).toImage().pixelColor(8, 8).alpha() > 0);

        // Every text of the language file stands where the page has its English text.
        for (int group = 0; group < 7; ++group) {
            const QByteArray name(groups[group]);
            const QStringList chinese = groupTexts(group, QStringLiteral("lang_025044"));
            // The page has no English "other" group (the DPI notices): eight texts, each on one line.
            QObject *owner = group == 0 ? root : root->findChild<QObject *>(QLatin1String(name + "Main"));
            const QStringList english = owner ? owner->property(name + "Lang").toStringList() : QStringList(8, QStringLiteral("notice"));
            QCOMPARE(chinese.size(), english.size());
            for (int i = 0; i < english.size(); ++i)
                QVERIFY2(english[i].isEmpty() == chinese[i].isEmpty() && english[i].count(u'\n') == chinese[i].count(u'\n'),
                         qPrintable(name + '/' + QByteArray::number(i)));
        }
    }
};

QTEST_MAIN(tst_Page)
#include "tst_page.moc"
