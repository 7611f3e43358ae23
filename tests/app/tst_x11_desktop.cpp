// The program's window on Xvfb with openbox and real X clients. Input: XTest input reaching the page's msg_KB /
// msg_MS through XRecord and the window alone, the show-window chord, copy-data records over the local socket with
// their boxes clicked shut, the endpoint's limits. Profiles following the application in front: links set by command
// and by the profile page's dialog, a switch refused under a dialog, clicks at a hand's pace on the DPI track and dial.

#include "support_xserver.h"

#include <autoswitch.h>
#include <copydataendpoint.h>
#include <deviceoptions.h>
#include <hookcallbacks.h>
#include <inputhook.h>
#include <pauses.h>
#include <uicontroler.h>
#include <platform/activewindowwatch.h>
#include <profilelinks.h>
#include <renderer.h>
#include <widget.h>

#include <myqquickview.h>
#include <pageitems.h>
#include <tempdatafolder.h>
#include <tracedblocks.h>

#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QLocalSocket>
#include <QMessageBox>
#include <QQmlContext>
#include <QQuickItem>
#include <QScreen>
#include <QtTest>

#include <xcb/xcb.h>

using namespace Qt::StringLiterals;

// A copy-data record as another program writes it to the socket.
static QByteArray record(quint32 identifier, const QByteArray &bytes, quint32 count)
{
    const quint32 header[] = {qToLittleEndian(identifier), qToLittleEndian(count)};
    return QByteArray(reinterpret_cast<const char *>(header), sizeof header) + bytes;
}

class TestX11Desktop : public QObject
{
    Q_OBJECT
public:
    explicit TestX11Desktop(VirtualScreen &screen) : screen(screen) {}

private slots:
    void initTestCase()
    {
        QCOMPARE(screen.run(u"cp -r " G7_RUNTIME_DIR "/modules/setting " G7_RUNTIME_DIR "/modules/i18n "_s
                            + data.filePath(u"modules"_s)), 0);
        QVERIFY(data.writeFile(u"modules/setting/name.bin"_s, "[profile]\nprofileName=Standard0, Game1, Race2, Work3\n"));
        QVERIFY(installDeviceBackend({true, 1, data.filePath(u"trace.txt"_s)}));
        setSleeper(std::make_shared<RecordingSleeper>());   // the device layer's pauses return at once
        // No key bindings: the window manager takes none of the keys the input rows press.
        QVERIFY(data.writeFile(u"rc.xml"_s, "<openbox_config xmlns=\"http://openbox.org/3.4/rc\"/>\n"));
        screen.launch(u"openbox --sm-disable --config-file "_s + data.filePath(u"rc.xml"_s));
        QTRY_VERIFY_WITH_TIMEOUT(screen.run(u"xprop -root -notype _NET_SUPPORTING_WM_CHECK"_s) == 0
                                 && screen.xdotool(u"getactivewindow"_s) != -1, 10000);
        for (const char *program : {"xlogo", "xlogo", "xterm -class Racer -e sleep 600", "xterm -e sleep 600"})
            screen.launch(QLatin1String(program));
        // The four clients map their windows in any order, the terminals often last.
        const auto found = [this] {
            const auto of = [this](const QString &name) { return screen.windows(u"--class ^%1$"_s.arg(name)).keys(); };
            windows = {{u"XLogo"_s, of(u"XLogo"_s).value(0)}, {u"XLogo2"_s, of(u"XLogo"_s).value(1)},
                       {u"Racer"_s, of(u"Racer"_s).value(0)}, {u"XTerm"_s, of(u"XTerm"_s).value(0)}};
            return std::none_of(windows.cbegin(), windows.cend(), [](const QString &id) { return id.isEmpty(); });
        };
        QTRY_VERIFY_WITH_TIMEOUT(found(), 10000);
        w = std::make_unique<Widget>();
        hook = std::make_unique<InputHook>(false);
        HookCallbacks::registerWith(*hook, w.get());
        keySpy = std::make_unique<QSignalSpy>(view()->rootObject(), SIGNAL(msg_KB(bool, int)));
        mouseSpy = std::make_unique<QSignalSpy>(view()->rootObject(), SIGNAL(msg_MS(bool, int, int, int)));
        w->move(0, 0);
        w->showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->checkDevice();
        QTRY_VERIFY_WITH_TIMEOUT(shown(u"envItem"_s) && view()->isEnabled(), 10000);
        QCOMPARE(command({u"--link"_s, u"XLogo"_s, u"1"_s}), u"XLogo linked to profile 1 (Game)\n"_s);
        QCOMPARE(command({u"--link"_s, u"Racer"_s, u"2"_s}), u"Racer linked to profile 2 (Race)\n"_s);
    }
    void cleanupTestCase() { hook->uninstall(); }

    void xtestInputReachesPage_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("expected");
        for (const QString source : {u"xrecord"_s, u"window"_s}) {
            const QByteArray s = source.toLatin1() + ": ";
            // The pointer rests on the window, in front (useSource).
            QTest::newRow(s + "Enter held, repeating")
                << source << u"mousemove 400 300 keydown Return keydown Return keydown Return keyup Return"_s
                << QStringList{u"kb 28 1"_s, u"kb 28 0"_s};
            // Win by keycode: xdotool would press a modifier's first key, the left one; the right one reports nothing.
            QTest::newRow(s + "keypad Enter, Print Screen, right and left Win")
                << source << u"key KP_Enter key Print key 134 key 133"_s
                << QStringList{u"kb 58 1"_s, u"kb 58 0"_s, u"kb 46 1"_s, u"kb 46 0"_s, u"kb e3 1"_s, u"kb e3 0"_s};
            QTest::newRow(s + "buttons, wheel")
                << source << u"mousemove 410 320 click 1 click 4 mousemove 400 300 click 3 click 2"_s
                << QStringList{u"ms f0 1 410 320"_s, u"ms f0 0 410 320"_s, u"ms f1 1 400 300"_s, u"ms f1 0 400 300"_s,
                               u"ms f2 1 400 300"_s, u"ms f2 0 400 300"_s};
        }
    }
    void xtestInputReachesPage()
    {
        QFETCH(QString, source);
        QFETCH(QString, input);
        QFETCH(QStringList, expected);
        useSource(source);
        QCOMPARE(screen.xdotool(input), 0);
        QTRY_COMPARE_WITH_TIMEOUT(pageReports().join(u", "), expected.join(u", "), 3000);
    }

    void showWindowChord()
    {
        useSource(u"xrecord"_s);
        activate({windows.value(u"XTerm"_s)});   // unlinked: the hidden window leaves no linked client in front
        w->hide();
        // F12 alone, then with Shift only: the window stays hidden (the A tells when they have passed).
        QCOMPARE(screen.xdotool(u"key F12 key shift+F12 key a"_s), 0);
        QTRY_VERIFY(pageReports().contains(u"kb 04 0"_s));
        QVERIFY(w->isHidden());
        QCOMPARE(screen.xdotool(u"key ctrl+shift+alt+F12"_s), 0);
        QTRY_VERIFY(w->isVisible());
    }

    void copyDataRecords_data()
    {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<int>("senders");      // each writes `sent` and, when hanging up, closes at once as socat does
        QTest::addColumn<bool>("hangUp");
        QTest::addColumn<QStringList>("shown"); // box texts in order; a cut one by its first 17 characters and "…"
        const QString caption = u"ORVANE GLIDE MOUSE G7|"_s;
        QTest::newRow("abc, count 4") << record(0x250F, QByteArray("abc", 4), 4) << 1 << false << QStringList{};
        QTest::newRow("other identifier") << record(0x2510, "abc", 3) << 1 << false << QStringList{};
        QTest::newRow("UTF-8 text") << record(0x250F, "\xc3\xbc", 2) << 1 << false << QStringList{caption + u"ü"_s};
        QTest::newRow("two in one write, sender gone") << record(0x250F, "x", 1) + record(0x250F, "yz", 2) << 1 << true
                                                       << QStringList{caption + u"x"_s, caption + u"yz"_s};
        QTest::newRow("20 senders at once") << record(0x250F, "each", 4) << 20 << true
                                            << QStringList(20, caption + u"each"_s);
        const QByteArray words = QByteArray("words ").repeated(CopyDataEndpoint::maxByteCount / 6 + 1).left(CopyDataEndpoint::maxByteCount);
        QTest::newRow("64 KiB text") << record(0x250F, words, words.size()) << 1 << true
                                     << QStringList{caption + u"words words words…"_s};
    }
    void copyDataRecords()
    {
        QFETCH(QByteArray, sent);
        QFETCH(int, senders);
        QFETCH(bool, hangUp);
        QFETCH(QStringList, shown);
        std::vector<QLocalSocket> sockets(senders + 1);
        for (int i = 0; i <= senders; ++i) {
            sockets[i].connectToServer(CopyDataEndpoint::socketPath());
            QVERIFY(sockets[i].waitForConnected(5000));
            // Last, a sender whose record does show a box tells when the ones before have been read.
            sockets[i].write(i < senders ? sent : record(0x250F, "end", 3));
            if (hangUp)
                sockets[i].disconnectFromServer();
            else
                QVERIFY(sockets[i].waitForBytesWritten(5000));
        }
        // The driver presses OK on each box as a user does; it runs from a timer, so also inside a box's own loop.
        const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
        QStringList boxes;
        QPointer<QMessageBox> pressed;
        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isActiveWindow() || box == pressed)   // active: placed by the window manager
                return;
            const QWidgetList all = QApplication::topLevelWidgets();
            const auto visible = std::count_if(all.begin(), all.end(), [](QWidget *w) { return qobject_cast<QMessageBox *>(w) && w->isVisible(); });
            QAbstractButton *ok = box->button(QMessageBox::Ok);
            const bool warningWithOk = box->icon() == QMessageBox::Warning && box->buttons().size() == 1 && ok;
            const QRect okArea = ok ? QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size()) : QRect();
            const QString text = box->text().endsWith(u'…') ? box->text().left(17) + u'…' : box->text();
            boxes << box->windowTitle() + u'|' + text + (warningWithOk ? u""_s : u" (not a warning)"_s)
                    + (visible == 1 ? u""_s : u" (%1 boxes shown)"_s.arg(visible))
                    + (room.contains(box->frameGeometry()) && room.contains(okArea) ? u""_s : u" (off the screen)"_s);
            pressed = box;
            if (ok)
                screen.click(okArea.center());
        });
        driver.start(20);
        QTRY_VERIFY_WITH_TIMEOUT(!boxes.filter(QRegularExpression(u"^ORVANE GLIDE MOUSE G7\\|end"_s)).isEmpty(), 60000);
        QTRY_VERIFY(!pressed || !pressed->isVisible());
        QCOMPARE(boxes, shown << u"ORVANE GLIDE MOUSE G7|end"_s);
    }

    void copyDataConnectionsBounded()
    {
        auto *endpoint = qApp->findChild<CopyDataEndpoint *>();
        QVERIFY(endpoint);
        const auto open = [endpoint] {
            const auto all = endpoint->findChildren<QLocalSocket *>();
            return std::count_if(all.begin(), all.end(), [](QLocalSocket *s) { return s->state() == QLocalSocket::ConnectedState; });
        };
        // Callers that connect and say nothing, more than the endpoint keeps.
        const int callers = CopyDataEndpoint::maxConnections + 4;
        std::vector<QLocalSocket> idle(callers);
        for (QLocalSocket &caller : idle) {
            caller.connectToServer(CopyDataEndpoint::socketPath());
            QVERIFY(caller.waitForConnected(5000));
        }
        const auto closed = [&idle] {
            return std::count_if(idle.begin(), idle.end(), [](QLocalSocket &s) {
                s.waitForReadyRead(0); // notices the endpoint's hang-up
                return s.state() == QLocalSocket::UnconnectedState;
            });
        };
        // Every caller is either kept or closed, whether or not the idle ones were dropped meanwhile.
        QTRY_COMPARE(open() + closed(), callers);
        QVERIFY2(open() <= CopyDataEndpoint::maxConnections, qPrintable(QString::number(open())));
        // The kept ones never say anything either: each waits on its own idle timer, not on the clock of this test.
        for (QLocalSocket *kept : endpoint->findChildren<QLocalSocket *>()) {
            const QTimer *timer = kept->findChild<QTimer *>(u"idle"_s);
            QVERIFY(kept->state() != QLocalSocket::ConnectedState
                    || (timer && timer->isActive() && timer->isSingleShot() && timer->interval() == 3000));
        }
    }

    void followsTheApplicationInFront()
    {
        // Each step: the focus (in one go), the profile and re-sends after it; `listed`: the dialog lists windows at once.
        struct Step { QString focus; int profile; int sends; bool listed = false; };
        const QList<Step> steps{
            {u"XTerm"_s, 0, 0},          // unlinked, nothing switched before
            {u"XLogo"_s, 1, 1},
            {u"Racer"_s, 2, 2},
            {u"XTerm XLogo XTerm"_s, 0, 3},   // back to the profile before the first switch, once
            {u"XLogo"_s, 1, 4},
            {u"pick"_s, 3, 5},           // by hand: stays while the application does
            {u"XLogo2"_s, 3, 5},
            {u"nameless"_s, 3, 5},
            {u"gone"_s, 3, 5},
            {u"Racer"_s, 2, 6},
            {u"XTerm"_s, 3, 7, true},    // and is the one to come back to
        };
        const int before = sends();
        auto *links = view()->rootContext()->contextProperty(u"ui_Links"_s).value<ProfileLinks *>();
        QVERIFY(links && links->findChild<ActiveWindowWatch *>());
        xcb_connection_t *xcb = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(xcb)).data->root;
        xcb_intern_atom_reply_t *active = xcb_intern_atom_reply(xcb, xcb_intern_atom(xcb, 0, 18, "_NET_ACTIVE_WINDOW"), nullptr);
        for (const Step &step : steps) {
            qInfo("focus %s", qPrintable(step.focus));
            QSignalSpy seen(links->findChild<ActiveWindowWatch *>(), &ActiveWindowWatch::activeChanged);
            QString last = step.focus.section(u' ', -1).remove(u'2');   // the class the program reads last
            const bool pick = step.focus == u"pick"_s;
            if (pick) {
                QCOMPARE(w->runCommand({u"--profile"_s, u"3"_s}).code, 0);
            } else if (step.focus == u"nameless"_s || step.focus == u"gone"_s) {   // root: no WM_CLASS; an unused id
                const uint32_t window = step.focus == u"gone"_s ? xcb_generate_id(xcb) : root;
                xcb_change_property(xcb, XCB_PROP_MODE_REPLACE, root, active->atom, XCB_ATOM_WINDOW, 32, 1, &window);
                xcb_flush(xcb);
                last = QString();
            } else {
                QStringList ids;
                for (const QString &name : step.focus.split(u' '))
                    ids << windows.value(name);
                activate(ids);
                if (step.listed)
                    links->openClasses();
            }
            // Once the program read the last change and the quiet interval is over, the switch is made.
            QTRY_VERIFY2_WITH_TIMEOUT(pick || (!seen.isEmpty() && seen.last().at(0).toString() == last),
                                      qPrintable(QDebug::toString(static_cast<const QList<QList<QVariant>> &>(seen))), 5000);
            QTRY_VERIFY(!links->autoSwitch()->timer().isActive());
            QCOMPARE(view()->store.curProfile, step.profile);
            QCOMPARE(sends() - before, step.sends);
            if (pick) {   // the profile page shows the switch (the panels re-read theirs: qml/panels)
                QCOMPARE(item(u"profileMain"_s)->property("profileNo").toInt(), step.profile);
                QCOMPARE(item(u"profileMain"_s)->property("currentIndex").toInt(), step.profile);
            }
        }
        free(active);
    }

    void everyClickOnTrackAndDialSends_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("code");          // of the block each click sends
        QTest::addColumn<QList<QPointF>>("at");  // the three clicks, in the target's coordinates
        QTest::newRow("DPI track") << u"dpiTrack0"_s << 0x07 << QList<QPointF>{{3, 30}, {3, 90}, {3, 150}};
        // The three quadrants other than the loaded rate's (top right).
        QTest::newRow("report-rate dial") << u"reportRateDial"_s << 0x01 << QList<QPointF>{{90, 90}, {25, 90}, {25, 25}};
    }

    // At a hand's pace with the mouse's real pauses each click sends: a release during the press's command counts.
    void everyClickOnTrackAndDialSends()
    {
        QFETCH(QString, target);
        QFETCH(int, code);
        QFETCH(QList<QPointF>, at);
        setSleeper(nullptr);
        const auto fastAgain = qScopeGuard([] { setSleeper(std::make_shared<RecordingSleeper>()); });
        activate({QString::number(w->winId())});   // in front of the clients, for the clicks
        QTRY_VERIFY_WITH_TIMEOUT(view()->isEnabled(), 5000);
        QQuickItem *panel = item(u"panelRightItem"_s);
        QQuickItem *it = item(target);
        QVERIFY(panel && it);
        // Scrolled as far as the target's panel needs, as the wheel would.
        const qreal bottom = it->mapToItem(panel->property("contentItem").value<QQuickItem *>(), QPointF(0, it->height())).y();
        panel->setProperty("contentY", qMax(0.0, bottom + 10 - panel->height()));
        const QString trace = data.filePath(u"trace.txt"_s);
        QList<QByteArray> sent = sentCommandBlocks(trace, uchar(code));
        for (const QPointF &p : at) {
            const QPoint xy = view()->mapToGlobal(scenePoint(it, p));
            QCOMPARE(screen.xdotool(u"mousemove %1 %2 mousedown 1 sleep 0.15 mouseup 1"_s.arg(xy.x()).arg(xy.y())), 0);
            QTRY_COMPARE(sentCommandBlocks(trace, uchar(code)).size(), sent.size() + 1);
            const QByteArray block = sentCommandBlocks(trace, uchar(code)).last();
            QVERIFY2(sent.isEmpty() || block != sent.last(), block.toHex(' '));
            sent.append(block);
        }
    }

    void linksFollowProfileChanges()
    {
        QCOMPARE(command({u"--links"_s}), u"Racer 2 (Race)\nXLogo 1 (Game)\n"_s);
        activate({QString::number(w->winId())});   // in front of the clients, for the clicks
        QTRY_VERIFY_WITH_TIMEOUT(view()->isEnabled(), 5000);   // the page's lock after a switch
        // With the reset question open a switch is refused and changes nothing.
        const int current = view()->store.savedProfile();
        QCOMPARE(click(u"restBtn"_s), 0);
        QTRY_VERIFY(shown(u"factorysure"_s));
        const PeerAnswer refused = w->runCommand({u"--profile"_s, u"1"_s});
        QCOMPARE(refused.err, u"the running program has a dialog open; close it and try again\n"_s);
        QCOMPARE(refused.code, 1);
        QCOMPARE(view()->store.savedProfile(), current);
        QVERIFY(shown(u"factorysure"_s) && shown(u"mainMask"_s));
        QCOMPARE(click(u"resetCancel"_s), 0);
        QTRY_VERIFY(!shown(u"factorysure"_s));
        // The profile page: Game deleted takes its link along, a copy into its number takes none, a rename keeps them.
        QCOMPARE(click(u"profileBtn"_s), 0);
        QTRY_VERIFY(shown(u"profileRow1"_s));
        const auto menu = [this](int row, int entry) {
            QCOMPARE(click(u"profileRow%1"_s.arg(row), 3), 0);
            QTRY_VERIFY(shown(u"profileMenuRow%1"_s.arg(entry)));
            QCOMPARE(click(u"profileMenuRow%1"_s.arg(entry)), 0);
        };
        menu(1, 0);   // Delete Game
        QTRY_COMPARE(command({u"--links"_s}), u"Racer 2 (Race)\n"_s);
        menu(1, 2);   // Copy Race: "Race(0)" as profile 1
        QTRY_COMPARE(command({u"--list"_s}).count(u"Race(0)"_s), 1);
        QCOMPARE(command({u"--links"_s}), u"Racer 2 (Race)\n"_s);
        menu(1, 1);   // Edit: Race is renamed Rally, its link stays
        QTRY_COMPARE(item(u"profileMain"_s)->property("editIndex").toInt(), 1);
        QCOMPARE(screen.xdotool(u"key ctrl+a type Rally"_s), 0);
        QCOMPARE(screen.xdotool(u"key Return"_s), 0);
        QTRY_COMPARE(command({u"--links"_s}), u"Racer 2 (Rally)\n"_s);
        // The dialog lists the open windows' classes; Add links one to the profile, Remove unlinks it.
        menu(1, 5);
        QTRY_VERIFY(shown(u"linkOpenList"_s));
        QTRY_VERIFY(item(u"linkOpenList"_s)->property("count").toInt() >= 2);
        int term = 0;
        while (item(u"linkOpenListRow%1"_s.arg(term))
               && item(u"linkOpenListRow%1"_s.arg(term))->property("windowClass") != u"XTerm"_s)
            ++term;
        QCOMPARE(click(u"linkOpenListRow%1"_s.arg(term)), 0);
        QCOMPARE(click(u"linkAdd"_s), 0);
        QTRY_COMPARE(command({u"--links"_s}), u"Racer 2 (Rally)\nXTerm 2 (Rally)\n"_s);
        QCOMPARE(click(u"linkRemove"_s), 0);   // the first linked: Racer
        QTRY_COMPARE(command({u"--links"_s}), u"XTerm 2 (Rally)\n"_s);
        QCOMPARE(click(u"linkClose"_s), 0);
        QTRY_VERIFY(!shown(u"linkOpenList"_s));
    }

private:
    // Where the hook takes keys from: "xrecord" (the whole X server) or "window" (the focused window alone).
    void useSource(const QString &wanted)
    {
        activate({QString::number(w->winId())});   // in front, for the keys and clicks
        if (wanted != source) {
            hook->uninstall();
            qputenv("G7_NO_XRECORD", wanted == u"window"_s ? "1" : "0");
            QVERIFY(hook->install());
            source = wanted;
        }
        // Once a Shift comes through, so has all input of earlier tests (the record stream can lag).
        clearPageReports();
        QCOMPARE(screen.xdotool(u"key Shift_L"_s), 0);
        QTRY_VERIFY(pageReports().contains(u"kb e1 0"_s));
        clearPageReports();
    }
    // Both spies in one list; within one row keys and buttons are not mixed.
    QStringList pageReports() const
    {
        QStringList all;
        for (const QList<QVariant> &args : *keySpy)
            all << u"kb %1 %2"_s.arg(args[1].toInt(), 2, 16, QChar(u'0')).arg(args[0].toBool());
        for (const QList<QVariant> &args : *mouseSpy)
            all << u"ms %1 %2 %3 %4"_s.arg(args[1].toInt(), 2, 16).arg(args[0].toBool()).arg(args[2].toInt()).arg(args[3].toInt());
        return all;
    }
    void clearPageReports() { keySpy->clear(), mouseSpy->clear(); }
    myQQuickView *view() const { return w->controller->view; }
    QQuickItem *item(const QString &name) const { return findItem(view()->rootObject(), name); }
    bool shown(const QString &name) const { return item(name) && item(name)->isVisible(); }
    // Moves the pointer to the item's centre and clicks `button` there; xdotool's exit code.
    int click(const QString &name, int button = 1) const
    {
        return shown(name) ? screen.click(view()->mapToGlobal(scenePoint(item(name))), QString::number(button)) : -2;
    }
    int sends() const { return int(sentKeyMatrices(data.filePath(u"trace.txt"_s)).size()); }
    QString command(const QStringList &args) const { return w->runCommand(args).out; }
    // Makes every window named active in turn, in one go: the program sees them only afterwards.
    void activate(const QStringList &windows)
    {
        QCOMPARE(screen.xdotool(u"windowactivate --sync "_s + windows.join(u" windowactivate --sync "_s)), 0);
    }
    VirtualScreen &screen;
    TempDataFolder data;
    std::unique_ptr<InputHook> hook;
    std::unique_ptr<Widget> w;
    std::unique_ptr<QSignalSpy> keySpy, mouseSpy;
    QString source = u"xrecord"_s;
    QMap<QString, QString> windows;   // XLogo, XLogo2, Racer, XTerm -> id
};

// Starts the private X server and runs the test there with a runtime folder of its own.
int main(int argc, char **argv)
{
    VirtualScreen screen;
    if (!screen.start())
        qFatal("Xvfb did not start: %s", qPrintable(screen.failure));
    qputenv("DISPLAY", screen.environment.value(QStringLiteral("DISPLAY")).toLocal8Bit());
    qunsetenv("QT_QPA_PLATFORM");
    qunsetenv("G7_NO_XRECORD");
    // The active window and the input are X11's here, whatever session the test was started from.
    qunsetenv("WAYLAND_DISPLAY");
    qunsetenv("XDG_SESSION_TYPE");
    QTemporaryDir runtime;   // the copy-data socket lives there
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    // The window draws as the program's does, without loading the GL driver.
    chooseQuickRenderer();
    QApplication app(argc, argv);
    TestX11Desktop test(screen);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_x11_desktop.moc"
