#include <QtTest>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickView>
#include <QSettings>

static const char *const groups[] = {"main", "keyMatrix", "keyMenu", "macroEditor", "gunControl", "macroKey", "other"};

// The bridge as far as the start of the page needs it; the language groups come from the shipped file.
class StartBridge : public QObject
{
    Q_OBJECT
public:
    QVariant language;

public slots:
    QVariant getLang() { return language; }
    QVariant getProfile() { return 0; }
    void ui_02H_SetCurrentProfile(int) {}
    void setEnabled(bool) {}
    // What the sensor panels load.
    QVariant getXYSensitive(const QVariant &) { return 4; }
    QVariant ui_81H_GetReportRate() { return 1; }
    uint getCursorSpeed() { return 5; }
    uint getDoubleClickSpeed() { return 5; }
    uint getVerticalScrollLines() { return 3; }
    QVariant getData(const QVariant &) { return 2; }
    QVariantList getNameList(const QVariant &) { return {QStringLiteral("Standard0"), QStringLiteral("loaderzenith")}; }
    QVariant updataNameList(const QVariant &, const QStringList &) { return true; }
    QStringList getGlobalStrings(const QVariant &type, const QString &langCode)
    {
        QSettings file(QStringLiteral(G7_SOURCE_DIR "/modules/i18n/") + langCode + QStringLiteral(".ini"), QSettings::IniFormat);
        file.beginGroup(QLatin1String(groups[type.toInt()]));
        QStringList texts;
        for (int i = 0, n = file.value(QStringLiteral("total")).toInt(); i < n; ++i)
            texts << file.value(QString::number(i)).toString();
        return texts;
    }
};

class tst_Page : public QObject
{
    Q_OBJECT

    QScopedPointer<QQuickView> view;

private slots:
    void init() { view.reset(new QQuickView(QUrl(QStringLiteral("qrc:/modules/qml/main.qml")))); }

    void shippedFilesAreComplete()
    {
        QObject *root = view->rootObject();
        QVERIFY2(root, qPrintable(QDebug::toString(view->errors())));
        int images = 0;
        for (int i = root->metaObject()->propertyOffset(); i < root->metaObject()->propertyCount(); ++i) {
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
        StartBridge bridge;
        QList<int> totals;
        for (int group = 0; group < 7; ++group) {
            const QByteArray name(groups[group]);
            const QStringList chinese = bridge.getGlobalStrings(group, QStringLiteral("lang_025044"));
            totals << chinese.size();
            // The page has no English "other" group (the DPI notices): eight texts, each on one line.
            QObject *owner = group == 0 ? root : root->findChild<QObject *>(QLatin1String(name + "Main"));
            const QStringList english = owner ? owner->property(name + "Lang").toStringList() : QStringList(8, QStringLiteral("notice"));
            QCOMPARE(chinese.size(), english.size());
            for (int i = 0; i < english.size(); ++i)
                QVERIFY2(english[i].isEmpty() == chinese[i].isEmpty() && english[i].count(u'\n') == chinese[i].count(u'\n'),
                         qPrintable(name + '/' + QByteArray::number(i)));
        }
        QCOMPARE(totals, QList<int>({45, 10, 45, 20, 15, 10, 8}));
    }

    void startedPageRenders_data()
    {
        QTest::addColumn<QVariant>("language");
        QTest::addColumn<QString>("resetLabel");
        QTest::newRow("English") << QVariant() << QStringLiteral("Reset");
        QTest::newRow("Chinese") << QVariant(QStringLiteral("ChineseSimplified")) << QStringLiteral("重置");
    }

    void startedPageRenders()
    {
        QFETCH(QVariant, language);
        StartBridge bridge;
        bridge.language = language;
        QQuickItem *root = view->rootObject();
        view->setColor(Qt::transparent);
        view->rootContext()->setContextProperty(QStringLiteral("ui_View"), &bridge);
        QMetaObject::invokeMethod(root, "initUI", Q_ARG(QVariant, 1));
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.data()));
        // G7_QML_SHOT_DIR=<folder> keeps the pictures for a look by eye.
        const QString shotDir = qEnvironmentVariable("G7_QML_SHOT_DIR");
        const auto grab = [&](const char *name) {
            const QImage shot = view->grabWindow();
            if (!shotDir.isEmpty())
                shot.save(QStringLiteral("%1/%2-%3.png").arg(shotDir, QLatin1String(name), QLatin1String(QTest::currentDataTag())));
            return shot;
        };
        // During the start lock only the logo and "LOADING ......" show.
        QObject *background = root->findChild<QObject *>(QStringLiteral("envItem"));
        QVERIFY(background && !background->property("visible").toBool());
        QVERIFY(grab("start").pixelColor(500, 320).value() > 10);
        QTRY_VERIFY_WITH_TIMEOUT(background->property("visible").toBool(), 3000);
        QTEST(root->property("mainLang").toStringList().value(26), "resetLabel");
        QTest::qWait(100);
        const QImage shot = grab("page");
        QCOMPARE(shot.size(), QSize(1000, 640));
        // The mouse illustration in the middle and red accents somewhere in the header.
        const QColor middle = shot.pixelColor(497, 330);
        QVERIFY2(middle.alpha() == 255 && middle.value() > 10, qPrintable(middle.name()));
        bool redAccent = false;
        for (int x = 0; x < 1000; ++x)
            redAccent |= shot.pixelColor(x, 27).red() > 120 && shot.pixelColor(x, 27).green() < 60 && shot.pixelColor(x, 27).blue() < 60;
        QVERIFY(redAccent);
    }
};

QTEST_MAIN(tst_Page)
#include "tst_page.moc"
