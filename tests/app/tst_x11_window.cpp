// The window and the tray icon on a real X server, driven with real pointer
// events (xdotool) as a user would.

#include "support_appdata.h"
#include "support_xserver.h"

#include <devicewatch.h>
#include <renderer.h>
#include <uicontroler.h>
#include <widget.h>

#include <deviceoptions.h>
#include <myqquickview.h>
#include <pauses.h>
#include <simulatedg7.h>

#include <QApplication>
#include <QQuickItem>
#include <QtTest>


class TestX11Window : public QObject
{
    Q_OBJECT
public:
    explicit TestX11Window(VirtualScreen *screen) : screen(screen) {}

private slots:
    void initTestCase();
    void cleanupTestCase();
    void dragMovesWindowWithThePointer();
    void minimiseButtonThenSecondStartRestores();
    void closeButtonHidesToTrayAndDoubleClickRestores();

private:
    QPoint centreOf(const char *objectName);
    bool xdotool(const QStringList &args);

    VirtualScreen *screen;
    std::unique_ptr<AppDataDir> data;
    std::shared_ptr<SimulatedG7> mouse;
    std::unique_ptr<Widget> w;
};

// Repeater-made items are visual children only, so findChild() misses them.
QQuickItem *findItem(QQuickItem *parent, const QString &objectName)
{
    for (QQuickItem *child : parent->childItems()) {
        if (child->objectName() == objectName)
            return child;
        if (QQuickItem *found = findItem(child, objectName))
            return found;
    }
    return nullptr;
}

QPoint TestX11Window::centreOf(const char *objectName)
{
    QQuickItem *item = findItem(w->controller->view->rootObject(), QLatin1String(objectName));
    if (!item)
        return {};
    const QPointF inScene = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    return w->controller->view->mapToGlobal(inScene.toPoint());
}

// Runs xdotool without blocking the event loop, so the program handles each
// event while the pointer moves on.
bool xdotool(const VirtualScreen *screen, const QStringList &args)
{
    QProcess process;
    process.setProcessEnvironment(screen->environment());
    process.start(QStringLiteral("xdotool"), args);
    if (!process.waitForStarted())
        return false;
    QDeadlineTimer deadline(15000);
    while (process.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(10);
    QTest::qWait(100);
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool TestX11Window::xdotool(const QStringList &args)
{
    return ::xdotool(screen, args);
}

void TestX11Window::initTestCase()
{
    data = std::make_unique<AppDataDir>();
    QVERIFY(data->isValid());
    setSleeper(std::make_shared<RecordingSleeper>());
    DeviceOptions options;
    options.simulate = true;
    mouse = installDeviceBackend(options);
    QVERIFY(mouse);
    QVERIFY(QSystemTrayIcon::isSystemTrayAvailable());

    w = std::make_unique<Widget>();
    w->showNormal();
    w->checkDevice();
    QVERIFY(deviceReady);
    // The page takes input once its start-up lock has let go.
    QTest::qWait(200);
    QTRY_VERIFY_WITH_TIMEOUT(w->controller->view->isEnabled(), 3000);
}

void TestX11Window::cleanupTestCase()
{
    if (w) {
        w->hid.stopMonitor();
        w->hid.monitorFuture.waitForFinished();
    }
    w.reset();
    setHidBackend(nullptr);
    setSleeper(nullptr);
}

void TestX11Window::dragMovesWindowWithThePointer()
{
    const QPoint before = w->pos();
    // An empty stretch of the page between the mouse picture and the right panels.
    const QPoint start = w->mapToGlobal(QPoint(660, 80));
    QStringList args{QStringLiteral("mousemove"), QString::number(start.x()), QString::number(start.y()),
                     QStringLiteral("mousedown"), QStringLiteral("1")};
    for (int step = 1; step <= 4; ++step) {
        args << QStringLiteral("sleep") << QStringLiteral("0.15") << QStringLiteral("mousemove")
             << QString::number(start.x() + 15 * step) << QString::number(start.y() + 10 * step);
    }
    args << QStringLiteral("sleep") << QStringLiteral("0.15") << QStringLiteral("mouseup") << QStringLiteral("1");
    QVERIFY(xdotool(args));
    QTRY_COMPARE(w->pos(), before + QPoint(60, 40));
}

void TestX11Window::minimiseButtonThenSecondStartRestores()
{
    const QPoint button = centreOf("headerButton0");
    QVERIFY(!button.isNull());
    QVERIFY(xdotool({QStringLiteral("mousemove"), QString::number(button.x()), QString::number(button.y()),
                     QStringLiteral("click"), QStringLiteral("1")}));
    QTRY_VERIFY(w->isMinimized());

    w->receiveMessage(QString());
    QTRY_VERIFY(w->isVisible() && !w->isMinimized());
}

void TestX11Window::closeButtonHidesToTrayAndDoubleClickRestores()
{
    const QPoint button = centreOf("headerButton1");
    QVERIFY(!button.isNull());
    QVERIFY(xdotool({QStringLiteral("mousemove"), QString::number(button.x()), QString::number(button.y()),
                     QStringLiteral("click"), QStringLiteral("1")}));
    QTRY_VERIFY(!w->isVisible());
    QVERIFY(w->trayIcon->isVisible());

    const QPoint icon = w->trayIcon->geometry().center();
    QVERIFY(!w->trayIcon->geometry().isEmpty());
    QVERIFY(xdotool({QStringLiteral("mousemove"), QString::number(icon.x()), QString::number(icon.y()),
                     QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
                     QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")}));
    QTRY_VERIFY(w->isVisible());
}

int main(int argc, char **argv)
{
    VirtualScreen screen;
    if (!screen.start(true)) {
        qWarning("cannot start Xvfb and trayer");
        return 1;
    }
    qputenv("DISPLAY", screen.display().toLocal8Bit());
    qunsetenv("QT_QPA_PLATFORM");
    chooseQuickRenderer();
    QApplication app(argc, argv);
    TestX11Window test(&screen);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_x11_window.moc"
