// The tray agent's device watch with the simulated mouse: when a rescan runs,
// what a removal does, and that a reconnect leaves the page usable.

#include "support_appdata.h"

#include <devicewatch.h>
#include <uicontroler.h>
#include <widget.h>

#include <deviceoptions.h>
#include <myqquickview.h>
#include <pauses.h>
#include <simulatedg7.h>

#include <QElapsedTimer>
#include <QMutex>
#include <QThreadPool>
#include <QtTest>

namespace {

struct LogLine {
    qint64 ms;
    QString text;
};

QMutex logMutex;
QList<LogLine> logLines;
QElapsedTimer logClock;
QtMessageHandler previousHandler = nullptr;

void recordMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    {
        QMutexLocker lock(&logMutex);
        logLines.append({logClock.elapsed(), text});
    }
    previousHandler(type, context, text);
}

// Time of the n-th (from 1) line saying text, or -1.
qint64 loggedAt(const QString &text, int n = 1)
{
    QMutexLocker lock(&logMutex);
    for (const LogLine &line : std::as_const(logLines)) {
        if (line.text == text && --n == 0)
            return line.ms;
    }
    return -1;
}

int loggedCount(const QString &text)
{
    QMutexLocker lock(&logMutex);
    return int(std::count_if(logLines.cbegin(), logLines.cend(),
                             [&text](const LogLine &line) { return line.text == text; }));
}

// Sits between the device connection and the tray agent and notes the notices
// the agent is asked to show; everything is passed on unchanged.
class NoticeRecorder : public DeviceHost
{
public:
    explicit NoticeRecorder(Widget *widget) : widget(widget) {}

    void deviceConnected(int curDevice) override { widget->deviceConnected(curDevice); }
    void showNotice(const QString &title, const QString &text) override
    {
        notices.append(title + QLatin1String(": ") + text);
        widget->showNotice(title, text);
    }
    void setViewEnabled(bool enabled) override { widget->setViewEnabled(enabled); }
    void hideWindow() override { widget->hideWindow(); }
    void clearHidBusy() override { widget->clearHidBusy(); }
    QVariant language() const override { return widget->language(); }

    QStringList notices;

private:
    Widget *widget;
};

const QString connectLine = QStringLiteral("Device Connect");
const QString removedLine = QStringLiteral("Device removed");
const QString connectNotice = QStringLiteral("Info: Detect Mouse!");
constexpr int rescanDelayMs = 2048;

} // namespace

class TestDeviceWatch : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void plugUnplugReplug();
};

void TestDeviceWatch::initTestCase()
{
    logClock.start();
    previousHandler = qInstallMessageHandler(recordMessage);
    // Commands pause 128 ms each on a real mouse; the timing under test is the watch's own.
    setSleeper(std::make_shared<RecordingSleeper>());
}

void TestDeviceWatch::cleanupTestCase()
{
    qInstallMessageHandler(previousHandler);
    setSleeper(nullptr);
}

void TestDeviceWatch::plugUnplugReplug()
{
    AppDataDir data;
    QVERIFY(data.isValid());
    DeviceOptions options;
    options.simulate = true;
    const std::shared_ptr<SimulatedG7> mouse = installDeviceBackend(options);
    QVERIFY(mouse);
    mouse->unplug();

    Widget w;
    NoticeRecorder recorder(&w);
    w.hid.owner = &recorder;
    DeviceWatch watch;
    w.watchDevices(&watch);
    connect(mouse.get(), &SimulatedG7::devicesChanged, &watch, &DeviceWatch::deviceChanged);
    w.showNormal();

    // Start without a mouse: nothing to connect, and no periodic rescans.
    w.checkDevice();
    QVERIFY(!deviceReady);
    QVERIFY(!w.pollTimer.isActive());

    // Plug in; a second notification of the same burst arrives 600 ms later.
    mouse->plug();
    QTest::qWait(600);
    QCOMPARE(loggedCount(connectLine), 0);
    const qint64 lastChange = logClock.elapsed();
    emit watch.deviceChanged();
    QTRY_VERIFY_WITH_TIMEOUT(loggedAt(connectLine) >= 0, 5000);
    const qint64 delay = loggedAt(connectLine) - lastChange;
    QVERIFY2(delay >= rescanDelayMs && delay < rescanDelayMs + 400, qPrintable(QString::number(delay)));
    QCOMPARE(loggedCount(connectLine), 1);
    QVERIFY(deviceReady);
    QVERIFY(w.hid.monitorRunning);
    // The page's own start-up lock may hold the view for its first second.
    QTRY_VERIFY_WITH_TIMEOUT(w.controller->view->isEnabled(), 2000);
    QCOMPARE(recorder.notices, QStringList{connectNotice});

    // Another USB device comes and goes while connected: no rescan.
    emit watch.deviceChanged();
    QVERIFY(!w.pollTimer.isActive());

    // Unplug: the monitor notices within its 500 ms wait and disables the view.
    const qint64 unplugged = logClock.elapsed();
    mouse->unplug();
    QTRY_VERIFY_WITH_TIMEOUT(loggedAt(removedLine) >= 0, 2000);
    QVERIFY2(loggedAt(removedLine) - unplugged <= 750,
             qPrintable(QString::number(loggedAt(removedLine) - unplugged)));
    QTRY_VERIFY_WITH_TIMEOUT(!w.controller->view->isEnabled(), 1000);
    QVERIFY(!w.hid.monitorRunning);

    // Replug: one rescan after the delay; the page is usable again and one monitor runs.
    mouse->plug();
    QVERIFY(w.pollTimer.isActive());
    QTRY_VERIFY_WITH_TIMEOUT(loggedCount(connectLine) == 2, rescanDelayMs + 2000);
    QTRY_VERIFY_WITH_TIMEOUT(w.controller->view->isEnabled(), 1000);
    QCOMPARE(recorder.notices, (QStringList{connectNotice, connectNotice}));
    QVERIFY(w.hid.monitorRunning);
    QCOMPARE(QThreadPool::globalInstance()->activeThreadCount(), 1);

    w.hid.stopMonitor();
    w.hid.monitorFuture.waitForFinished();
    setHidBackend(nullptr);
}

QTEST_MAIN(TestDeviceWatch)
#include "tst_devicewatch.moc"
