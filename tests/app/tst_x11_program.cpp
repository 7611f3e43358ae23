// The real program with the simulated mouse on a real X server with a tray
// host: what the user sees at start, a second start bringing the hidden window
// back, and Quit from the tray menu. Screenshots are kept in the build folder.

#include "support_xserver.h"

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString windowName = QStringLiteral("^ORVANE GLIDE MOUSE G7 \\(simulated\\)$");
// The page's close button, in window coordinates (header row at 935, 5).
const QPoint closeButton(987, 14);

double drawnShare(const QImage &shot, const QRect &rect)
{
    int drawn = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            drawn += (shot.pixel(x, y) & 0xFFFFFF) != 0;
    }
    return double(drawn) / (rect.width() * rect.height());
}

bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(file));
        QDir().mkpath(QFileInfo(target).path());
        if (!QFile::copy(file, target))
            return false;
    }
    return true;
}

} // namespace

class TestX11Program : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void startShowsLogoThenWholePage();
    void secondStartBringsHiddenWindowBack();
    void trayQuitEndsWithZero();

private:
    QImage screenshot(const QString &keepAs);
    QString visibleWindow();
    bool clickInWindow(const QPoint &at);
    QPoint trayIconCentre();

    VirtualScreen screen;
    QTemporaryDir install;
    QTemporaryDir elsewhere;
    QString program;
    QString outputDir;
    QProcess first;
    QPoint windowOrigin;
};

void TestX11Program::initTestCase()
{
    outputDir = QDir::currentPath();
    // A private installation: its own single-instance identity and user files.
    QVERIFY(install.isValid() && elsewhere.isValid());
    QVERIFY(copyTree(QStringLiteral(G7_RUNTIME_DIR "/modules"), install.filePath(QStringLiteral("modules"))));
    program = install.filePath(QStringLiteral("orvane-g7"));
    QVERIFY(QFile::copy(QStringLiteral(G7_RUNTIME_DIR "/orvane-g7"), program));
    QVERIFY(QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner));
    QVERIFY(screen.start(true));
}

void TestX11Program::cleanupTestCase()
{
    if (first.state() != QProcess::NotRunning) {
        first.kill();
        first.waitForFinished();
    }
}

QImage TestX11Program::screenshot(const QString &keepAs)
{
    const QString file = QDir(outputDir).filePath(keepAs);
    if (!screen.run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file}))
        return QImage();
    return QImage(file);
}

QString TestX11Program::visibleWindow()
{
    return screen.output(QStringLiteral("xdotool"),
                         {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), windowName})
        .trimmed();
}

bool TestX11Program::clickInWindow(const QPoint &at)
{
    const QPoint p = windowOrigin + at;
    return screen.run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(p.x()),
                                                  QString::number(p.y()), QStringLiteral("click"),
                                                  QStringLiteral("1")});
}

// The icon trayer embedded: the program's small window inside the panel.
QPoint TestX11Program::trayIconCentre()
{
    const QStringList ids = screen.output(QStringLiteral("xdotool"),
                                       {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                        QStringLiteral("--class"), QStringLiteral("orvane-g7")})
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &id : ids) {
        const QString shell = screen.output(QStringLiteral("xdotool"),
                                         {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id});
        QMap<QString, int> g;
        for (const QString &line : shell.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            g.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1).toInt());
        if (g.value(QStringLiteral("WIDTH")) <= 32 && g.value(QStringLiteral("HEIGHT")) <= 32
            && g.value(QStringLiteral("WIDTH")) > 4)
            return {g.value(QStringLiteral("X")) + g.value(QStringLiteral("WIDTH")) / 2,
                    g.value(QStringLiteral("Y")) + g.value(QStringLiteral("HEIGHT")) / 2};
    }
    return {};
}

void TestX11Program::startShowsLogoThenWholePage()
{
    first.setProcessEnvironment(screen.environment());
    first.setWorkingDirectory(elsewhere.path());
    first.setProcessChannelMode(QProcess::ForwardedChannels);
    first.start(program, {QStringLiteral("--simulate")});
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(!visibleWindow().isEmpty(), 10000);

    const QString geometry = screen.output(QStringLiteral("xdotool"),
                                        {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"),
                                         visibleWindow()});
    windowOrigin = QPoint(geometry.section(QStringLiteral("X="), 1).section(QLatin1Char('\n'), 0, 0).toInt(),
                          geometry.section(QStringLiteral("Y="), 1).section(QLatin1Char('\n'), 0, 0).toInt());

    // The logo sits in the middle; the key panel's place left of it stays
    // empty until the start-up lock lets the whole page show.
    const QRect leftPanel = QRect(20, 110, 200, 380).translated(windowOrigin);
    const QRect logo = QRect(250, 120, 500, 380).translated(windowOrigin);
    QImage shot;
    QElapsedTimer clock;
    clock.start();
    do {
        shot = screenshot(QStringLiteral("x11_program_start_logo.png"));
        QVERIFY(!shot.isNull());
    } while (drawnShare(shot, logo) < 0.9 && clock.elapsed() < 5000);
    const qint64 logoSeen = clock.elapsed();
    QVERIFY2(drawnShare(shot, logo) >= 0.9, "the start logo never showed");
    QVERIFY(drawnShare(shot, leftPanel) < 0.01);

    do {
        shot = screenshot(QStringLiteral("x11_program_main_page.png"));
        QVERIFY(!shot.isNull());
    } while (drawnShare(shot, leftPanel) < 0.9 && clock.elapsed() < logoSeen + 5000);
    const qint64 logoShown = clock.elapsed() - logoSeen;
    QVERIFY2(drawnShare(shot, leftPanel) >= 0.9, "the page never showed");
    // About one second; a screenshot takes a while, so the bounds are loose.
    QVERIFY2(logoShown >= 500 && logoShown <= 1800, qPrintable(QString::number(logoShown)));
}

void TestX11Program::secondStartBringsHiddenWindowBack()
{
    QVERIFY(clickInWindow(closeButton));
    QTRY_VERIFY(visibleWindow().isEmpty());
    QCOMPARE(first.state(), QProcess::Running);

    QProcess second;
    second.setProcessEnvironment(screen.environment());
    second.setWorkingDirectory(elsewhere.path());
    second.start(program, {QStringLiteral("--simulate")});
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitCode(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(!visibleWindow().isEmpty(), 3000);
}

void TestX11Program::trayQuitEndsWithZero()
{
    // Hidden again, so the window does not cover the tray.
    QVERIFY(clickInWindow(closeButton));
    QTRY_VERIFY(visibleWindow().isEmpty());

    const QPoint icon = trayIconCentre();
    QVERIFY(!icon.isNull());
    QVERIFY(screen.run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(icon.x()),
                                                   QString::number(icon.y()), QStringLiteral("click"),
                                                   QStringLiteral("3")}));
    QTest::qWait(400);
    const QImage menu = screenshot(QStringLiteral("x11_program_tray_menu.png"));
    QVERIFY(!menu.isNull());
    // The one-entry menu opens at the pointer in its dark grey.
    QCOMPARE(QColor(menu.pixel(icon.x() + 12, icon.y() + 10)), QColor(68, 69, 73));

    QVERIFY(screen.run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Down"),
                                                   QStringLiteral("Return")}));
    QVERIFY(first.waitForFinished(5000));
    QCOMPARE(first.exitStatus(), QProcess::NormalExit);
    QCOMPARE(first.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestX11Program)
#include "tst_x11_program.moc"
