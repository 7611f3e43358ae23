// The input hooks: XTest input reaching the page's msg_KB / msg_MS through XRecord and the window alone, the
// show-window chord, copy-data records over the local socket with their boxes clicked shut, the endpoint's limits.

#include "support_runonscreen.h"

#include <copydataendpoint.h>
#include <hookcallbacks.h>
#include <inputhook.h>
#include <uicontroler.h>
#include <widget.h>

#include <myqquickview.h>
#include <tempdatafolder.h>

#include <QAbstractButton>
#include <QLocalSocket>
#include <QMessageBox>
#include <QScreen>
#include <QQuickItem>
#include <QtTest>

using namespace Qt::StringLiterals;

// A copy-data record as another program writes it to the socket.
static QByteArray record(quint32 identifier, const QByteArray &bytes, quint32 count)
{
    const quint32 header[] = {qToLittleEndian(identifier), qToLittleEndian(count)};
    return QByteArray(reinterpret_cast<const char *>(header), sizeof header) + bytes;
}

class TestX11InputHook : public QObject
{
    Q_OBJECT
public:
    explicit TestX11InputHook(VirtualScreen &screen) : screen(screen) {}

private slots:
    void initTestCase()
    {
        for (const char *file : {"setting/apConfig.bin", "setting/name.bin", "setting/pD.bin"})
            QVERIFY(data.copyFromSource(u"modules/"_s + QLatin1String(file)));
        w = std::make_unique<Widget>();
        hook = std::make_unique<InputHook>(false);
        HookCallbacks::registerWith(*hook, w.get());
        QObject *root = w->controller->view->rootObject();
        keySpy = std::make_unique<QSignalSpy>(root, SIGNAL(msg_KB(bool, int)));
        mouseSpy = std::make_unique<QSignalSpy>(root, SIGNAL(msg_MS(bool, int, int, int)));
        w->move(0, 0);
        w->showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void cleanupTestCase() { hook->uninstall(); }

    void xtestInputReachesPage_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("expected");
        for (const QString source : {u"xrecord"_s, u"window"_s}) {
            const QByteArray s = source.toLatin1() + ": ";
            // The pointer rests on the window, where the X server sends the keys without a window manager.
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
        clearPageReports();
        QCOMPARE(screen.xdotool(input), 0);
        QTRY_COMPARE_WITH_TIMEOUT(pageReports().join(u", "), expected.join(u", "), 3000);
    }

    void showWindowChord()
    {
        useSource(u"xrecord"_s);
        w->hide();
        // F12 alone, then with Shift only: the window stays hidden (the A tells when they have passed).
        clearPageReports();
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
            if (!box || !box->isVisible() || box == pressed)
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

private:
    // Where the hook takes keys from: "xrecord" (the whole X server) or "window" (the focused window alone).
    void useSource(const QString &wanted)
    {
        if (wanted == source)
            return;
        hook->uninstall();
        qputenv("G7_NO_XRECORD", wanted == u"window"_s ? "1" : "0");
        QVERIFY(hook->install());
        source = wanted;
        w->activateWindow();
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

    VirtualScreen &screen;
    TempDataFolder data;
    std::unique_ptr<InputHook> hook;
    std::unique_ptr<Widget> w;
    std::unique_ptr<QSignalSpy> keySpy, mouseSpy;
    QString source = u"xrecord"_s;
};

int main(int argc, char **argv) { return runOnVirtualScreen<TestX11InputHook>(argc, argv); }

#include "tst_x11_inputhook.moc"
