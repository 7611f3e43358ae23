#include "keymatrix.h"
#include "keynames.h"
#include "myqquickview.h"
#include "tracereader.h"
#include "viewrig.h"

#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlExpression>
#include <QTest>

// A list of 64 values: entry k = the four values of entries[k] (missing entries are zeros).
static QVariantList matrix(const QList<QVariantList> &entries)
{
    QVariantList values;
    for (int k = 0; k < 16; ++k)
        values += k < entries.size() && !entries.at(k).isEmpty() ? entries.at(k) : QVariantList{0, 0, 0, 0};
    return values;
}

class tst_KeyMatrix : public QObject
{
    Q_OBJECT

private slots:
    // The page's key-name tables and the bridge's name table name the same codes.
    void pageTablesMatchBridge()
    {
        QQmlEngine engine;
        QQmlComponent component(&engine, QUrl("qrc:/modules/qml/J2/KeyCodeString.qml"));
        QScopedPointer<QObject> names(component.create());
        QVERIFY2(names, qPrintable(component.errorString()));
        QVariantMap page = names->property("str2keycode").toMap();
        page.insert(names->property("str2mousecode").toMap());
        QMap<QString, int> fromPage, fromBridge;
        for (auto it = page.cbegin(); it != page.cend(); ++it)
            fromPage.insert(it.key(), it.value().toInt());
        for (auto it = keyNameTable().cbegin(); it != keyNameTable().cend(); ++it)
            fromBridge.insert(it.key(), it.value());
        QCOMPARE(fromPage, fromBridge);

        // Code -> name: every keyboard code of the bridge list and nothing else.
        const auto call = [&](const char *function, const QVariant &argument) {
            QVariant result;
            QMetaObject::invokeMethod(names.data(), function, Q_RETURN_ARG(QVariant, result), Q_ARG(QVariant, argument));
            return result;
        };
        for (const KeyName &key : keyboardKeyNames)
            QCOMPARE(call("keycodeTostr", key.code).toString(), QString::fromUtf8(key.name));
        for (const KeyName &button : mouseButtonNames)
            QCOMPARE(call("mousecodeTostr", button.code).toString(), QString::fromUtf8(button.name));
        for (int code : {-1, 0, 0x03, 0x74, 0x80, 0x86, 0xE8, 0xF0})
            QCOMPARE(call("keycodeTostr", code).toString(), QString());
        QVERIFY(!call("mousecodeTostr", 0xEF).isValid() && !call("strTokeycode", "MS-L").isValid());
        QCOMPARE(call("strTokeycode", "\\ |").toInt(), 0x31);
        QCOMPARE(call("strTomousecode", "MS-B5").toInt(), 0xF4);
    }

    // What the mouse receives and the profile keeps for a page's matrix.
    void sendAndStore_data()
    {
        QTest::addColumn<bool>("gun");
        QTest::addColumn<QVariantList>("src");
        QTest::addColumn<QString>("wire");      // the 64 bytes of the data report, trailing zeros left off; empty: refused
        QTest::addColumn<QStringList>("stored"); // entries 0.. as the profile file holds them
        QTest::newRow("left button first, fixed 7..9 whatever the page sends")
            << false << matrix({{2, 0, 0xF0, 0}, {4, 0, 0xE9, 0}, {}, {}, {}, {}, {}, {1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {0x0A, 0, 1, 10}})
            << "00 F0 00 02 00 E9 00 04 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
               "00 00 03 0C 00 00 01 0B 00 00 05 0C 0A 01 00 0A"
            << QStringList{"2, 0, 240, 0", "4, 0, 233, 0", "0, 0, 0, 0", "0, 0, 0, 0", "0, 0, 0, 0", "0, 0, 0, 0",
                           "0, 0, 0, 0", "1, 2, 3, 4", "5, 6, 7, 8", "9, 10, 11, 12", "10, 0, 1, 10"};
        QTest::newRow("number texts and whole doubles")
            << false << matrix({{"1", qulonglong(0), "255", 4.0}}) << "04 FF 00 01 00 00 00 00 00 00 00 00 00 00 00 00 "
               "00 00 00 00 00 00 00 00 00 00 00 00 00 00 03 0C 00 00 01 0B 00 00 05 0C"
            << QStringList{"1, 0, 255, 4"};
        // What a page that read no numbers sends: nothing goes out, nothing is stored.
        for (const auto &[tag, value] : {std::pair{"NaN", QVariant(std::numeric_limits<double>::quiet_NaN())},
                 {"infinity", std::numeric_limits<double>::infinity()}, {"256", 256}, {"-1", -1}, {"fraction", 240.5},
                 {"text with a letter", "1A"}, {"empty text", ""}, {"true", true}, {"invalid", QVariant()}})
            QTest::addRow("refused: %s in button 3", tag) << false << matrix({{2, 0, 240, 0}, {2, 0, 241, 0}, {value, 0, 0, 0}})
                                                          << "" << QStringList();
        QTest::newRow("refused: missing values") << false << QVariantList{2, 0, 240, 0} << "" << QStringList();
        QTest::newRow("recoil matrix: in the order given, nothing stored")
            << true << matrix({{1, 2, 3, 4}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {0xAA, 0, 0, 0x55}})
            << "01 02 03 04 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
               "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 AA 00 00 55"
            << QStringList();
    }
    void sendAndStore()
    {
        QFETCH(bool, gun); QFETCH(QVariantList, src); QFETCH(QString, wire); QFETCH(QStringList, stored);
        ViewRig rig(1);
        myQQuickView &view = rig.view;
        const int refused = KeyMatrix::invalidEntry(src);
        QCOMPARE(refused >= 0, wire.isEmpty());
        if (!gun && refused >= 0)
            QTest::ignoreMessage(QtDebugMsg, qPrintable(QString("Key matrix refused: button %1 is not four numbers 0 to 255").arg(refused + 1)));
        gun ? view.ui_12H_SetGunKeyMatrix(src) : view.mouseSetKeyMatrix(src);
        // The profile's [keydefine_J2] lines as a text editor shows them.
        const QString file = QString::fromLatin1(rig.file("p1.bin"));
        QMap<int, QString> lines;
        for (const QString &line : file.section("[keydefine_J2]\n", 1).section("\n\n", 0, 0).split('\n', Qt::SkipEmptyParts))
            lines.insert(line.section('=', 0, 0).toInt(), line.section('=', 1));
        QCOMPARE(lines.size(), stored.isEmpty() ? 0 : 16);
        QCOMPARE(lines.values().mid(0, stored.size()), stored);
        rig.hid.did = 4;   // other models keep no key entries
        QCOMPARE(view.getKeydefine(0), QVariantList());
        const QStringList reports = TraceReader(rig.data.filePath("trace.txt")).texts({"feature-out", "data-out"});
        QCOMPARE(reports.size(), wire.isEmpty() ? 0 : 2);
        if (wire.isEmpty())
            return;
        QVERIFY2(reports[0].startsWith("cmd feature-out 00 03 00 00 01 "), qPrintable(reports[0]));
        QString expected = "cmd data-out 00 " + wire;
        while (expected.size() < reports[1].size())
            expected += " 00";
        QCOMPARE(reports[1], expected);
    }

    // What the bridge refuses to send of a macro, as the page calls it (the bytes of a macro sent: qml/macroeditor;
    // the codec's table: core/encoders; the 05H block: device/hid_commands).
    void macroRefused_data()
    {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("said");
        QTest::newRow("slot 12") << QStringList{"1,A", "2,A"} << 12 << "Macro not sent: the mouse has no macro slot 12";
        // Cut short, the mouse would run on past the macro's end.
        QTest::newRow("120 key edges: 244 bytes") << QStringList(120, "1,A") << 4
                                                  << "Macro not sent: its 244 bytes exceed the 192 the mouse takes";
    }
    void macroRefused()
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

QTEST_MAIN(tst_KeyMatrix)
#include "tst_keymatrix.moc"
