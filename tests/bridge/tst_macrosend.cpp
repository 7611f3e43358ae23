#include "tracereader.h"
#include "viewrig.h"

#include <QQmlContext>
#include <QQmlExpression>
#include <QTest>

// The three data reports of a macro block whose first bytes are `head`.
static QStringList dataReports(const QByteArray &head)
{
    QByteArray block(192, '\0');
    block.replace(0, head.size(), head);
    QStringList lines;
    for (int i = 0; i < 3; ++i)
        lines.append("cmd data-out 00 " + QString::fromLatin1(block.mid(64 * i, 64).toHex(' ').toUpper()));
    return lines;
}

class tst_MacroSend : public QObject
{
    Q_OBJECT

private slots:
    // The page encodes through "macroCodec" and hands the list to sendMacroData (the codec's table: core/macrocodec).
    void send_data()
    {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<int>("loops");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("block");
        QTest::newRow("example 1, slot 2") << QStringList{"1,A", "0,50", "2,A", "0,30", "1,B", "2,B"} << 1 << 2
                                           << "05 00 02 03 00 00 00 F5"
                                           << QByteArray::fromHex("0001 0104 B204 1E05 8105 0000");
        QTest::newRow("slot 12 sends nothing") << QStringList{"1,A", "2,A"} << 1 << 12 << "" << QByteArray();
        QTest::newRow("120 key edges: 244 bytes never go out") << QStringList(120, "1,A") << 1 << 4 << "" << QByteArray();
    }
    void send()
    {
        QFETCH(QStringList, events); QFETCH(int, loops); QFETCH(int, slot); QFETCH(QString, command);
        QFETCH(QByteArray, block);
        ViewRig rig(1);
        QVERIFY(rig.installed);
        // As the page calls it: a script expression against the view's context.
        QQmlExpression encode(rig.view.rootContext(), nullptr,
                              "ui_View.sendMacroData(macroCodec.encode(events, loops), slot)");
        rig.view.rootContext()->setContextProperty("ui_View", &rig.view);
        rig.view.rootContext()->setContextProperty("events", events);
        rig.view.rootContext()->setContextProperty("loops", loops);
        rig.view.rootContext()->setContextProperty("slot", slot);
        if (command.isEmpty())
            QTest::ignoreMessage(QtDebugMsg, slot <= 11 ? "Macro not sent: its 244 bytes exceed the 192 the mouse takes"
                                                        : "Macro not sent: the mouse has no macro slot 12");
        // The page learns whether the mouse got the macro.
        QCOMPARE(encode.evaluate(), QVariant(!command.isEmpty()));
        QVERIFY(!encode.hasError());
        const QStringList expected = command.isEmpty()
                ? QStringList{} : QStringList{"cmd feature-out 00 " + command} + dataReports(block);
        QCOMPARE(TraceReader(rig.data.filePath("trace.txt")).texts({"feature-out", "data-out"}), expected);
    }
};

QTEST_MAIN(tst_MacroSend)
#include "tst_macrosend.moc"
