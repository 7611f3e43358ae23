// The real program with the simulated mouse on an X server with a tray host,
// driven with real pointer events as a user would. Screenshots of the start
// logo, the page and the tray menu are kept in the build folder.

#include "support_xserver.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Window coordinates: the page's minimise and close buttons, an empty stretch to drag by.
const QPoint minimiseButton(965, 14), closeButton(987, 14), dragSpot(660, 80);
const QStringList mainWindow{QStringLiteral("--name"), QStringLiteral("^ORVANE GLIDE MOUSE G7 \\(simulated\\)$")};
const QStringList programWindows{QStringLiteral("--class"), QStringLiteral("orvane-g7")};

double drawnShare(const QImage &shot, const QRect &rect)
{
    int drawn = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            drawn += (shot.pixel(x, y) & 0xFFFFFF) != 0;
    }
    return double(drawn) / (rect.width() * rect.height());
}

} // namespace

class TestX11Program : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void startShowsLogoThenWholePage();
    void dragMovesWindowWithThePointer();
    void minimiseAndCloseToTrayComeBack();
    void trayMenuQuitEndsWithZero();

private:
    int x(const QString &command)
    {
        int exitCode = -1;
        screen.run(command, {}, &exitCode);
        return exitCode;
    }
    int click(const QPoint &at, const QString &how = QStringLiteral("1"))
    {
        return x(QStringLiteral("xdotool mousemove %1 %2 click %3").arg(at.x()).arg(at.y()).arg(how));
    }
    QImage screenshot(const QString &keepAs)
    {
        return x(QStringLiteral("import -window root ") + keepAs) == 0 ? QImage(keepAs) : QImage();
    }
    QList<QRect> windows(const QStringList &search); // visible ones
    QPoint origin() { return windows(mainWindow).value(0).topLeft(); }
    QPoint trayIcon();

    VirtualScreen screen;
    QTemporaryDir install;
    QProcess first;
};

QList<QRect> TestX11Program::windows(const QStringList &search)
{
    const QStringList v = screen.run(QStringLiteral("xdotool search --onlyvisible"),
                                     search + QStringLiteral("getwindowgeometry --shell %@").split(QLatin1Char(' ')))
                              .split(QLatin1Char('\n'));
    const auto at = [&v](int line) { return v.value(line).section(QLatin1Char('='), 1).toInt(); };
    QList<QRect> found;
    for (int i = 0; i + 4 < v.size(); i += 6) // WINDOW X Y WIDTH HEIGHT SCREEN
        found << QRect(at(i + 1), at(i + 2), at(i + 3), at(i + 4));
    return found;
}

// The icon trayer embedded: the program's small window inside the panel.
QPoint TestX11Program::trayIcon()
{
    for (const QRect &r : windows(programWindows)) {
        if (r.width() > 4 && r.width() <= 32 && r.height() <= 32)
            return r.center();
    }
    return {};
}

void TestX11Program::initTestCase()
{
    // A private installation: its own single-instance identity and user files.
    QCOMPARE(x(QStringLiteral("cp -r " G7_RUNTIME_DIR "/modules " G7_RUNTIME_DIR "/orvane-g7 ") + install.path()), 0);
    QVERIFY(screen.start());
    first.setProcessEnvironment(screen.environment());
    first.setProcessChannelMode(QProcess::ForwardedChannels);
    first.start(install.filePath(QStringLiteral("orvane-g7")), {QStringLiteral("--simulate")});
}

void TestX11Program::startShowsLogoThenWholePage()
{
    QTRY_COMPARE_WITH_TIMEOUT(windows(mainWindow).size(), 1, 10000);
    // The logo sits in the middle; the key panel's place left of it stays
    // empty until the start-up lock lets the whole page show.
    const QRect leftPanel = QRect(20, 110, 200, 380).translated(origin());
    const QRect logo = QRect(250, 120, 500, 380).translated(origin());
    QImage shot;
    QElapsedTimer clock;
    clock.start();
    do {
        QVERIFY(!(shot = screenshot(QStringLiteral("x11_program_start_logo.png"))).isNull());
    } while (drawnShare(shot, logo) < 0.9 && clock.elapsed() < 5000);
    const qint64 logoSeen = clock.elapsed();
    QVERIFY2(drawnShare(shot, logo) >= 0.9, "the start logo never showed");
    QVERIFY(drawnShare(shot, leftPanel) < 0.01);
    do {
        QVERIFY(!(shot = screenshot(QStringLiteral("x11_program_main_page.png"))).isNull());
    } while (drawnShare(shot, leftPanel) < 0.9 && clock.elapsed() < logoSeen + 5000);
    const qint64 logoShown = clock.elapsed() - logoSeen;
    QVERIFY2(drawnShare(shot, leftPanel) >= 0.9, "the page never showed");
    // About one second; a screenshot takes a while, so the bounds are loose.
    QVERIFY2(logoShown >= 500 && logoShown <= 1800, qPrintable(QString::number(logoShown)));
}

void TestX11Program::dragMovesWindowWithThePointer()
{
    const QPoint before = origin(), start = before + dragSpot;
    QString drag = QStringLiteral("xdotool mousemove %1 %2 mousedown 1").arg(start.x()).arg(start.y());
    for (int step = 1; step <= 4; ++step)
        drag += QStringLiteral(" sleep 0.15 mousemove %1 %2").arg(start.x() + 15 * step).arg(start.y() + 10 * step);
    QCOMPARE(x(drag + QStringLiteral(" sleep 0.15 mouseup 1")), 0);
    QTRY_COMPARE(origin(), before + QPoint(60, 40));
}

void TestX11Program::minimiseAndCloseToTrayComeBack()
{
    // With no window manager the minimised state shows only in the window's hints.
    const QString hints = QStringLiteral("xprop WM_HINTS -id ") + screen.run(QStringLiteral("xdotool search"), mainWindow);
    QCOMPARE(click(origin() + minimiseButton), 0);
    QTRY_VERIFY(screen.run(hints).contains(QLatin1String("Iconic State")));
    QCOMPARE(x(install.filePath(QStringLiteral("orvane-g7 --simulate"))), 1);
    QTRY_VERIFY(screen.run(hints).contains(QLatin1String("Normal State")));

    QCOMPARE(click(origin() + closeButton), 0);
    QTRY_VERIFY(windows(mainWindow).isEmpty());
    QCOMPARE(first.state(), QProcess::Running);
    QCOMPARE(click(trayIcon(), QStringLiteral("--repeat 2 --delay 80 1")), 0);
    QTRY_COMPARE(windows(mainWindow).size(), 1);
}

void TestX11Program::trayMenuQuitEndsWithZero()
{
    const QPoint icon = trayIcon();
    QCOMPARE(click(icon, QStringLiteral("3")), 0);
    // The menu opens at the pointer: one 22-pixel entry inside a 1-pixel border, in its dark grey.
    QTRY_VERIFY(windows(programWindows).contains(QRect(icon, QSize(95, 24))));
    QCOMPARE(QColor(screenshot(QStringLiteral("x11_program_tray_menu.png")).pixel(icon + QPoint(12, 10))),
             QColor(68, 69, 73));
    QCOMPARE(click(icon + QPoint(20, 12)), 0);
    QVERIFY(first.waitForFinished(5000));
    QCOMPARE(first.exitStatus(), QProcess::NormalExit);
    QCOMPARE(first.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestX11Program)
#include "tst_x11_program.moc"
