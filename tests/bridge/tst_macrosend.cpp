#include "tracereader.h"
#include "viewrig.h"

#include <QQmlContext>
#include <QQmlExpression>
#include <QTest>

// What the bridge refuses to send, as the page calls it (the bytes of a macro sent: qml/macroeditor;
// the codec's table: core/macrocodec; the 05H block: device/hid_commands).
class tst_MacroSend : public QObject
{
    Q_OBJECT

private slots:
    void refused_data()
    {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("said");
        QTest::newRow("slot 12") << QStringList{"1,A", "2,A"} << 12 << "Macro not sent: the mouse has no macro slot 12";
        // Cut short, the mouse would run on past the macro's end.
        QTest::newRow("120 key edges: 244 bytes") << QStringList(120, "1,A") << 4
                                                  << "Macro not sent: its 244 bytes exceed the 192 the mouse takes";
    }
    void refused()
    {
        QFETCH(QStringList, events); QFETCH(int, slot); QFETCH(QString, said);
        ViewRig rig(1);
        QVERIFY(rig.installed);
        // A script expression against the view's context, as the page's is.
        QQmlExpression send(rig.view.rootContext(), nullptr, "ui_View.sendMacroData(macroCodec.encode(events, 1), slot)");
        rig.view.rootContext()->setContextProperty("ui_View", &rig.view);
        rig.view.rootContext()->setContextProperty("events", events);
        rig.view.rootContext()->setContextProperty("slot", slot);
        QTest::ignoreMessage(QtDebugMsg, qPrintable(said));
        // The page learns that the mouse did not get the macro.
        QCOMPARE(send.evaluate(), QVariant(false));
        QVERIFY(!send.hasError());
        QCOMPARE(TraceReader(rig.data.filePath("trace.txt")).texts({"feature-out", "data-out"}), QStringList());
    }
};

QTEST_MAIN(tst_MacroSend)
#include "tst_macrosend.moc"
