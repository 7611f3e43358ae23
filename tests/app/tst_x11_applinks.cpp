// Profiles following the application in front: Xvfb with openbox and real X clients, links set by command and by
// the profile page's dialog, a switch refused under a dialog, clicks at a hand's pace on the DPI track and rate dial.

#include "support_runonscreen.h"

#include <autoswitch.h>
#include <deviceoptions.h>
#include <pauses.h>
#include <uicontroler.h>
#include <platform/activewindowwatch.h>
#include <profilelinks.h>
#include <widget.h>

#include <myqquickview.h>
#include <pageitems.h>
#include <tempdatafolder.h>
#include <tracedblocks.h>

#include <algorithm>

#include <QQmlContext>
#include <QQuickItem>
#include <QtTest>

#include <xcb/xcb.h>

using namespace Qt::StringLiterals;

class TestX11AppLinks : public QObject
{
    Q_OBJECT
public:
    explicit TestX11AppLinks(VirtualScreen &screen) : screen(screen) {}

private slots:
    void initTestCase()
    {
        QCOMPARE(screen.run(u"cp -r " G7_RUNTIME_DIR "/modules/setting " G7_RUNTIME_DIR "/modules/i18n "_s
                            + data.filePath(u"modules"_s)), 0);
        QVERIFY(data.writeFile(u"modules/setting/name.bin"_s, "[profile]\nprofileName=Standard0, Game1, Race2, Work3\n"));
        QVERIFY(installDeviceBackend({true, 1, data.filePath(u"trace.txt"_s)}));
        setSleeper(std::make_shared<RecordingSleeper>());   // the device layer's pauses return at once
        screen.launch(u"openbox --sm-disable"_s);
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
        w->showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->checkDevice();
        QTRY_VERIFY_WITH_TIMEOUT(shown(u"envItem"_s) && view()->isEnabled(), 10000);
        QCOMPARE(command({u"--link"_s, u"XLogo"_s, u"1"_s}), u"XLogo linked to profile 1 (Game)\n"_s);
        QCOMPARE(command({u"--link"_s, u"Racer"_s, u"2"_s}), u"Racer linked to profile 2 (Race)\n"_s);
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
    std::unique_ptr<Widget> w;
    QMap<QString, QString> windows;   // XLogo, XLogo2, Racer, XTerm -> id
};

int main(int argc, char **argv) { return runOnVirtualScreen<TestX11AppLinks>(argc, argv); }

#include "tst_x11_applinks.moc"
