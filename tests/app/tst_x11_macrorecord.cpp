// Macro recording as a user does it: the whole program (tray agent, page, hooks) on a traced
// simulated mouse under Xvfb, keys typed through XTest and clicks made with xdotool.

#include "support_xserver.h"
#include "x11page.h"

#include <hookcallbacks.h>
#include <inputhook.h>
#include <renderer.h>
#include <uicontroler.h>
#include <widget.h>

#include <deviceoptions.h>
#include <myqquickview.h>
#include <pauses.h>
#include <reporttrace.h>

#include <tempdatafolder.h>

#include <QApplication>
#include <QQuickItem>
#include <QtTest>

using namespace Qt::StringLiterals;

// Counts the button releases that reach the page, so a test waits for its own click to arrive.
struct ReleaseCounter : QObject
{
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::MouseButtonRelease;
        return false;
    }
};

class TestX11MacroRecord : public QObject
{
    Q_OBJECT
public:
    explicit TestX11MacroRecord(VirtualScreen &screen) : screen(screen) {}

private slots:
    void initTestCase();
    void cleanupTestCase();
    void abcRecorded();
    void sixtyEdgesThenNoMore();

private:
    myQQuickView *view() { return w->controller->view; }
    QQuickItem *item(const QString &name) { return page.item(name); }
    QObject *editor() { return view()->rootObject()->findChild<QObject *>(u"macroEditorMain"_s); }
    // A real click at an item's centre (or `dx` from its left edge).
    void click(const QString &name, int dx = -1)
    {
        const int before = releases.count;
        QCOMPARE(page.click(name, dx), 0);
        QTRY_VERIFY2(releases.count > before, qPrintable(name));
    }
    int xdotool(const QString &arguments) { return page.xdotool(arguments); }
    bool recording() { return editor()->property("isInputting").toBool(); }
    QStringList saved(const QString &macro)
    {
        const QStringList all = view()->loadMacroIni(macro);
        return all.mid(0, all.size() - 1);
    }
    static QStringList edges(const QStringList &entries) { return entries.filter(QRegularExpression(u"^[1-4],"_s)); }
    void record(const QString &typing, int keyEdges);

    VirtualScreen &screen;
    X11Page page{screen, [this] { return view(); }};
    TempDataFolder data;
    std::unique_ptr<Widget> w;
    std::unique_ptr<InputHook> hook;
    ReleaseCounter releases;
};

void TestX11MacroRecord::initTestCase()
{
    QVERIFY(data.copyFromSource(u"modules/setting/apConfig.bin"_s) && data.copyFromSource(u"modules/setting/pD.bin"_s));
    QVERIFY(data.writeFile(u"modules/setting/p1.bin"_s, data.readFile(u"modules/setting/pD.bin"_s)));
    DeviceOptions options;
    options.simulate = true;
    options.traceFile = data.filePath(u"trace.txt"_s);
    QVERIFY(installDeviceBackend(options));
    setSleeper(std::make_shared<RecordingSleeper>());
    w = std::make_unique<Widget>();
    hook = std::make_unique<InputHook>(false);
    HookCallbacks::registerWith(*hook, w.get());
    view()->installEventFilter(&releases);
    w->move(0, 0);
    w->showNormal();
    w->checkDevice();
    QTRY_VERIFY_WITH_TIMEOUT(page.shown(u"envItem"_s) && view()->isEnabled(), 5000);
    click(u"macroBtn"_s);
    QTRY_VERIFY(editor());
}

void TestX11MacroRecord::cleanupTestCase()
{
    hook->uninstall();
    w.reset();
    setSleeper(nullptr);
    ReportTrace::close();
}

// Start Record and the typing: `keyEdges` presses and releases reach the page (the editor takes what it may).
void TestX11MacroRecord::record(const QString &typing, int keyEdges)
{
    click(u"macroRecord"_s);
    QVERIFY(recording());
    QSignalSpy keys(view()->rootObject(), SIGNAL(msg_KB(bool, int)));
    for (const QString &part : typing.split(u'|'))
        QCOMPARE(xdotool(part), 0);   // returns when all is typed
    QTRY_COMPARE_WITH_TIMEOUT(keys.size(), keyEdges, 10000);
    QVERIFY(recording());
}

void TestX11MacroRecord::abcRecorded()
{
    click(u"macroNew"_s);
    QCOMPARE(view()->getNameList(0), (QVariantList{u"Macro_0"_s, u"loaderzenith"_s}));
    click(u"recTimeCheck"_s, 7);
    QVERIFY(editor()->property("recTimeChecked").toBool());
    record(u"type --delay 60 abc"_s, 6);
    QCOMPARE(editor()->property("eventModel").value<QObject *>()->property("count").toInt(), 11);
    view()->grabFramebuffer().save(QCoreApplication::applicationDirPath() + u"/x11_macroeditor_recording.png"_s);
    click(u"macroRecord"_s);
    QVERIFY(!recording());
    const QStringList entries = saved(u"Macro_0"_s);
    QCOMPARE(edges(entries), (QStringList{u"1,A"_s, u"2,A"_s, u"1,B"_s, u"2,B"_s, u"1,C"_s, u"2,C"_s}));
    // Between every two edges the delay the record timer counted, in whole 10 ms.
    QCOMPARE(entries.size(), 11);
    for (int i = 1; i < entries.size(); i += 2)
        QVERIFY2(QRegularExpression(u"^0,(0|\\d*0)$"_s).match(entries[i]).hasMatch(), qPrintable(entries[i]));
}

void TestX11MacroRecord::sixtyEdgesThenNoMore()
{
    click(u"macroNew"_s);
    record(u"type --delay 15 abcdefghijklmnopqrstuvwxyzabcdefg"_s, 66);
    QCOMPARE(editor()->property("eventModel").value<QObject *>()->property("count").toInt(), 119);
    click(u"macroRecord"_s);
    const QStringList entries = saved(u"Macro_1"_s);
    QCOMPARE(edges(entries).size(), 60);
    QCOMPARE(edges(entries).last(), u"2,D"_s);   // 30 letters; the 31st's down edge is the 61st
}

int main(int argc, char **argv) { return runOnVirtualScreen<TestX11MacroRecord>(argc, argv); }

#include "tst_x11_macrorecord.moc"
