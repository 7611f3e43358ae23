#include "widget.h"

#include "autostartaction.h"
#include "desktopnotifier.h"
#include "devicewatch.h"
#include "instancecommands.h"
#include "profilelinks.h"
#include "uicontroler.h"
#include "userevent.h"
#include "windowrestore.h"

#include <commandpump.h>
#include <datapath.h>
#include <discovery.h>
#include <myqquickview.h>
#include <profilekeys.h>
#include <storefile.h>

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QFileInfo>
#include <QIcon>
#include <QMenu>
#include <QPixmapCache>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QResizeEvent>

#if defined(__GLIBC__)
#  include <malloc.h>
#endif

#if defined(Q_OS_WIN)
#  include <QtCore/qt_windows.h>
#endif

namespace {

constexpr int rescanDelayMs = 2048;
const QString programName = QStringLiteral("ORVANE GLIDE MOUSE G7");
const QString dpiNoticeKey = QStringLiteral("dpi");

bool isDpiNotice(const QString &text)
{
    for (const QString &prefix : dpiSwitchText) {
        if (!prefix.isEmpty() && text.startsWith(prefix + QLatin1Char(' ')))
            return true;
    }
    return false;
}

const char trayMenuStyle[] =
    "QMenu { border: 1px solid rgb(100, 100, 100); background: rgb(68, 69, 73); } "
    "QMenu::item { height: 22px; padding: 0px 25px 0px 20px; } "
    "QMenu::item:enabled { color: rgb(225, 225, 225); } "
    "QMenu::item:!enabled { color: rgb(155, 155, 155); } "
    "QMenu::item:enabled:selected { color: rgb(230, 230, 230); background: rgba(255, 255, 255, 40); } "
    "QMenu::separator { height: 1px; background: rgb(100, 100, 100); } "
    "QMenu::indicator { width: 13px; height: 13px; } "
    "QMenu::icon { padding-left: 2px; padding-right: 2px; } ";

} // namespace

Widget::Widget(QWidget *parent)
    : QWidget(parent), hid(this)
{
    controller = new Ui_Controler;
    controller->setupUi(this);

    controller->view->hid = &hid;
    controller->view->rootContext()->setContextProperty(QStringLiteral("ui_Links"),
                                                        new ProfileLinks(controller->view, hid, *this, this));
    setCommandPumpHold([] { return QGuiApplication::mouseButtons() != Qt::NoButton; });

    shiftDown = false;
    altDown = false;

    pollTimer.setInterval(rescanDelayMs);
    pollTimer.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the rescan waits the full delay.
    pollTimer.setTimerType(Qt::PreciseTimer);
    connect(&pollTimer, &QTimer::timeout, this, &Widget::checkDevice);

    // The tray icon's scaled pixmap is all this cache would hold, and a non-empty cache arms
    // a 30 s expiry timer that wakes the idle program; Qt Quick keeps its own images.
    QPixmapCache::setCacheLimit(0);
    const QString iconFile = dataPath(QStringLiteral("./modules/img/trayIcon.ico"));
    trayIcon = new QSystemTrayIcon(this);
    buildTrayMenu();
    trayIcon->setToolTip(programName);
    trayIcon->setIcon(QIcon(iconFile));
    connect(trayIcon, &QSystemTrayIcon::activated, this, &Widget::trayIconActivated);
    trayIcon->setVisible(true);
    notifier = new DesktopNotifier(programName, QFileInfo(iconFile).absoluteFilePath(), this);
}

Widget::~Widget()
{
    hid.stopMonitor();
    controller->deleteLater();
}

void Widget::buildTrayMenu()
{
    const bool zh = chinese();
    statusAction = new QAction(this);
    statusAction->setEnabled(false); // a line of information, not a command
    auto *showAction = new QAction(zh ? QStringLiteral("显示窗口") : tr("Show window"), this);
    connect(showAction, &QAction::triggered, this, &Widget::showWindow);
    auto *quitAction = new QAction(zh ? QStringLiteral("退出") : tr("Quit (&Q)"), this);
    connect(quitAction, &QAction::triggered, this, &Widget::exitSYS);
    auto *trayMenu = new QMenu(this);
    trayMenu->addAction(statusAction);
    trayMenu->addSeparator();
    trayMenu->addAction(showAction);
    trayMenu->addAction(new AutostartAction(zh ? QStringLiteral("开机自动启动") : tr("Start with the desktop"), trayMenu));
    trayMenu->addAction(quitAction);
    trayMenu->setStyleSheet(QString::fromLatin1(trayMenuStyle));
    trayIcon->setContextMenu(trayMenu);
    setMouseState(MouseState::NoMouse, false);
}

bool Widget::chinese() const
{
    return language().toString() == QLatin1String(ProfileKey::chineseLanguage);
}

void Widget::setMouseState(MouseState state, bool reveal)
{
    mouseState = state;
    QString status;
    if (state == MouseState::Usable) {
        status = hid.did < uint(hid.devList.size()) ? hid.devList.at(int(hid.did)).productName : QString();
        if (status.isEmpty())
            status = programName;
    } else {
        status = chinese() ? QStringLiteral("未连接鼠标") : tr("No mouse");
    }
    statusAction->setText(status);
    // Queued, as the page's initUI is: a connection's start and its state arrive in order.
    if (controller->view->rootObject())
        controller->view->page().setMouseState(int(state), reveal);
}

void Widget::startWithoutMouse(MouseState state)
{
    setMouseState(state, !trayHostAvailable());
}

void Widget::showWindow()
{
    if (mouseState != MouseState::Usable)
        setMouseState(mouseState, true);
    postRestore(this);
}

void Widget::closeWindow()
{
    if (trayHostAvailable())
        setVisible(false);
    else
        showMinimized();
}

void Widget::watchDevices(DeviceWatch *watch)
{
    connect(watch, &DeviceWatch::deviceChanged, this, &Widget::deviceChangeNotified);
}

void Widget::deviceChangeNotified()
{
    // Restarting the single-shot timer folds a burst into one rescan.
    if (!hid.monitorRunning)
        pollTimer.start();
}

void Widget::trayIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::DoubleClick)
        showWindow();
}

void Widget::checkDevice()
{
    runDiscovery(hid, StoreFile::format(), controller->view->store.productNames());
}

void Widget::exitSYS()
{
    hid.stopMonitor();
    hid.stopCommands();
    quitChosen = true;
    QCoreApplication::exit(0);
}

void Widget::receiveMessage(QString msg)
{
    Q_UNUSED(msg);
    showWindow();
}

void Widget::deviceConnected(int curDevice)
{
    controller->view->initUI(curDevice);
    QCoreApplication::postEvent(this, new UserEvent(UserEvent::RunPage));
}

void Widget::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // After the hide has been drawn and handled.
    QTimer::singleShot(0, this, &Widget::releaseHiddenMemory);
}

void Widget::showEvent(QShowEvent *event)
{
    // The pictures let go of in the tray come back before the first frame.
    controller->view->page().setInTray(false);
    QWidget::showEvent(event);
}

void Widget::releaseHiddenMemory()
{
    if (isVisible() && !isMinimized())
        return;
    myQQuickView *view = controller->view;
    view->page().setInTray(true);
    if (QQuickWindow *window = view->quickWindow()) {
        // The software scene graph holds a picture until its next frame, which a hidden window
        // never draws: one drawn off screen lets go of those the page let go of.
        if (window->rendererInterface()->graphicsApi() == QSGRendererInterface::Software)
            view->grabFramebuffer();
        window->releaseResources();
    }
    if (QQmlEngine *engine = view->engine())
        engine->collectGarbage();
    if (!isVisible())
        releaseFrames();
#if defined(__GLIBC__)
    // glibc keeps freed memory mapped until told; the page's creation left megabytes of it.
    malloc_trim(0);
#endif
}

void Widget::releaseFrames()
{
    myQQuickView *view = controller->view;
    QQuickWindow *window = view->quickWindow();
    if (window && window->rendererInterface()->graphicsApi() == QSGRendererInterface::Software) {
        if (!shownViewSize.isValid())
            shownViewSize = view->size();
        // A hidden widget gets its resize event only when it shows: sent now, so the view's frame shrinks now.
        view->resize(1, 1);
        QResizeEvent resized(view->size(), shownViewSize);
        QCoreApplication::sendEvent(view, &resized);
    }
#if !defined(Q_OS_WIN)
    // The desktop's copy of the window goes with the native window; showing makes both again.
    // (On Windows the restore is a message to that window, so it stays.)
    destroy(true, true);
#endif
}

void Widget::setVisible(bool visible)
{
    // Before the show, so the view gets its size back in its first resize event.
    if (visible && shownViewSize.isValid()) {
        controller->view->resize(shownViewSize);
        shownViewSize = QSize();
    }
    QWidget::setVisible(visible);
}

void Widget::customEvent(QEvent *event)
{
    if (event->type() != QEvent::User)
        return;
    const auto *request = dynamic_cast<UserEvent *>(event);
    if (request && request->code == UserEvent::RunPage)
        controller->view->runUI();
}

#if defined(Q_OS_WIN)
bool Widget::nativeEvent(const QByteArray &eventType, void *message, qintptr *result)
{
    Q_UNUSED(result);
    if (eventType == "windows_generic_MSG") {
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == SC_RESTORE)
            restoreWindow(this);
    }
    return false; // the default window procedure still runs
}
#endif

void Widget::showNotice(const QString &title, const QString &text)
{
    // Once no command or connect step runs: building the balloon takes milliseconds (its icon is
    // looked up in the icon theme), and the page's start, queued the same way, goes first.
    // The task lives in hid, a member, so it never outlives this widget.
    hid.runWhenIdle([this, title, text] {
        if (trayHostAvailable())
            trayIcon->showMessage(title, text, QSystemTrayIcon::Information, DesktopNotifier::expireMs);
        else
            notifier->notify(title, text, isDpiNotice(text) ? dpiNoticeKey : QString());
    });
}

void Widget::setViewEnabled(bool enabled)
{
    controller->view->setEnabled(enabled);
    // The device layer turns the view on when a mouse connects and off when it is lost.
    const bool wasShown = isVisible() && !isMinimized();
    setMouseState(enabled ? MouseState::Usable : MouseState::NoMouse, wasShown);
}

void Widget::hideWindow()
{
    // Without a tray there is no way back from hiding: the window says why instead.
    if (trayHostAvailable())
        setVisible(false);
    setMouseState(MouseState::NoMouse, !trayHostAvailable());
}

void Widget::clearHidBusy()
{
    controller->view->clearHidBusy();
}

QVariant Widget::language() const
{
    return controller->view->getLang();
}

QString Widget::secrecyCode(uint did) const
{
    return controller->view->store.secrecyCode(did);
}

PeerAnswer Widget::runCommand(const QStringList &args)
{
    return runInstanceCommand(args, controller->view, hid);
}
