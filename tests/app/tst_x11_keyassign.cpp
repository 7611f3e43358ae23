// The tray agent's window on the simulated mouse under Xvfb, driven by xdotool alone: the pointer
// clicks the button panel, the function menu and the key dialog, the keyboard gives the dialog
// its key (through XRecord, and through the window with XRecord off); the trace shows what the
// mouse received.

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
    void cleanup()
    {
        // A dialog left open by a failed case would take the next case's clicks.
        if (QTest::currentTestFailed() && shown(u"singleKeyMain"_s))
            QMetaObject::invokeMethod(item(u"singleKeyMain"_s), "closeSure");
    }
    void recordKeyInDialog_data();
    void recordKeyInDialog();
    void everyClickOnTrackAndDialSends_data();
    void everyClickOnTrackAndDialSends();

private:
    myQQuickView *view() const { return w->controller->view; }
    QQuickItem *item(const QString &name) const { return page.item(name); }
    bool shown(const QString &name) const { return page.shown(name); }
    QString text(const QString &name) const { return page.text(name); }
    int click(const QString &name) { return page.click(name); }
    QList<QByteArray> matrices() const { return sentKeyMatrices(data.filePath(u"trace.txt"_s)); }
    QString profileLine(int entry) const
    {
        const QString file = QString::fromUtf8(data.readFile(u"modules/setting/p1.bin"_s));
        const int at = file.indexOf(u"\n%1="_s.arg(entry), file.indexOf(u"[keydefine_J2]"));
        return at < 0 ? QString() : file.mid(at + 1).section(u'\n', 0, 0);
    }
    void useSource(const QString &wanted) { useHookSource(*hook, *w, source, wanted); }

    VirtualScreen &screen;
    X11Page page{screen, [this] { return view(); }};
    const QString shotDir = qEnvironmentVariable("G7_QML_SHOT_DIR", QDir::currentPath()); // before the data folder
    TempDataFolder data;
    std::unique_ptr<Widget> w;
    std::unique_ptr<InputHook> hook;
    QString source;
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
    source = u"xrecord"_s;
    w->move(0, 0);
    w->showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->checkDevice();
    QTRY_VERIFY_WITH_TIMEOUT(shown(u"envItem"_s) && view()->isEnabled() && shown(u"keyRow3"_s), 10000);
    QCOMPARE(text(u"keyText3"_s), u"Forward"_s);
}

void TestX11KeyAssign::recordKeyInDialog_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("button");        // row of the panel
    QTest::addColumn<QString>("keyPress");  // xdotool arguments
    QTest::addColumn<QString>("name");      // shown in the dialog
    QTest::addColumn<int>("usage");
    // Through XRecord the key counts while another window has the focus; the window alone sees only its own.
    QTest::newRow("xrecord, tray focused") << u"xrecord"_s << 1 << u"search --onlyvisible --class trayer windowfocus key F5"_s
                                           << u"F5"_s << 0x3E;
    QTest::newRow("window only") << u"window"_s << 2 << u"key KP_Enter"_s << u"KP Enter"_s << 0x58;
}

void TestX11KeyAssign::recordKeyInDialog()
{
    QFETCH(QString, source);
    QFETCH(int, button);
    QFETCH(QString, keyPress);
    QFETCH(QString, name);
    QFETCH(int, usage);
    useSource(source);
    QCOMPARE(click(u"keyRow%1"_s.arg(button)), 0);
    QTRY_VERIFY(shown(u"keyMenuMain"_s));
    QCOMPARE(click(u"menuEntry10"_s), 0);   // "Assign Keyboard Key"
    QTRY_VERIFY(shown(u"singleKeyMain"_s) && !shown(u"keyMenuMain"_s));
    QCOMPARE(text(u"singleKeyName"_s), QString());

    QCOMPARE(page.xdotool(keyPress), 0);
    QTRY_COMPARE(text(u"singleKeyName"_s), name);
    // The dialog as the X server shows it, kept for a look by eye.
    QCOMPARE(screen.run(u"import -window root %1/x11_keydialog-%2.png"_s.arg(shotDir, source)), 0);
    const int before = int(matrices().size());
    QCOMPARE(click(u"singleKeyOk"_s), 0);
    QTRY_VERIFY(!shown(u"singleKeyMain"_s));
    QTRY_COMPARE(matrices().size(), before + 1);
    QCOMPARE(text(u"keyText%1"_s.arg(button)), u"Button Assignment"_s + name);
    // Entry bytes 1, 0, usage, 0 reach the mouse reversed.
    const QByteArray entry = matrices().last().mid(4 * button, 4);
    QCOMPARE(QString::fromLatin1(entry.toHex(' ')), u"00 %1 00 01"_s.arg(usage, 2, 16, QChar(u'0')));
    QCOMPARE(profileLine(button), u"%1=1, 0, %2, 0"_s.arg(button).arg(usage));
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
