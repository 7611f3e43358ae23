// The tray agent: title and tray menu by language, what restores the window, the device watch.

#include <devicewatch.h>
#include <uicontroler.h>
#include <widget.h>

#include <deviceoptions.h>
#include <myqquickview.h>
#include <pauses.h>
#include <recordingpointersettings.h>
#include <simulatedg7.h>
#include <tempdatafolder.h>

#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QMutex>
#include <QSettings>
#include <QThreadPool>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int secondStart = -1, rescanDelayMs = 2048;
const QString english = u"ORVANE GLIDE MOUSE G7"_s, quit = u"Quit (&Q)"_s;

QMutex eventMutex;
QElapsedTimer sinceStart;
QStringList events; // what happened, in order
QHash<QString, qint64> firstTime; // when each first happened, in ms

void note(const QString &what)
{
    QMutexLocker lock(&eventMutex);
    events << what;
    firstTime.insert(what, firstTime.value(what, sinceStart.elapsed()));
}

// Notes what the device connection asks of the tray agent and passes it on.
struct HostRecorder : DeviceHost {
    Widget *w = nullptr;
    void deviceConnected(int device) override { note(u"connected %1"_s.arg(device)); w->deviceConnected(device); }
    void showNotice(const QString &title, const QString &text) override { note(title + QLatin1String(": ") + text); }
    void setViewEnabled(bool on) override { note(on ? u"view on"_s : u"view off"_s); w->setViewEnabled(on); }
    void hideWindow() override { note(u"hidden"_s); w->hideWindow(); }
    void clearHidBusy() override { note(u"busy cleared"_s); w->clearHidBusy(); }
    QVariant language() const override { return w->language(); }
};

} // namespace

class TestWidget : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        for (const char *file : {"setting/apConfig.bin", "setting/name.bin", "setting/pD.bin", "img/trayIcon.ico"})
            QVERIFY(data.copyFromSource(u"modules/"_s + QLatin1String(file)));
    }
    void titleAndTrayMenuFollowLanguage_data();
    void titleAndTrayMenuFollowLanguage();
    void autostartSwitchFollowsFile();
    void restoreOnlyWhileConnected_data();
    void restoreOnlyWhileConnected();
    void deviceWatchPlugUnplugReplug();

private:
    TempDataFolder data;
};

void TestWidget::titleAndTrayMenuFollowLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("quitText");
    QTest::newRow("Chinese") << "ChineseSimplified" << u"ORVANE GLIDE 游戏鼠标 G7"_s << u"退出"_s;
    QTest::newRow("English") << "English" << english << quit;
    QTest::newRow("none stored") << QString() << english << quit;
    QTest::newRow("case differs") << "chinesesimplified" << english << quit;
}

void TestWidget::titleAndTrayMenuFollowLanguage()
{
    QFETCH(QString, language);
    QSettings config(data.filePath(u"modules/setting/apConfig.bin"_s), QSettings::IniFormat);
    language.isNull() ? config.remove(u"common/language"_s) : config.setValue(u"common/language"_s, language);
    config.sync();
    Widget w;
    recordPointerSettings(*w.controller->view);
    QTEST(w.windowTitle(), "title");
    QCOMPARE(w.trayIcon->toolTip(), english);
    QTEST(w.trayIcon->contextMenu()->actions().last()->text(), "quitText");
}

// The tray menu's autostart switch as the user sees and clicks it, with the entry changed
// behind its back (as --autostart does) and with a folder that cannot be written.
void TestWidget::autostartSwitchFollowsFile()
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    const QString entry = config.filePath(u"autostart/orvane-g7.desktop"_s);
    Widget w;
    QMenu *menu = w.trayIcon->contextMenu();
    QAction *toggle = menu->findChild<QAction *>(u"autostartAction"_s);
    QVERIFY(toggle && toggle->isCheckable() && menu->actions().contains(toggle));
    const auto shownChecked = [menu, toggle] {
        menu->popup(QPoint(0, 0));   // the menu reads the entry as it opens
        const bool checked = toggle->isChecked();
        menu->hide();
        return checked;
    };
    QVERIFY(!shownChecked());
    toggle->trigger();
    QVERIFY(toggle->isChecked() && QFile::exists(entry));
    QFile written(entry);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll().split('\n').contains(u"Exec=\"%1\" --hidden"_s.arg(QCoreApplication::applicationFilePath()).toUtf8()));
    if (!QStandardPaths::findExecutable(u"desktop-file-validate"_s).isEmpty())
        QCOMPARE(QProcess::execute(u"desktop-file-validate"_s, {entry}), 0);
    QVERIFY(QFile::remove(entry));
    QVERIFY(!shownChecked());
    QFile other(entry);   // as `--autostart on` of another copy writes it
    QVERIFY(other.open(QIODevice::WriteOnly) && other.write("[Desktop Entry]\n") > 0);
    other.close();
    QVERIFY(shownChecked());
    toggle->trigger();
    QVERIFY(!QFile::exists(entry) && !shownChecked());

    // A config folder that is a file: one line says so, the switch stays off.
    QFile blocker(config.filePath(u"file"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    qputenv("XDG_CONFIG_HOME", blocker.fileName().toLocal8Bit());
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(u"^cannot write %1/autostart/orvane-g7.desktop: "_s
                                                            .arg(QRegularExpression::escape(blocker.fileName()))));
    toggle->trigger();
    QVERIFY(!toggle->isChecked());
    qunsetenv("XDG_CONFIG_HOME");
}

void TestWidget::restoreOnlyWhileConnected_data()
{
    // The X11 test restores a minimised window by a second start, a hidden one by a double-click.
    QTest::addColumn<int>("request"); // a tray activation reason, or secondStart
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("restored");
    QTest::newRow("second start, connected") << secondStart << true << true;
    QTest::newRow("second start, never connected") << secondStart << false << false;
    QTest::newRow("double-click, connected") << int(QSystemTrayIcon::DoubleClick) << true << true;
    QTest::newRow("double-click, never connected") << int(QSystemTrayIcon::DoubleClick) << false << false;
    QTest::newRow("single click, connected") << int(QSystemTrayIcon::Trigger) << true << false;
    QTest::newRow("middle click, connected") << int(QSystemTrayIcon::MiddleClick) << true << false;
    QTest::newRow("context menu, connected") << int(QSystemTrayIcon::Context) << true << false;
}

void TestWidget::restoreOnlyWhileConnected()
{
    QFETCH(int, request);
    QFETCH(bool, connected);
    Widget w;
    recordPointerSettings(*w.controller->view);
    w.controller->onClose();
    deviceReady = connected;
    request == secondStart ? w.receiveMessage({}) : w.trayIconActivated(QSystemTrayIcon::ActivationReason(request));
    QVERIFY(!w.isVisible()); // the restore is posted, never done inside the request
    QTest::qWait(50);
    QTEST(w.isVisible(), "restored");
}

void TestWidget::deviceWatchPlugUnplugReplug()
{
    sinceStart.start();
    static QtMessageHandler prior = qInstallMessageHandler([](QtMsgType t, const QMessageLogContext &c, const QString &s) {
        if (s.startsWith(QLatin1String("Device ")))
            note(s);
        prior(t, c, s);
    });
    // Commands pause 128 ms each on a real mouse; the timing under test is the watch's own.
    setSleeper(std::make_shared<RecordingSleeper>());
    const std::shared_ptr<SimulatedG7> mouse = installDeviceBackend(DeviceOptions{true, 1, {}});
    mouse->unplug();
    Widget w;
    recordPointerSettings(*w.controller->view);
    HostRecorder recorder;
    recorder.w = &w;
    w.hid.owner = &recorder;
    DeviceWatch watch;
    w.watchDevices(&watch);
    connect(mouse.get(), &SimulatedG7::devicesChanged, &watch, &DeviceWatch::deviceChanged);
    w.showNormal();
    w.checkDevice(); // no mouse: nothing to connect, and no periodic rescans
    QVERIFY(!deviceReady && !w.pollTimer.isActive());
    // Plug in; a second notification of the same burst arrives 600 ms later.
    mouse->plug();
    QTest::qWait(600);
    const qint64 lastChange = sinceStart.elapsed();
    emit watch.deviceChanged();
    QTRY_VERIFY_WITH_TIMEOUT(deviceReady, 5000);
    const qint64 delay = firstTime.value(u"Device Connect"_s) - lastChange;
    QVERIFY2(delay >= rescanDelayMs && delay < rescanDelayMs + 400, qPrintable(QString::number(delay)));
    // The page's own start-up lock may hold the view for its first second.
    QTRY_VERIFY_WITH_TIMEOUT(w.controller->view->isEnabled(), 2000);
    emit watch.deviceChanged(); // another USB device while connected: no rescan
    QVERIFY(!w.pollTimer.isActive());
    // Unplug: the monitor notices within its 500 ms wait and the view is disabled.
    const qint64 unplugged = sinceStart.elapsed();
    mouse->unplug();
    QTRY_VERIFY_WITH_TIMEOUT(!w.controller->view->isEnabled(), 2000);
    const qint64 noticed = firstTime.value(u"view off"_s) - unplugged;
    QVERIFY2(noticed >= 0 && noticed <= 750, qPrintable(QString::number(noticed)));
    // Replug: one rescan after the delay; the page is usable again and one monitor runs.
    mouse->plug();
    QVERIFY(w.pollTimer.isActive());
    QTRY_VERIFY_WITH_TIMEOUT(w.hid.monitorRunning, rescanDelayMs + 2000);
    QTRY_VERIFY_WITH_TIMEOUT(w.controller->view->isEnabled(), 1000);
    QCOMPARE(QThreadPool::globalInstance()->activeThreadCount(), 1);
    w.hid.stopMonitor();
    w.hid.monitorFuture.waitForFinished();
    const QString connecting = u", Device Connect, connected 1, view on, busy cleared, Info: Detect Mouse!"_s;
    QCOMPARE(events.join(u", "), u"Device Error, hidden"_s + connecting + u", Device removed, view off"_s + connecting);
}

QTEST_MAIN(TestWidget)
#include "tst_widget.moc"
