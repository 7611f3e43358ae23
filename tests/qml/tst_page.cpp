#include <QtTest>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSettings>

// The bridge as far as the start of the page needs it; the language groups
// come from the shipped file.
class StartBridge : public QObject
{
    Q_OBJECT
public:
    QVariant language;
    QString i18nDir = QStringLiteral(G7_SOURCE_DIR "/modules/i18n/");

public slots:
    QVariant getLang() { return language; }
    QVariant getProfile() { return 0; }
    void ui_02H_SetCurrentProfile(int) {}
    void setEnabled(bool) {}
    QStringList getGlobalStrings(const QVariant &type, const QString &langCode)
    {
        static const char *groups[] = {"main", "keyMatrix", "keyMenu", "macroEditor", "gunControl", "macroKey", "other"};
        QSettings file(i18nDir + langCode + QStringLiteral(".ini"), QSettings::IniFormat);
        file.beginGroup(QString::fromLatin1(groups[type.toInt()]));
        QStringList texts;
        for (int i = 0, n = file.value(QStringLiteral("total")).toInt(); i < n; ++i)
            texts << file.value(QString::number(i)).toString();
        return texts;
    }
};

class WindowStub : public QObject
{
    Q_OBJECT
public slots:
    void onMinimize() {}
    void onClose() {}
    void onXChanged(int) {}
    void onYChanged(int) {}
};

class tst_Page : public QObject
{
    Q_OBJECT

private slots:
    void everyImageIsEmbedded();
    void startedPageRenders_data();
    void startedPageRenders();
    void languageFileCoversEveryText();
    void trayIconHasSmallSizes();

private:
    QQuickItem *startPage(QQuickView &view, StartBridge &bridge, WindowStub &window);
};

QQuickItem *tst_Page::startPage(QQuickView &view, StartBridge &bridge, WindowStub &window)
{
    view.setSource(QUrl(QStringLiteral("qrc:/modules/qml/main.qml")));
    if (view.status() != QQuickView::Ready) {
        qDebug() << view.errors();
        return nullptr;
    }
    view.rootContext()->setContextProperty(QStringLiteral("ui_View"), &bridge);
    view.rootContext()->setContextProperty(QStringLiteral("hid"), &window);
    view.rootContext()->setContextProperty(QStringLiteral("ui_Ctl"), &window);
    QQuickItem *root = view.rootObject();
    QMetaObject::invokeMethod(root, "initUI", Q_ARG(QVariant, QVariant(1)));
    return root;
}

void tst_Page::everyImageIsEmbedded()
{
    QQmlEngine engine;
    QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/modules/qml/main.qml")));
    QScopedPointer<QObject> root(component.create());
    QVERIFY2(root, qPrintable(component.errorString()));

    const QMetaObject *meta = root->metaObject();
    int images = 0;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (!QByteArray(property.name()).startsWith("source"))
            continue;
        const QUrl url = property.read(root.data()).toUrl();
        QCOMPARE(url.scheme(), QStringLiteral("qrc"));
        QVERIFY2(QFile::exists(QLatin1Char(':') + url.path()), qPrintable(url.toString()));
        QImage image(QLatin1Char(':') + url.path());
        QVERIFY2(!image.isNull(), qPrintable(url.toString()));
        ++images;
    }
    QVERIFY(images >= 20);
    QCOMPARE(root->property("sourcePowerOn").toUrl().toString(),
             QStringLiteral("qrc:/index/modules/img/skin1/index/powerOn.png"));
}

void tst_Page::startedPageRenders_data()
{
    QTest::addColumn<QVariant>("language");
    QTest::addColumn<QString>("resetLabel");
    QTest::newRow("English") << QVariant() << QStringLiteral("Reset");
    QTest::newRow("Chinese") << QVariant(QStringLiteral("ChineseSimplified")) << QStringLiteral("重置");
}

void tst_Page::startedPageRenders()
{
    QFETCH(QVariant, language);
    QFETCH(QString, resetLabel);
    StartBridge bridge;
    bridge.language = language;
    WindowStub window;
    QQuickView view;
    view.setColor(Qt::transparent);
    QQuickItem *root = startPage(view, bridge, window);
    QVERIFY(root);
    QCOMPARE(view.size(), QSize(1000, 640));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QObject *background = root->findChild<QObject *>(QStringLiteral("envItem"));
    QVERIFY(background);
    const QByteArray shotDir = qgetenv("G7_QML_SHOT_DIR");
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    // During the start lock only the logo and "LOADING ......" show.
    QVERIFY(!background->property("visible").toBool());
    const QImage start = view.grabWindow();
    if (!shotDir.isEmpty())
        start.save(QString::fromLocal8Bit(shotDir) + QStringLiteral("/start-") + tag + QStringLiteral(".png"));
    QVERIFY(start.pixelColor(500, 320).value() > 10);
    QTRY_VERIFY_WITH_TIMEOUT(background->property("visible").toBool(), 3000);
    QCOMPARE(root->property("mainLang").toStringList().value(26), resetLabel);

    QTest::qWait(100);
    const QImage shot = view.grabWindow();
    QCOMPARE(shot.size(), QSize(1000, 640));
    // G7_QML_SHOT_DIR=<folder> keeps the picture for a look by eye.
    if (!shotDir.isEmpty())
        shot.save(QString::fromLocal8Bit(shotDir) + QStringLiteral("/page-") + tag + QStringLiteral(".png"));
    if (!shotDir.isEmpty()) {
        // The pop-ups over the page, for the same look by eye.
        QObject *dpi = root->findChild<QObject *>(QStringLiteral("dpiSettingMain"));
        QMetaObject::invokeMethod(dpi, "openColorBar", Q_ARG(int, 1), Q_ARG(QString, QStringLiteral("#ff7f00")));
        root->findChild<QObject *>(QStringLiteral("askMenu"))->setProperty("visible", true);
        root->findChild<QObject *>(QStringLiteral("factorysure"))->setProperty("visible", true);
        root->findChild<QObject *>(QStringLiteral("mainMask"))->setProperty("visible", true);
        QTest::qWait(50);
        view.grabWindow().save(QString::fromLocal8Bit(shotDir) + QStringLiteral("/popups-") + tag + QStringLiteral(".png"));
    }
    // The mouse illustration in the middle and red accents somewhere in the header.
    const QColor middle = shot.pixelColor(497, 330);
    QVERIFY2(middle.alpha() == 255 && middle.value() > 10, qPrintable(middle.name()));
    bool redAccent = false;
    for (int x = 0; x < 1000 && !redAccent; ++x) {
        const QColor c = shot.pixelColor(x, 27);
        redAccent = c.red() > 120 && c.green() < 60 && c.blue() < 60;
    }
    QVERIFY(redAccent);

}

void tst_Page::languageFileCoversEveryText()
{
    QQmlEngine engine;
    QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/modules/qml/main.qml")));
    QScopedPointer<QObject> root(component.create());
    QVERIFY2(root, qPrintable(component.errorString()));

    struct Group { const char *name; const char *object; const char *property; };
    const Group groups[] = {
        {"main", nullptr, "mainLang"},
        {"keyMatrix", "keyMatrixMain", "keyMatrixLang"},
        {"keyMenu", "keyMenuMain", "keyMenuLang"},
        {"macroEditor", "macroEditorMain", "macroEditorLang"},
        {"gunControl", "gunControlMain", "gunControlLang"},
        {"macroKey", "macroKeyMain", "macroKeyLang"},
    };
    QSettings file(QStringLiteral(G7_SOURCE_DIR "/modules/i18n/lang_025044.ini"), QSettings::IniFormat);
    QCOMPARE(file.status(), QSettings::NoError);
    for (const Group &group : groups) {
        QObject *owner = group.object ? root->findChild<QObject *>(QLatin1String(group.object)) : root.data();
        QVERIFY2(owner, group.object);
        const QStringList english = owner->property(group.property).toStringList();
        file.beginGroup(QLatin1String(group.name));
        QCOMPARE(file.value(QStringLiteral("total")).toInt(), english.size());
        for (int i = 0; i < english.size(); ++i) {
            const QString chinese = file.value(QString::number(i)).toString();
            QVERIFY2(english.at(i).isEmpty() == chinese.isEmpty(),
                     qPrintable(QStringLiteral("%1/%2").arg(QLatin1String(group.name)).arg(i)));
            QVERIFY2(english.at(i).count(QLatin1Char('\n')) == chinese.count(QLatin1Char('\n')),
                     qPrintable(QStringLiteral("%1/%2 line breaks").arg(QLatin1String(group.name)).arg(i)));
        }
        file.endGroup();
    }
    file.beginGroup(QStringLiteral("other"));
    QCOMPARE(file.value(QStringLiteral("total")).toInt(), 8);
    for (int i = 0; i < 8; ++i)
        QVERIFY(!file.value(QString::number(i)).toString().isEmpty());
}

void tst_Page::trayIconHasSmallSizes()
{
    const QIcon icon(QStringLiteral(G7_SOURCE_DIR "/modules/img/trayIcon.ico"));
    const QList<QSize> sizes = icon.availableSizes();
    QVERIFY2(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)), qPrintable(QDebug::toString(sizes)));
    const QImage small = icon.pixmap(QSize(16, 16)).toImage();
    QVERIFY(small.pixelColor(8, 8).alpha() > 0);
}

QTEST_MAIN(tst_Page)
#include "tst_page.moc"
