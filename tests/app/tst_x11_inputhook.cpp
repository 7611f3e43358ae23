// The input hooks: the key procedure by table, then XTest input under Xvfb reaching the page's
// msg_KB / msg_MS through XRecord and through the window alone, the show-window chord and
// copy-data records over the local socket.

#include "support_xserver.h"
#include "x11page.h"

#include <copydataendpoint.h>
#include <hookcallbacks.h>
#include <inputhook.h>
#include <renderer.h>
#include <uicontroler.h>
#include <widget.h>

#include <myqquickview.h>

#include <tempdatafolder.h>

#include <QApplication>
#include <QLocalSocket>
#include <QMessageBox>
#include <QQuickItem>
#include <QtEndian>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QStringList reports; // what the callbacks of the procedure table test received

void noteKey(uchar usage, uchar down, void *) { reports << u"kb %1 %2"_s.arg(usage, 2, 16, QChar(u'0')).arg(down); }
void noteButton(uchar code, uchar down, int x, int y, void *)
{
    reports << u"ms %1 %2 %3 %4"_s.arg(code, 2, 16).arg(down).arg(x).arg(y);
}

// A copy-data record as another program writes it to the socket.
QByteArray record(quint32 identifier, const QByteArray &bytes, quint32 count)
{
    QByteArray out(8, '\0');
    qToLittleEndian(identifier, out.data());
    qToLittleEndian(count, out.data() + 4);
    return out + bytes;
}

} // namespace

class TestX11InputHook : public QObject
{
    Q_OBJECT
public:
    explicit TestX11InputHook(VirtualScreen &screen) : screen(screen) {}

private slots:
    void initTestCase();
    void cleanupTestCase() { hook->uninstall(); }
    void procedureTable_data();
    void procedureTable();
    void xtestInputReachesPage_data();
    void xtestInputReachesPage();
    void showWindowChord();
    void copyDataRecords_data();
    void copyDataRecords();

private:
    void useSource(const QString &wanted) { useHookSource(*hook, *w, source, wanted); }
    QStringList pageReports() const; // msg_KB and msg_MS so far, in order
    void clearPageReports() { keySpy->clear(), mouseSpy->clear(); }
    int xdotool(const QString &arguments) { return screen.run(u"xdotool "_s + arguments); }

    VirtualScreen &screen;
    TempDataFolder data;
    std::unique_ptr<InputHook> hook;
    std::unique_ptr<Widget> w;
    std::unique_ptr<QSignalSpy> keySpy, mouseSpy;
    QString source;
};

void TestX11InputHook::initTestCase()
{
    for (const char *file : {"setting/apConfig.bin", "setting/name.bin", "setting/pD.bin"})
        QVERIFY(data.copyFromSource(u"modules/"_s + QLatin1String(file)));
    w = std::make_unique<Widget>();
    hook = std::make_unique<InputHook>(false);
    HookCallbacks::registerWith(*hook, w.get());
    QObject *root = w->controller->view->rootObject();
    QVERIFY(root);
    keySpy = std::make_unique<QSignalSpy>(root, SIGNAL(msg_KB(bool, int)));
    mouseSpy = std::make_unique<QSignalSpy>(root, SIGNAL(msg_MS(bool, int, int, int)));
    w->move(0, 0);
    w->showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    source = u"xrecord"_s;
}

void TestX11InputHook::procedureTable_data()
{
    // Events "k <hook code> <message> <scan> <flags>" or "m <message> <x> <y>", all hexadecimal but x, y.
    QTest::addColumn<bool>("layoutFlag");
    QTest::addColumn<QString>("events");
    QTest::addColumn<QStringList>("expected");
    const QString enterHeld = u"k 0 100 1c 0;k 0 100 1c 0;k 0 104 1c 0;k 0 101 1c 0;k 0 105 1c 0"_s;
    QTest::newRow("held Enter: one edge each") << false << enterHeld << QStringList{u"kb 28 1"_s, u"kb 28 0"_s};
    QTest::newRow("other hook code is up") << false << u"k 0 100 1e 0;k 1 100 1e 0"_s
                                           << QStringList{u"kb 04 1"_s, u"kb 04 0"_s};
    QTest::newRow("keypad Enter") << false << u"k 0 100 1c 1"_s << QStringList{u"kb 58 1"_s};
    QTest::newRow("Print Screen") << false << u"k 0 100 37 1"_s << QStringList{u"kb 46 1"_s};
    QTest::newRow("Alt+Print Screen") << false << u"k 0 104 54 20;k 0 100 54 0"_s << QStringList{u"kb 46 1"_s};
    QTest::newRow("Ctrl+Break, Scroll") << false << u"k 0 100 46 1;k 0 100 46 0"_s
                                        << QStringList{u"kb 48 1"_s, u"kb 47 1"_s};
    QTest::newRow("Pause, Num Lock") << false << u"k 0 100 45 0;k 0 100 45 1"_s
                                     << QStringList{u"kb 48 1"_s, u"kb 53 1"_s};
    QTest::newRow("Windows keys, shifts") << false << u"k 0 100 5c 1;k 0 100 5b 1;k 0 100 36 0;k 0 100 36 1"_s
                                          << QStringList{u"kb e3 1"_s, u"kb e5 1"_s};
    QTest::newRow("scan above 255") << false << u"k 0 100 11e 0;k 0 100 56 0"_s << QStringList{u"kb 64 1"_s};
    QTest::newRow("layout key US") << false << u"k 0 100 2b 0"_s << QStringList{u"kb 31 1"_s};
    QTest::newRow("layout key non-US") << true << u"k 0 100 2b 0"_s << QStringList{u"kb 32 1"_s};
    QTest::newRow("buttons") << false << u"m 201 5 6;m 202 5 6;m 203 1 1;m 204 7 8;m 206 1 1;m 208 9 9"_s
                             << QStringList{u"ms f0 1 5 6"_s, u"ms f0 0 5 6"_s, u"ms f1 1 7 8"_s, u"ms f2 0 9 9"_s};
    QTest::newRow("move, wheel, extra") << false << u"m 200 1 1;m 20a 1 1;m 20b 1 1;m 209 1 1"_s << QStringList{};
}

void TestX11InputHook::procedureTable()
{
    QFETCH(bool, layoutFlag);
    QFETCH(QString, events);
    QFETCH(QStringList, expected);
    // A second object for the other layout; the page's callbacks come back afterwards.
    hook->uninstall();
    InputHook table(layoutFlag);
    table.uninstall();
    table.setKeyboardCallback(noteKey, nullptr);
    table.setMouseCallback(noteButton, nullptr);
    InputHook::clearKeyState();
    reports.clear();
    for (const QString &event : events.split(u';')) {
        const QStringList f = event.split(u' ');
        if (f[0] == u"k")
            InputHook::keyboardProcedure(f[1].toInt(), f[2].toUInt(nullptr, 16), f[3].toUInt(nullptr, 16),
                                         f[4].toUInt(nullptr, 16));
        else
            InputHook::mouseProcedure(0, f[1].toUInt(nullptr, 16), f[2].toInt(), f[3].toInt());
    }
    QCOMPARE(reports, expected);
    InputHook::clearKeyState();
    InputHook rebuilt(false);
    HookCallbacks::registerWith(rebuilt, w.get());
    rebuilt.uninstall();
    QVERIFY(hook->install());
}

QStringList TestX11InputHook::pageReports() const
{
    // Both spies in one list; within one row keys and buttons are not mixed.
    QStringList all;
    for (const QList<QVariant> &args : *keySpy)
        all << u"kb %1 %2"_s.arg(args[1].toInt(), 2, 16, QChar(u'0')).arg(args[0].toBool());
    for (const QList<QVariant> &args : *mouseSpy)
        all << u"ms %1 %2 %3 %4"_s.arg(args[1].toInt(), 2, 16).arg(args[0].toBool()).arg(args[2].toInt()).arg(args[3].toInt());
    return all;
}

void TestX11InputHook::xtestInputReachesPage_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("expected");
    const QStringList enter{u"kb 28 1"_s, u"kb 28 0"_s}, letterA{u"kb 04 1"_s, u"kb 04 0"_s};
    for (const QString source : {u"xrecord"_s, u"window"_s}) {
        const QByteArray s = source.toLatin1() + ": ";
        // The pointer rests on the window, where the X server sends the keys without a window manager.
        QTest::newRow(s + "Enter held, repeating")
            << source << u"mousemove 400 300 keydown Return keydown Return keydown Return keyup Return"_s << enter;
        QTest::newRow(s + "keypad Enter") << source << u"key KP_Enter"_s << QStringList{u"kb 58 1"_s, u"kb 58 0"_s};
        QTest::newRow(s + "Print Screen") << source << u"key Print"_s << QStringList{u"kb 46 1"_s, u"kb 46 0"_s};
        // By keycode: xdotool would press the first key of a modifier, the left one.
        QTest::newRow(s + "right Win, then A") << source << u"key 134 key a"_s << letterA;
        QTest::newRow(s + "left Win") << source << u"key 133"_s << QStringList{u"kb e3 1"_s, u"kb e3 0"_s};
        QTest::newRow(s + "left button, wheel") << source << u"mousemove 410 320 click 1 click 4"_s
                                                << QStringList{u"ms f0 1 410 320"_s, u"ms f0 0 410 320"_s};
        QTest::newRow(s + "right, middle button") << source << u"mousemove 400 300 click 3 click 2"_s
                                                  << QStringList{u"ms f1 1 400 300"_s, u"ms f1 0 400 300"_s,
                                                                 u"ms f2 1 400 300"_s, u"ms f2 0 400 300"_s};
    }
}

void TestX11InputHook::xtestInputReachesPage()
{
    QFETCH(QString, source);
    QFETCH(QString, input);
    QFETCH(QStringList, expected);
    useSource(source);
    clearPageReports();
    QCOMPARE(xdotool(input), 0);
    QTRY_VERIFY_WITH_TIMEOUT(pageReports().size() >= expected.size(), 3000);
    QCOMPARE(pageReports().join(u", "), expected.join(u", "));
}

void TestX11InputHook::showWindowChord()
{
    useSource(u"xrecord"_s);
    w->hide();
    // F12 alone, then with Shift only: the window stays hidden (the A tells when they have passed).
    clearPageReports();
    QCOMPARE(xdotool(u"key F12 key shift+F12 key a"_s), 0);
    QTRY_VERIFY(pageReports().contains(u"kb 04 0"_s));
    QVERIFY(w->isHidden());
    QCOMPARE(xdotool(u"key ctrl+shift+alt+F12"_s), 0);
    QTRY_VERIFY(w->isVisible());
}

void TestX11InputHook::copyDataRecords_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QStringList>("shown");
    const QString caption = u"ORVANE GLIDE MOUSE G7|"_s;
    QTest::newRow("abc, count 3") << record(0x250F, "abc", 3) << QStringList{caption + u"abc"_s};
    QTest::newRow("abc, count 4") << record(0x250F, QByteArray("abc", 4), 4) << QStringList{};
    QTest::newRow("other identifier") << record(0x2510, "abc", 3) << QStringList{};
    QTest::newRow("UTF-8 text") << record(0x250F, "\xc3\xbc", 2) << QStringList{caption + u"ü"_s};
    QTest::newRow("two in one write") << record(0x250F, "x", 1) + record(0x250F, "yz", 2)
                                      << QStringList{caption + u"x"_s, caption + u"yz"_s};
}

void TestX11InputHook::copyDataRecords()
{
    QFETCH(QByteArray, sent);
    QFETCH(QStringList, shown);
    QCOMPARE(w->windowTitle(), u"ORVANE GLIDE MOUSE G7"_s);
    QStringList boxes;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&boxes] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            const bool warningWithOk = box->icon() == QMessageBox::Warning && box->buttons().size() == 1
                    && box->button(QMessageBox::Ok);
            boxes << box->windowTitle() + u'|' + box->text() + (warningWithOk ? u""_s : u" (not a warning)"_s);
            box->done(QMessageBox::Ok);
        }
    });
    closer.start(20);
    QLocalSocket socket;
    socket.connectToServer(CopyDataEndpoint::socketPath());
    QVERIFY(socket.waitForConnected(5000));
    // A last record that does show a box tells when the ones before have been read.
    socket.write(sent + record(0x250F, "end", 3));
    QTRY_VERIFY(boxes.contains(u"ORVANE GLIDE MOUSE G7|end"_s));
    QCOMPARE(boxes, shown << u"ORVANE GLIDE MOUSE G7|end"_s);
}

int main(int argc, char **argv) { return runOnVirtualScreen<TestX11InputHook>(argc, argv); }

#include "tst_x11_inputhook.moc"
