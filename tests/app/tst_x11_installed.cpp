// "cmake --install" into a temporary prefix, its program folder then read-only: the program keeps the user's files
// in $XDG_DATA_HOME/orvane-g7/modules/, saves a factory reset there and leaves every installed file as it was.

#include "support_xserver.h"

#include <QtTest>

using namespace Qt::StringLiterals;

const QString buildDir = QStringLiteral(G7_RUNTIME_DIR "/..");

// Every file and link below root with its content's hash or its target, one a line.
static QString checksums(const QString &root)
{
    QProcess find;
    const QString command = u"find \"$0\" -type l -printf '%p -> %l\\n' -o -type f -exec sha256sum {} + | sort"_s;
    find.start(u"sh"_s, {u"-c"_s, command, root});
    return find.waitForFinished() ? QString::fromLocal8Bit(find.readAllStandardOutput()) : QString();
}

class TestX11Installed : public QObject
{
    Q_OBJECT
private slots:
    // The file list the install lays out: app/package_deb, which packs the same install.
    void readOnlyInstallKeepsUserFilesApart()
    {
        const QString install = u"cmake --install \"$0\" --prefix \"$1\" >/dev/null"_s;   // its errors still shown
        QCOMPARE(QProcess::execute(u"sh"_s, {u"-c"_s, install, buildDir, prefix.path()}), 0);
        QCOMPARE(QProcess::execute(u"chmod"_s, {u"-R"_s, u"a-w"_s, lib()}), 0);
        const auto before = checksums(prefix.path());
        QVERIFY(before.count(u'\n') > 10);
        VirtualScreen screen;
        QVERIFY2(screen.start(), qPrintable(screen.failure));
        QTemporaryDir runtime;
        screen.environment.insert(u"XDG_DATA_HOME"_s, dataHome.path());
        screen.environment.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        QProcess &program = screen.launch(prefix.filePath(u"bin/orvane-g7 --simulate"_s));   // through the launcher
        const QString user = dataHome.filePath(u"orvane-g7/modules"_s);
        // Seeded from the installed files (which files: app/userfiles).
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(user + u"/gun/gunData.bin"_s), 60000);
        QVERIFY(!QFileInfo::exists(user + u"/setting/pD.bin"_s));
        // The factory reset as a user clicks it: the reset button, then the dialog's OK (its dark red); bounds for a loaded machine.
        QRect window;
        QTRY_VERIFY_WITH_TIMEOUT((window = screen.pageWindow(u"--name ^ORVANE"_s)).isValid(), 60000);
        const QPoint reset = window.topLeft() + QPoint(913 + 30, 604 + 12);
        const QString shot = runtime.filePath(u"shot.png"_s);
        QList<QPoint> ok;
        QTRY_VERIFY_WITH_TIMEOUT(screen.click(reset) == 0
                                     && !(ok = pixelsOf(screen.screenshot(shot), window, 0x4f1717)).isEmpty(), 60000);
        const QDateTime made = QFileInfo(user + u"/setting/p1.bin"_s).lastModified();   // from pD.bin at the start
        QCOMPARE(screen.click(ok.first() + QPoint(20, 8)), 0);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(user + u"/setting/p1.bin"_s).lastModified() != made, 60000);
        program.terminate();
        QVERIFY(program.waitForFinished(10000));
        QVERIFY2(!program.readAllStandardError().contains("Could not"), "a copy into the user's folder failed");
        QCOMPARE(checksums(prefix.path()), before);
        QCOMPARE(QProcess::execute(u"chmod"_s, {u"-R"_s, u"u+w"_s, lib()}), 0);
    }

    // The README's uninstall lines, with this prefix and build folder, leave none of the program's files.
    void uninstallAsTheReadmeSays()
    {
        QFile readme(QStringLiteral(G7_SOURCE_DIR "/README.md"));
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
        const qsizetype start = text.indexOf(u"```\n"_s, text.indexOf(u"### Uninstalling"_s)) + 4;
        const QStringList lines = text.mid(start, text.indexOf(u"```"_s, start) - start).split(u'\n', Qt::SkipEmptyParts);
        for (QString line : lines) {
            line.replace(u"/usr/local"_s, prefix.path()).replace(u" build/"_s, u" "_s + buildDir + u"/"_s);
            QVERIFY2(QProcess::execute(u"sh"_s, {u"-c"_s, line}) == 0, qPrintable(line));
        }
        QCOMPARE(checksums(prefix.path()), QString());
        QVERIFY(!QFileInfo::exists(prefix.filePath(u"share/doc/orvane-g7"_s)));
    }

private:
    QTemporaryDir prefix, dataHome;
    QString lib() const { return prefix.filePath(u"lib/orvane-g7"_s); }
};

QTEST_GUILESS_MAIN(TestX11Installed)
#include "tst_x11_installed.moc"
