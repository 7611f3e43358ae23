// When the profile follows the application in front: focus changes and their settling driven by hand (the timer's
// timeout is settle()), the switches that come out (plain switches, back and hand-picked ones: app/x11_applinks).

#include <autoswitch.h>

#include <QtTest>

using namespace Qt::StringLiterals;

class tst_AutoSwitch : public QObject
{
    Q_OBJECT
private slots:
    void switches_data()
    {
        // Links: XLogo -> 1, XClock -> 2; profile 0 is current at first. Words: a class gets the focus,
        // "-" a window without class, "s" the interval ends, "pick3" the user picks profile 3,
        // "busy"/"free" a command or dialog starts/ends, "down"/"up" the page can/cannot switch.
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("switches");
        QTest::newRow("alt-tab through three windows sends once") << u"XTerm XLogo XClock s"_s << u"2"_s;
        QTest::newRow("window without class") << u"XLogo s - s"_s << u"1"_s;
        QTest::newRow("already current") << u"pick1 XLogo s XTerm s"_s << QString();
        QTest::newRow("busy defers") << u"busy XLogo s s free s"_s << u"1"_s;
        QTest::newRow("no page, tried at the next change") << u"down XLogo s up XClock XLogo s"_s << u"1"_s;
    }
    void switches()
    {
        QFETCH(QString, events);
        int current = 0;
        bool busy = false, pageUp = true;
        QStringList made;
        AutoSwitch::Hooks hooks;
        hooks.linkedProfile = [](const QString &c) { return c == u"XLogo"_s ? 1 : c == u"XClock"_s ? 2 : -1; };
        hooks.currentProfile = [&] { return current; };
        hooks.switchTo = [&](int profile) {
            if (pageUp) {
                current = profile;
                made << QString::number(profile);
            }
            return pageUp;
        };
        hooks.busy = [&] { return busy; };
        AutoSwitch autoSwitch(hooks);
        QCOMPARE(autoSwitch.timer().interval(), 300);
        for (const QString &word : events.split(u' ')) {
            if (word == u"s"_s) {
                autoSwitch.settle();
                QCOMPARE(autoSwitch.timer().isActive(), busy); // deferred while busy: the interval runs again
            } else if (word.startsWith(u"pick"_s)) {
                current = word.mid(4).toInt();
            } else if (word == u"busy"_s || word == u"free"_s) {
                busy = word == u"busy"_s;
            } else if (word == u"down"_s || word == u"up"_s) {
                pageUp = word == u"up"_s;
            } else {
                autoSwitch.focusChanged(word == u"-"_s ? QString() : word);
                QCOMPARE(autoSwitch.timer().isActive(), word != u"-"_s);
            }
        }
        QTEST(made.join(u' '), "switches");
    }
};

QTEST_GUILESS_MAIN(tst_AutoSwitch)
#include "tst_autoswitch.moc"
