// The log file as a user finds it: every debug line, never more than 1 MiB, one older copy.

#include <devicelog.h>
#include <logfile.h>

#include <QtTest>

using namespace Qt::StringLiterals;

static QStringList console;   // what reached the handler installed before the log's
// As the console shows it (its pattern names a category other than the default one).
static void captureConsole(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    console << qFormatLogMessage(type, context, message);
}

static QByteArrayList linesOf(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArrayList lines = f.readAll().split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

class TestLogFile : public QObject
{
    Q_OBJECT
private slots:
    void rotation_data()
    {
        QTest::addColumn<int>("lineLength");   // without the newline
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("rotated");
        QTest::newRow("exactly the limit") << 1023 << 1024 << false;
        QTest::newRow("odd line length") << 777 << 4000 << true;
    }
    void rotation()
    {
        QFETCH(int, lineLength);
        QFETCH(int, lines);
        QFETCH(bool, rotated);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"state/orvane-g7/orvane-g7.log"_s);
        {
            LogFile log(path);
            for (int i = 0; i < lines; ++i)
                QVERIFY(log.append(u"%1 "_s.arg(i, 8, 10, QLatin1Char('0')).leftJustified(lineLength, QLatin1Char('x'))));
        }
        const qint64 limit = 1024 * 1024;
        QVERIFY(QFileInfo(path).size() <= limit);
        QCOMPARE(QDir(dir.filePath(u"state/orvane-g7"_s)).entryList(QDir::Files).size(), rotated ? 2 : 1);
        // The older copy was full when it was put aside, and the two hold the newest lines in order.
        if (rotated) {
            QVERIFY(QFileInfo(path + u".1"_s).size() <= limit);
            QVERIFY(QFileInfo(path + u".1"_s).size() > limit - lineLength - 1);
        }
        const QByteArrayList kept = linesOf(path + u".1"_s) + linesOf(path);
        QVERIFY(!kept.isEmpty());
        for (qsizetype k = 0; k < kept.size(); ++k) {
            const int number = lines - int(kept.size()) + int(k);
            QVERIFY2(kept.at(k).startsWith(QByteArray::number(number).rightJustified(8, '0') + ' ')
                         && kept.at(k).size() == lineLength, kept.at(k).left(20).constData());
        }
    }

    // Installed, it gets the debug lines and the console still does; an unwritable place is said once, on the console.
    void messageHandler()
    {
        QTemporaryDir dir;
        qInstallMessageHandler(captureConsole);
        {
            LogFile log(dir.filePath(u"orvane-g7.log"_s));
            LogFile::install(&log);
            qCDebug(lcDevice) << "Device Connect";
            qWarning("cmd Failed 07H");
        }
        qDebug("after the log is gone");
        const QByteArrayList lines = linesOf(dir.filePath(u"orvane-g7.log"_s));
        QCOMPARE(lines.size(), 2);
        const QRegularExpression stamped(u"^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3} (debug: Device Connect|warning: cmd Failed 07H)$"_s);
        for (const QByteArray &line : lines)
            QVERIFY2(stamped.match(QString::fromUtf8(line)).hasMatch(), line.constData());
        QCOMPARE(console, QStringList({u"Device Connect"_s, u"cmd Failed 07H"_s, u"after the log is gone"_s}));
        console.clear();
        QFile blocker(dir.filePath(u"file"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        {
            LogFile log(blocker.fileName() + u"/orvane-g7.log"_s);
            LogFile::install(&log);
            qDebug("one");
            qDebug("two");
        }
        QCOMPARE(console.size(), 3);
        QVERIFY2(console.at(0).startsWith(u"cannot write the log file %1/orvane-g7.log: "_s.arg(blocker.fileName())),
                 qPrintable(console.at(0)));
        QCOMPARE(console.mid(1), QStringList({u"one"_s, u"two"_s}));
        qInstallMessageHandler(nullptr);
    }
};

QTEST_GUILESS_MAIN(TestLogFile)
#include "tst_logfile.moc"
