// The tray agent and its window as the rest of the program and the page see
// them: title and tray menu by language, the restore rules, the busy lock.

#include "support_appdata.h"

#include <uicontroler.h>
#include <widget.h>

#include <myqquickview.h>

#include <QMenu>
#include <QQmlContext>
#include <QQuickItem>
#include <QtTest>

class TestWidget : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void titleAndTrayMenuFollowLanguage_data();
    void titleAndTrayMenuFollowLanguage();
    void pageIsHostedWithItsThreeObjects();
    void restoreOnlyWhileConnected_data();
    void restoreOnlyWhileConnected();
    void setBusyLocksTheViewAtOnce();
};

void TestWidget::init()
{
    deviceReady = false;
}

void TestWidget::titleAndTrayMenuFollowLanguage_data()
{
    QTest::addColumn<QVariant>("language");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("quitText");

    const QString chineseTitle = QStringLiteral("ORVANE GLIDE 游戏鼠标 G7");
    const QString englishTitle = QStringLiteral("ORVANE GLIDE MOUSE G7");
    QTest::newRow("Chinese") << QVariant(QStringLiteral("ChineseSimplified")) << chineseTitle
                             << QStringLiteral("退出");
    QTest::newRow("English") << QVariant(QStringLiteral("English")) << englishTitle
                             << QStringLiteral("Quit (&Q)");
    QTest::newRow("no language stored") << QVariant() << englishTitle << QStringLiteral("Quit (&Q)");
    QTest::newRow("case differs") << QVariant(QStringLiteral("chinesesimplified")) << englishTitle
                                  << QStringLiteral("Quit (&Q)");
}

void TestWidget::titleAndTrayMenuFollowLanguage()
{
    QFETCH(QVariant, language);
    QFETCH(QString, title);
    QFETCH(QString, quitText);

    AppDataDir data;
    QVERIFY(data.isValid());
    data.setConfig(QStringLiteral("common/language"), language);

    Widget w;
    QCOMPARE(w.windowTitle(), title);
    QMenu *menu = w.trayIcon->contextMenu();
    QVERIFY(menu);
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions().first()->text(), quitText);
    QCOMPARE(w.trayIcon->toolTip(), QStringLiteral("ORVANE GLIDE MOUSE G7"));
}

void TestWidget::pageIsHostedWithItsThreeObjects()
{
    AppDataDir data;
    QVERIFY(data.isValid());
    Widget w;
    myQQuickView *view = w.controller->view;
    QVERIFY(view);
    QCOMPARE(view->parentWidget(), &w);
    QCOMPARE(view->hid, &w.hid);
    QVERIFY2(view->rootObject(), "main.qml did not load");
    QCOMPARE(w.size(), QSize(1000, 640));

    QQmlContext *context = view->rootContext();
    QCOMPARE(context->contextProperty(QStringLiteral("ui_View")).value<QObject *>(), view);
    QCOMPARE(context->contextProperty(QStringLiteral("hid")).value<QObject *>(), &w.hid);
    QCOMPARE(context->contextProperty(QStringLiteral("ui_Ctl")).value<QObject *>(), w.controller);
}

enum class Request { SecondStart, DoubleClick, SingleClick, MiddleClick, ContextMenu };

void TestWidget::restoreOnlyWhileConnected_data()
{
    QTest::addColumn<Request>("request");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("minimised");
    QTest::addColumn<bool>("restored");

    QTest::newRow("second start, connected, hidden") << Request::SecondStart << true << false << true;
    QTest::newRow("second start, connected, minimised") << Request::SecondStart << true << true << true;
    QTest::newRow("second start, never connected") << Request::SecondStart << false << false << false;
    QTest::newRow("double-click, connected, minimised") << Request::DoubleClick << true << true << true;
    QTest::newRow("double-click, never connected") << Request::DoubleClick << false << false << false;
    QTest::newRow("single click, connected") << Request::SingleClick << true << false << false;
    QTest::newRow("middle click, connected") << Request::MiddleClick << true << false << false;
    QTest::newRow("context menu, connected") << Request::ContextMenu << true << false << false;
}

void TestWidget::restoreOnlyWhileConnected()
{
    QFETCH(Request, request);
    QFETCH(bool, connected);
    QFETCH(bool, minimised);
    QFETCH(bool, restored);

    AppDataDir data;
    QVERIFY(data.isValid());
    Widget w;
    w.showNormal();
    if (minimised)
        w.showMinimized();
    else
        w.controller->onClose();
    QVERIFY(minimised ? w.isMinimized() : !w.isVisible());
    deviceReady = connected;

    switch (request) {
    case Request::SecondStart: w.receiveMessage(QString()); break;
    case Request::DoubleClick: w.trayIconActivated(QSystemTrayIcon::DoubleClick); break;
    case Request::SingleClick: w.trayIconActivated(QSystemTrayIcon::Trigger); break;
    case Request::MiddleClick: w.trayIconActivated(QSystemTrayIcon::MiddleClick); break;
    case Request::ContextMenu: w.trayIconActivated(QSystemTrayIcon::Context); break;
    }
    // The restore is posted, never done inside the request.
    if (restored)
        QCOMPARE(w.isVisible() && !w.isMinimized(), false);
    QTest::qWait(50);
    QCOMPARE(w.isVisible() && !w.isMinimized(), restored);
}

void TestWidget::setBusyLocksTheViewAtOnce()
{
    AppDataDir data;
    QVERIFY(data.isValid());
    Widget w;
    QVERIFY2(w.controller->view->rootObject(), "main.qml did not load");
    QVERIFY(w.controller->view->isEnabled());

    // A direct call: the page has locked the view before setBusy returns.
    w.controller->setBusy(5000);
    QVERIFY(!w.controller->view->isEnabled());
    // Interval 0 releases the lock at the next turn of the event loop.
    w.controller->setBusy();
    QTRY_VERIFY_WITH_TIMEOUT(w.controller->view->isEnabled(), 2000);
}

QTEST_MAIN(TestWidget)
#include "tst_widget.moc"
