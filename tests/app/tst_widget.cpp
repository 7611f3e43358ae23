// The tray agent: title and tray menu by language, closing to the tray and restoring, notices on
// the desktop's notification service, the device watch, the view's focus. Its single instance with real processes,
// copies of this test acting as the program: leftovers in the temporary folder, idle peers, a caller gone during its
// command, a copy-data endpoint out of descriptors.

#include <autoswitch.h>
#include <copydataendpoint.h>
#include <devicewatch.h>
#include <qtsinglecoreapplication.h>
#include <uicontroler.h>
#include <widget.h>

#include <deviceoptions.h>
#include <myqquickview.h>
#include <pauses.h>
#include <privatesessionbus.h>
#include <recordingpointersettings.h>
#include <simulatedg7.h>
#include <tempdatafolder.h>

#include <QLineEdit>
#include <QLocalSocket>
#include <QMenu>
#include <QQuickItem>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

constexpr int secondStart = -1, showMenuEntry = -2;
const QString english = u"ORVANE GLIDE MOUSE G7"_s;

class TestWidget : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        for (const char *file : {"setting/apConfig.bin", "setting/name.bin", "setting/pD.bin", "img/trayIcon.ico"})
            QVERIFY(data.copyFromSource(u"modules/"_s + QLatin1String(file)));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), program));
        // The copies keep their lock and socket in a folder of their own, where the first start shows their names.
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        QVERIFY(startHolder());
        const QStringList locks = QDir(temp.path()).entryList({u"*.lock"_s});
        QCOMPARE(locks.size(), 1);
        lockPath = temp.filePath(locks.first());
        socketPath = lockPath.chopped(5);
    }

    void closeAndBringBack_data()
    {
        // Closed to the tray (without one it minimises: app/x11_program); every way back works before a connection.
        // The title and the tray menu are in the stored language, Chinese only as spelled there.
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("request"); // a tray activation reason, or one of the others
        QTest::addColumn<bool>("connected");
        QTest::addColumn<bool>("restored");
        QTest::addColumn<int>("shownState"); // the page's no-mouse state afterwards; -1: page not shown
        QTest::newRow("second start, never connected, no language") << QString() << secondStart << false << true << 1;
        QTest::newRow("menu, connected, Chinese") << u"ChineseSimplified"_s << showMenuEntry << true << true << -1;
        QTest::newRow("single click, Chinese in lower case")
            << u"chinesesimplified"_s << int(QSystemTrayIcon::Trigger) << false << false << -1;
    }
    void closeAndBringBack()
    {
        QFETCH(int, request);
        QFETCH(bool, connected);
        QFETCH(QString, language);
        QSettings config(data.filePath(u"modules/setting/apConfig.bin"_s), QSettings::IniFormat);
        language.isNull() ? config.remove(u"common/language"_s) : config.setValue(u"common/language"_s, language);
        config.sync();
        Widget w;
        recordPointerSettings(*w.controller->view);
        const bool chinese = language == u"ChineseSimplified"_s;
        QCOMPARE(w.windowTitle(), chinese ? u"ORVANE GLIDE 游戏鼠标 G7"_s : english);
        QCOMPARE(w.trayIcon->toolTip(), english);
        QStringList menu;
        for (const QAction *action : w.trayIcon->contextMenu()->actions())
            menu << action->text();
        QCOMPARE(menu, (chinese ? QStringList{u"未连接鼠标"_s, QString(), u"显示窗口"_s, u"开机自动启动"_s, u"退出"_s}
                                : QStringList{u"No mouse"_s, QString(), u"Show window"_s, u"Start with the desktop"_s, u"Quit (&Q)"_s}));
        QVERIFY(!w.trayIcon->contextMenu()->actions().first()->isEnabled()); // a status line, no command
        w.trayHostAvailable = [] { return true; };
        w.show();
        deviceReady = connected;
        if (connected)
            w.setViewEnabled(true); // what a connection does
        QMetaObject::invokeMethod(w.controller, "onClose"); // the page's close button
        QQuickItem *root = w.controller->view->rootObject();
        QTRY_VERIFY(root->property("inTray").toBool()); // the large pictures are let go of
        QVERIFY(!w.windowHandle());   // and the window's frames with its native window
        if (request == secondStart) {
            w.receiveMessage({});
        } else if (request == showMenuEntry) {
            w.trayIcon->contextMenu()->actions().at(2)->trigger();
        } else {
            w.trayIconActivated(QSystemTrayIcon::ActivationReason(request));
        }
        QCoreApplication::sendPostedEvents(); // the restore and the page's state are posted
        QTEST(w.isVisible() && !w.isMinimized(), "restored");
        if (w.isVisible())   // drawn in full again
            QCOMPARE(w.controller->view->grabFramebuffer().size(), QSize(1000, 640));
        QCOMPARE(root->property("inTray").toBool(), !w.isVisible() || w.isMinimized());
        QQuickItem *notice = root->findChild<QQuickItem *>(u"mouseStateNotice"_s);
        QTEST(root->isVisible() ? notice->property("mouseState").toInt() : -1, "shownState");
        deviceReady = false;
    }

    // The tray menu's autostart switch, the entry changed behind its back (as --autostart does), an unwritable folder.
    void autostartSwitchFollowsFile()
    {
        qputenv("XDG_CONFIG_HOME", temp.path().toLocal8Bit());
        const QString entry = temp.filePath(u"autostart/orvane-g7.desktop"_s);
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
        toggle->trigger();
        QVERIFY(toggle->isChecked() && QFile::exists(entry));   // its Exec line: app/cli commands(autostart on)
        QVERIFY(QFile::remove(entry) && !shownChecked());
        QFile other(entry);   // as `--autostart on` of another copy writes it
        QVERIFY(other.open(QIODevice::WriteOnly) && other.write("[Desktop Entry]\n") > 0);
        QVERIFY(shownChecked());
        toggle->trigger();
        QVERIFY(!QFile::exists(entry) && !shownChecked());
        // A config folder that is a file: one line says so, the switch stays off.
        QFile blocker(temp.filePath(u"file"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        qputenv("XDG_CONFIG_HOME", blocker.fileName().toLocal8Bit());
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(u"^cannot write %1/autostart/orvane-g7.desktop: "_s
                                                                .arg(QRegularExpression::escape(blocker.fileName()))));
        toggle->trigger();
        QVERIFY(!toggle->isChecked());
        qunsetenv("XDG_CONFIG_HOME");
    }

    // Plugged in after the start, DPI switched twice, unplugged and plugged again: the rescans, the page, the tray
    // menu's status line and the desktop's notices (without a tray host) as the user meets them.
    void deviceWatchAndNotices()
    {
        NotificationServer server;
        QVERIFY2(server.start(qgetenv("DBUS_SESSION_BUS_ADDRESS")), "no private session bus (dbus-daemon)");
        // Commands pause 128 ms each on a real mouse; the timing under test is the watch's own.
        setSleeper(std::make_shared<RecordingSleeper>());
        const std::shared_ptr<SimulatedG7> mouse = installDeviceBackend(DeviceOptions{true, 1, {}});
        mouse->unplug();
        Widget w;
        recordPointerSettings(*w.controller->view);
        bool trayHost = false;
        w.trayHostAvailable = [&trayHost] { return trayHost; };
        DeviceWatch watch;
        w.watchDevices(&watch);
        connect(mouse.get(), &SimulatedG7::devicesChanged, &watch, &DeviceWatch::deviceChanged);
        w.showNormal();
        w.checkDevice(); // no mouse: nothing to connect, and no periodic rescans
        QVERIFY(!deviceReady && !w.pollTimer.isActive());
        // One rescan, the full 2048 ms after the last change of a burst: a precise single shot restarted by each.
        QCOMPARE(w.pollTimer.interval(), 2048);
        QVERIFY(w.pollTimer.isSingleShot() && w.pollTimer.timerType() == Qt::PreciseTimer);
        mouse->plug();
        QVERIFY(w.pollTimer.isActive() && !deviceReady);
        QTRY_VERIFY_WITH_TIMEOUT(deviceReady, 5000);
        // The page's own start-up lock may hold the view for its first second.
        QTRY_VERIFY_WITH_TIMEOUT(w.controller->view->isEnabled(), 2000);
        emit watch.deviceChanged(); // another USB device while connected: no rescan
        QVERIFY(!w.pollTimer.isActive());   // only with the monitor running
        QTRY_COMPARE(server.calls.size(), 1);
        // Two DPI switches in a row: the second replaces the first, even sent before its id came back.
        dpiStageValues[1] = 1600;
        dpiStageValues[2] = 3200;
        mouse->emitDpiEvent(2);
        mouse->emitDpiEvent(3);
        QTRY_COMPARE(server.calls.size(), 3);
        // With a tray host the balloon shows it; without, a notice that replaces none.
        trayHost = true;
        w.showNotice(u"Info"_s, u"Detect Mouse!"_s);
        QCoreApplication::sendPostedEvents();
        trayHost = false;
        w.showNotice(u"Info"_s, u"Mouse found, but no permission to open it."_s);
        mouse->unplug();
        QTRY_VERIFY_WITH_TIMEOUT(!w.controller->view->isEnabled(), 2000);
        // The window says the mouse is gone, and so does the tray menu's status line.
        QQuickItem *notice = w.controller->view->rootObject()->findChild<QQuickItem *>(u"mouseStateNotice"_s);
        QTRY_COMPARE(notice->property("mouseState").toInt(), 1);
        QAction *status = w.trayIcon->contextMenu()->actions().first();
        QCOMPARE(status->text(), u"No mouse"_s);
        // Replug: one rescan after the delay; the page is usable again and one monitor runs.
        mouse->plug();
        QTRY_VERIFY_WITH_TIMEOUT(w.hid.monitorRunning, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(w.controller->view->isEnabled(), 1000);
        QTRY_COMPARE(notice->property("mouseState").toInt(), 0);
        QCOMPARE(status->text(), u"ORVANE GLIDE MOUSE G7"_s); // the model's name (catalogue model 1)
        QCOMPARE(QThreadPool::globalInstance()->activeThreadCount(), 1);
        // One connection notice for each of the two connects.
        QTRY_COMPARE(server.calls, (QStringList{u"1 replaces 0: Info | Detect Mouse!"_s,
                                            u"2 replaces 0: Info | DPI Switch to 1600"_s,
                                            u"2 replaces 2: Info | DPI Switch to 3200"_s,
                                            u"3 replaces 0: Info | Mouse found, but no permission to open it."_s,
                                            u"4 replaces 0: Info | Detect Mouse!"_s}));
        QCOMPARE(server.appNames, QStringList(5, english));
        QCOMPARE(server.timeouts, QList<int>(5, 10000));
        QVERIFY2(server.icons.first().startsWith(QLatin1Char('/')) && QFile::exists(server.icons.first()), qPrintable(server.icons.first()));
        deviceReady = false;
    }

    // The view keeps the page's keyboard focus when the window loses and regains it.
    void typingGoesOnAfterFocusComesBack()
    {
        QVERIFY(data.writeFile(u"page.qml"_s, "import QtQuick 2.0\nRectangle { width: 300; height: 80\n"
                                              "  TextInput { objectName: \"field\"; width: 280; height: 30 } }\n"));
        QWidget window; // the tray agent's window, the view inside it as in the program
        myQQuickView *view = new myQQuickView(&window);
        recordPointerSettings(*view);
        view->setSource(QUrl::fromLocalFile(data.filePath(u"page.qml"_s)));
        QQuickItem *field = view->rootObject()->findChild<QQuickItem *>(u"field"_s);
        QVERIFY(field);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(20, 15)); // into the field
        QTest::keyClicks(view, u"first"_s);
        QLineEdit other;
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QTRY_VERIFY(!view->hasFocus());
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClicks(view, u" second"_s);
        QCOMPARE(field->property("text").toString(), u"first second"_s);
    }

    // When the profile follows the application in front: focus changes and their settling driven by hand (the
    // timer's timeout is settle()), the switches that come out (plain, back and hand-picked ones: app/x11_desktop).
    void switches_data()
    {
        // Links: XLogo -> 1, XClock -> 2; profile 0 is current at first. Words: a class gets the focus,
        // "-" a window without class, "s" the interval ends, "pick3" the user picks profile 3,
        // "busy"/"free" a command or dialog starts/ends, "down"/"up" the page can/cannot switch.
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("switches");
        QTest::newRow("alt-tab through three windows sends once") << u"XTerm XLogo XClock s"_s << u"2"_s;
        QTest::newRow("window without class") << u"XLogo s - s"_s << u"1"_s;
        QTest::newRow("already current") << u"pick1 XLogo s XTerm s"_s << QString();
        QTest::newRow("busy defers") << u"busy XLogo s s free s"_s << u"1"_s;
        QTest::newRow("no page, tried at the next change") << u"down XLogo s up XClock XLogo s"_s << u"1"_s;
    }
    void switches()
    {
        QFETCH(QString, events);
        int current = 0;
        bool busy = false, pageUp = true;
        QStringList made;
        AutoSwitch::Hooks hooks;
        hooks.linkedProfile = [](const QString &c) { return c == u"XLogo"_s ? 1 : c == u"XClock"_s ? 2 : -1; };
        hooks.currentProfile = [&] { return current; };
        hooks.switchTo = [&](int profile) {
            if (pageUp) {
                current = profile;
                made << QString::number(profile);
            }
            return pageUp;
        };
        hooks.busy = [&] { return busy; };
        AutoSwitch autoSwitch(hooks);
        QCOMPARE(autoSwitch.timer().interval(), 300);
        for (const QString &word : events.split(u' ')) {
            if (word == u"s"_s) {
                autoSwitch.settle();
                QCOMPARE(autoSwitch.timer().isActive(), busy); // deferred while busy: the interval runs again
            } else if (word.startsWith(u"pick"_s)) {
                current = word.mid(4).toInt();
            } else if (word == u"busy"_s || word == u"free"_s) {
                busy = word == u"busy"_s;
            } else if (word == u"down"_s || word == u"up"_s) {
                pageUp = word == u"up"_s;
            } else {
                autoSwitch.focusChanged(word == u"-"_s ? QString() : word);
                QCOMPARE(autoSwitch.timer().isActive(), word != u"-"_s);
            }
        }
        QTEST(made.join(u' '), "switches");
    }

    void leftoversDoNotStopStart_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("directory at the lock") << u"lock dir"_s;
        QTest::newRow("directory at the socket") << u"socket dir"_s;
        QTest::newRow("socket and lock file of a killed copy") << u"socket"_s;
        // A temporary folder that cannot hold the socket: the abstract name, said once.
        QTest::newRow("temporary folder too deep for a socket") << u"deep temp"_s;
        QTest::newRow("temporary folder a file") << u"file temp"_s;
    }
    void leftoversDoNotStopStart()
    {
        QFETCH(QString, kind);
        QCOMPARE(QProcess::execute(u"rm"_s, {u"-rf"_s, lockPath, socketPath}), 0);   // the last row's leftover
        if (kind.endsWith(u" dir"_s)) {
            QVERIFY(QDir().mkpath((kind == u"lock dir"_s ? lockPath : socketPath) + u"/inner"_s));
        } else if (kind == u"socket") {   // as a killed copy leaves them, the lock file holding its process id
            QVERIFY(startHolder());
            holder.kill();
            QVERIFY(holder.waitForFinished() && QFileInfo::exists(socketPath));
        }
        const QString folder = temp.filePath(kind == u"deep temp"_s ? QString(100, u'd') : u"plain-file"_s);
        if (kind.endsWith(u" temp"_s)) {
            QFile file(folder);
            QVERIFY(kind == u"deep temp"_s ? QDir().mkpath(folder) : file.open(QIODevice::WriteOnly));
            qputenv("TMPDIR", QFile::encodeName(folder));
        }
        QVERIFY2(startHolder(), "a leftover in the temporary folder stopped the start");
        verifyHandOver();
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        QCOMPARE(holder.readAllStandardError().count("; using the abstract socket name orvane-g7-"), kind.endsWith(u" temp"_s) ? 1 : 0);
    }

    void idlePeersDroppedAndCallerGoneDuringCommand()
    {
        QVERIFY(startHolder());
        // Peers that connect and never send: one says half a message, the rest nothing.
        QLocalSocket peers[40];
        for (QLocalSocket &peer : peers) {
            peer.connectToServer(socketPath);
            QVERIFY(peer.waitForConnected(2000));
        }
        peers[0].write(QByteArray("\0\0\0\x10\0a", 6));
        const auto closed = [](const QLocalSocket &p) { return p.state() == QLocalSocket::UnconnectedState; };
        QTRY_VERIFY_WITH_TIMEOUT(std::all_of(std::begin(peers), std::end(peers), closed), 10000);
        QProcess caller;
        caller.start(program, {u"--command"_s, u"--until-gone"_s});
        QByteArray out;
        QTRY_VERIFY2_WITH_TIMEOUT((out += holder.readAllStandardOutput()).contains("command --until-gone"), out.constData(), 5000);
        // Ctrl+C on the waiting caller while the command still runs.
        QCOMPARE(::kill(pid_t(caller.processId()), SIGINT), 0);
        QVERIFY(caller.waitForFinished(5000));
        verifyHandOver();
    }

    void copyDataEndpointOutOfDescriptors()
    {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(temp.path()));
        // UBSan's type check probes memory through a pipe, which a process out of descriptors cannot make.
        if (qEnvironmentVariableIsSet("UBSAN_OPTIONS"))
            QSKIP("the sanitizer build cannot run out of descriptors (UBSan's type check needs a pipe)");
        QProcess endpoint;
        endpoint.start(program, {u"--copydata"_s});
        QByteArray out, err;
        QTRY_VERIFY2_WITH_TIMEOUT((out += endpoint.readAllStandardOutput()).contains("ready\n"), out.constData(), 5000);
        const QString path = temp.filePath(u"orvane-g7-copydata"_s);
        // More callers than it has descriptors left: it stops taking them but keeps listening.
        const QByteArray full = "copy-data endpoint cannot take a connection: Too many open files; trying again every 1000 ms";
        {
            QLocalSocket callers[12];
            for (QLocalSocket &caller : callers)
                caller.connectToServer(path);
            QTRY_VERIFY2_WITH_TIMEOUT((err += endpoint.readAllStandardError()).contains(full), err.constData(), 5000);
        }
        QLocalSocket caller;
        caller.connectToServer(path);
        QVERIFY(caller.waitForConnected(2000));
        caller.write(QByteArray("\x0f\x25\0\0\x03\0\0\0abc", 11));   // record 0x250F, 3 bytes
        QTRY_VERIFY2_WITH_TIMEOUT((out += endpoint.readAllStandardOutput()).contains("record 9487 abc\n"), out.constData(), 10000);
        QCOMPARE((err += endpoint.readAllStandardError()).count(full), 1);
        endpoint.kill();
        endpoint.waitForFinished();
    }

private:
    // Starts the copy as the first instance, the one before killed; true once it says it is ready.
    bool startHolder()
    {
        holder.kill();
        holder.waitForFinished();
        holder.start(program, {u"--hold"_s});
        QByteArray out;
        return QTest::qWaitFor([&] { return (out += holder.readAllStandardOutput()).contains("ready\n"); }, 3000);
    }
    // A second start hands over: exits 1 promptly (the destructor kills it after 4 s) and the holder gets the empty message.
    void verifyHandOver()
    {
        QProcess second;
        second.start(program, {u"--hold"_s});
        QVERIFY(second.waitForFinished(4000));
        QCOMPARE(second.exitCode(), 1);
        QByteArray out;
        QTRY_VERIFY2_WITH_TIMEOUT((out += holder.readAllStandardOutput()).contains("received []"), out.constData(), 3000);
    }

    TempDataFolder data;
    QTemporaryDir install, temp;   // temp: the copies' temporary folder, also the config and runtime folder
    const QString program = install.filePath(u"orvane-g7"_s);
    QString lockPath, socketPath;
    QProcess holder;
};

int main(int argc, char **argv)
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "--hold") {
        // The program's first steps: hand over when another copy runs, else report every message.
        QtSingleCoreApplication app(argc, argv);
        if (app.isRunning()) {
            app.sendMessage(QString(), 5000);
            return 1;
        }
        QObject::connect(&app, &QtSingleCoreApplication::messageReceived, [](const QString &message) {
            QTextStream(stdout) << "received [" << message << "]\n";
        });
        // As a device command does: events are pumped while it runs, here until its caller's connection is gone.
        app.setCommandHandler([&app](const QStringList &args) {
            QTextStream(stdout) << "command " << args.join(u' ') << Qt::endl;
            while (app.findChild<QLocalSocket *>())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            // The device's work allocates meanwhile: memory just freed is written again.
            std::vector<QByteArray> blocks;   // eight of each size from 16 to 1024 bytes, freed on return
            for (int i = 0; i < 8 * 64; ++i)
                blocks.emplace_back(16 * (1 + i / 8), char(0xA5));
            return PeerAnswer{0, u"done\n"_s, QString()};
        });
        QTextStream(stdout) << "ready\n";
        return app.exec();
    }
    if (mode == "--command") {
        // A later copy handing its command over and waiting for the answer.
        QCoreApplication app(argc, argv);
        SingleInstancePeer peer;
        PeerAnswer answer;
        return peer.isRunning() && peer.sendCommand(app.arguments().mid(2), 30000, &answer) ? answer.code : 3;
    }
    if (mode == "--copydata") {
        // The endpoint with room for two more descriptors; it prints each record it gets.
        QCoreApplication app(argc, argv);
        CopyDataEndpoint endpoint;
        endpoint.open();
        QObject::connect(&endpoint, &CopyDataEndpoint::recordReceived, [](quint32 identifier, const QByteArray &bytes) {
            QTextStream(stdout) << "record " << identifier << ' ' << bytes << Qt::endl;
        });
        // New descriptors take the lowest free numbers, and none may reach the limit.
        const int lowestFree = ::dup(0);
        ::close(lowestFree);
        const rlimit limit{rlim_t(lowestFree + 2), rlim_t(lowestFree + 2)};
        ::setrlimit(RLIMIT_NOFILE, &limit);
        QTextStream(stdout) << "ready" << Qt::endl;
        return app.exec();
    }
    // Before the application object, which may open the session bus for its tray.
    PrivateSessionBus bus;
    bus.useAsSessionBus();
    QApplication app(argc, argv);
    TestWidget test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_widget.moc"
