#include "widget.h"

#include "autostartaction.h"
#include "devicewatch.h"
#include "instancecommands.h"
#include "uicontroler.h"
#include "userevent.h"
#include "windowrestore.h"

#include <datapath.h>
#include <discovery.h>
#include <myqquickview.h>
#include <profilekeys.h>

#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QMenu>
#include <QPixmapCache>
#include <QQmlEngine>
#include <QQuickWindow>

#if defined(__GLIBC__)
#  include <malloc.h>
#endif

#if defined(Q_OS_WIN)
#  include <QtCore/qt_windows.h>
#endif

namespace {

constexpr int rescanDelayMs = 2048;

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
    trayIcon = new QSystemTrayIcon(this);
    auto *quitAction = new QAction(tr("Quit (&Q)"), this);
    if (controller->view->getLang().toString() == QLatin1String(ProfileKey::chineseLanguage))
        quitAction->setText(QStringLiteral("退出"));
    connect(quitAction, &QAction::triggered, this, &Widget::exitSYS);
    auto *trayMenu = new QMenu(this);
    const bool chinese = controller->view->getLang().toString() == QLatin1String(ProfileKey::chineseLanguage);
    trayMenu->addAction(new AutostartAction(chinese ? QStringLiteral("开机自动启动") : tr("Start with the desktop"), trayMenu));
    trayMenu->addAction(quitAction);
    trayMenu->setStyleSheet(QString::fromLatin1(trayMenuStyle));
    trayIcon->setContextMenu(trayMenu);
    trayIcon->setToolTip(QStringLiteral("ORVANE GLIDE MOUSE G7"));
    trayIcon->setIcon(QIcon(dataPath(QStringLiteral("./modules/img/trayIcon.ico"))));
    connect(trayIcon, &QSystemTrayIcon::activated, this, &Widget::trayIconActivated);
    trayIcon->setVisible(true);
}

Widget::~Widget()
{
    hid.stopMonitor();
    controller->deleteLater();
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
    if (reason == QSystemTrayIcon::DoubleClick && deviceReady)
        postRestore(this);
}

void Widget::checkDevice()
{
    runDiscovery(hid);
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
    if (deviceReady)
        postRestore(this);
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

void Widget::releaseHiddenMemory()
{
    if (isVisible() && !isMinimized())
        return;
    myQQuickView *view = controller->view;
    if (QQuickWindow *window = view->quickWindow())
        window->releaseResources();
    if (QQmlEngine *engine = view->engine())
        engine->collectGarbage();
#if defined(__GLIBC__)
    // glibc keeps freed memory mapped until told; the page's creation left megabytes of it.
    malloc_trim(0);
#endif
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
    // Posted: building the balloon takes milliseconds, and the connection notice comes just
    // before the page's first script, which starts the busy lock.
    QMetaObject::invokeMethod(this, [this, title, text] {
        trayIcon->showMessage(title, text, QSystemTrayIcon::Information, 10000);
    }, Qt::QueuedConnection);
}

void Widget::setViewEnabled(bool enabled)
{
    controller->view->setEnabled(enabled);
}

void Widget::hideWindow()
{
    setVisible(false);
}

void Widget::clearHidBusy()
{
    controller->view->clearHidBusy();
}

QVariant Widget::language() const
{
    return controller->view->getLang();
}

PeerAnswer Widget::runCommand(const QStringList &args)
{
    return runInstanceCommand(args, controller->view, hid);
}
