// The tray agent's window on the simulated mouse under Xvfb, clicked by xdotool at a hand's pace;
// the trace shows what the mouse received (the key dialog's bytes: qml/keypages).

#include "support_xserver.h"
#include "x11page.h"

#include <deviceoptions.h>
#include <hookcallbacks.h>
#include <inputhook.h>
#include <renderer.h>
#include <uicontroler.h>
#include <widget.h>

#include <myqquickview.h>

#include <tempdatafolder.h>
#include <tracedblocks.h>

#include <QApplication>
#include <QQuickItem>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestX11KeyAssign : public QObject
{
    Q_OBJECT
public:
    explicit TestX11KeyAssign(VirtualScreen &screen) : screen(screen) {}

private slots:
    void initTestCase();
    void cleanupTestCase() { hook->uninstall(); }
    void everyClickOnTrackAndDialSends_data();
    void everyClickOnTrackAndDialSends();

private:
    myQQuickView *view() const { return w->controller->view; }
    QQuickItem *item(const QString &name) const { return page.item(name); }
    bool shown(const QString &name) const { return page.shown(name); }

    VirtualScreen &screen;
    X11Page page{screen, [this] { return view(); }};
    TempDataFolder data;
    std::unique_ptr<Widget> w;
    std::unique_ptr<InputHook> hook;
};

void TestX11KeyAssign::initTestCase()
{
    // The installation's data, with profile 1 as the defaults.
    QCOMPARE(screen.run(u"cp -r " G7_RUNTIME_DIR "/modules/setting " G7_RUNTIME_DIR "/modules/i18n "_s
                        + data.filePath(u"modules"_s)),
             0);
    QVERIFY(data.writeFile(u"modules/setting/p1.bin"_s, data.readFile(u"modules/setting/pD.bin"_s)));
    QVERIFY(installDeviceBackend({true, 1, data.filePath(u"trace.txt"_s)}));
    // As start-up builds them.
    w = std::make_unique<Widget>();
    hook = std::make_unique<InputHook>(false);
    HookCallbacks::registerWith(*hook, w.get());
    w->move(0, 0);
    w->showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->checkDevice();
    QTRY_VERIFY_WITH_TIMEOUT(shown(u"envItem"_s) && view()->isEnabled() && shown(u"keyRow3"_s), 10000);
}

void TestX11KeyAssign::everyClickOnTrackAndDialSends_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("code");          // of the block each click sends
    QTest::addColumn<QList<QPointF>>("at");  // the three clicks, in the target's coordinates
    QTest::newRow("DPI track") << u"dpiTrack0"_s << 0x07 << QList<QPointF>{{3, 30}, {3, 90}, {3, 150}};
    // The three quadrants other than the loaded rate's (top right).
    QTest::newRow("report-rate dial") << u"reportRateDial"_s << 0x01 << QList<QPointF>{{90, 90}, {25, 90}, {25, 25}};
}

// Pressed and released at a hand's pace, each click sends: the release that comes while the
// press's command runs still reaches the panel.
void TestX11KeyAssign::everyClickOnTrackAndDialSends()
{
    QFETCH(QString, target);
    QFETCH(int, code);
    QFETCH(QList<QPointF>, at);
    QQuickItem *panel = item(u"panelRightItem"_s);
    QQuickItem *it = item(target);
    QVERIFY(panel && it);
    // Scrolled as far as the target's panel needs, as the wheel would.
    const qreal bottom = it->mapToItem(panel->property("contentItem").value<QQuickItem *>(), QPointF(0, it->height())).y();
    panel->setProperty("contentY", qMax(0.0, bottom + 10 - panel->height()));
    const QString trace = data.filePath(u"trace.txt"_s);
    QList<QByteArray> sent = sentCommandBlocks(trace, uchar(code));
    for (const QPointF &p : at) {
        const QPoint global = view()->mapToGlobal(scenePoint(it, p));
        QCOMPARE(page.xdotool(u"mousemove %1 %2 mousedown 1 sleep 0.15 mouseup 1"_s.arg(global.x()).arg(global.y())), 0);
        QTRY_COMPARE(sentCommandBlocks(trace, uchar(code)).size(), sent.size() + 1);
        const QByteArray block = sentCommandBlocks(trace, uchar(code)).last();
        QVERIFY2(sent.isEmpty() || block != sent.last(), block.toHex(' '));
        sent.append(block);
    }
}

int main(int argc, char **argv) { return runOnVirtualScreen<TestX11KeyAssign>(argc, argv); }

#include "tst_x11_keyassign.moc"
