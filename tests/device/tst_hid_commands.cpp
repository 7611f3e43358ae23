#include "deviceoptions.h"
#include "support_simrig.h"

#include <sys/stat.h>

namespace {

const QByteArray stateColours = QByteArray::fromHex("a0a1a2a3a4a5a6a7a8a9aaabacadaeafb0b1b2b3b4b5b6b7");

// "<block>|<pause>|D<offset>+<count>" (payload bytes in one data report) as trace lines.
QStringList expand(const QString &wire)
{
    QStringList lines;
    for (const QString &item : wire.split(QLatin1Char('|'))) {
        const QStringList range = item.mid(1).split(QLatin1Char('+'));
        if (item.startsWith(QLatin1Char('D')))
            lines << "cmd data-out 00 " + Payload().left(range[1].toInt(), range[0].toInt()).leftJustified(64, '\0')
                                                 .toHex(' ').toUpper();
        else
            lines << (item.contains(QLatin1Char(' ')) ? "cmd feature-out " : "- sleep ") + item;
    }
    return lines;
}

// Puts mouse and channel in the state the words of the row's tag name.
void prepare(SimRig &rig, Hid_Thread &hid)
{
    const QStringList words = QString::fromLatin1(QTest::currentDataTag()).split(QLatin1Char(' '));
    findCataloguedDevices(hid, StoreFile::format(), {});
    rig.sim->setShortReports(words.contains("short") ? 4 : 0);
    rig.sim->setSilent(words.contains("silent"));
    hid.hidFree = !words.contains("busy");
    if (words.contains("unplugged"))
        rig.sim->unplug();
    if (words.contains("block-refused"))
        rig.sim->failCall(SimulatedG7::Call::FeatureOut);
    if (words.contains("data2-refused"))
        rig.sim->failCall(SimulatedG7::Call::DataOut, 2);
    if (words.contains("unplugged-after-data1"))
        rig.sim->unplugAfterDataReports(1);
}

// Every query with the caller's own presets (A1.., 99, 55), as "<code> <bytes>".
QString queryAll(Hid_Thread &hid)
{
    uchar options[4] = {0xA1, 0xA2, 0xA3, 0xA4}, code[4] = {0xC1, 0xC2, 0xC3, 0xC4};
    uchar stage = 0x99, led[3] = {0x99, 0x99, 0x99}, colours[24];
    std::fill(colours, colours + 24, 0x55);
    QStringList replied;    // the reply lengths the queries return
    replied << QString::number(hid.hid_83H_GetKeyboardoption(options[0], options[1], options[2], options[3]));
    const int dpi = hid.hid_87H_GetCurrentDPI().toInt();
    replied << QString::number(hid.hid_8BH_GetCurrentDPIStage(stage))
            << QString::number(hid.hid_8DH_GetRGBLedEffect(led[0], led[1], led[2]))
            << QString::number(hid.hid_00H_GetSecrecyCode(code[0], code[1], code[2], code[3]))
            << QString::number(hid.hid_90H_GetLED8StageColor(1, colours));
    auto hex = [](const uchar *bytes, int n) { return QByteArray(reinterpret_cast<const char *>(bytes), n).toHex(); };
    return QStringLiteral("83 %1 87 %2 8B %3 8D %4 00 %5 90 %6 replied %7")
            .arg(hex(options, 4)).arg(dpi).arg(hex(&stage, 1), hex(led, 3), hex(code, 4), hex(colours, 24),
                 replied.join(' '));
}

} // namespace

class tst_HidCommands : public QObject
{
    Q_OBJECT
private slots:
    // Every slot in turn on one mouse: what it puts on the wire, then on a busy channel its text after 255 polls and
    // nothing sent.
    void everyCommand()
    {
        SimRig rig;
        Hid_Thread hid;
        findCataloguedDevices(hid, StoreFile::format(), {});
        const auto wire = [&rig] { return rig.trace().texts({"feature-out", "data-out", "sleep"}); };
        for (const CommandSlot &command : commandSlots()) {
            rig.clearTrace();
            command.run(hid);
            QCOMPARE(wire(), expand(command.wire));
            QVERIFY(rig.sim->ignoredBlocks().isEmpty() && hid.hidFree && rig.sim->openHandles() == 0);
            rig.clearTrace();
            hid.hidFree = false;
            QTest::ignoreMessage(QtDebugMsg, command.failText);
            command.run(hid);
            hid.hidFree = true;
            QCOMPARE(wire(), QStringList(255, "- sleep 8"));
        }
    }

    void replies_data()
    {
        QTest::addColumn<QString>("results");
        const QString caller = "83 a1a2a3a4 87 0 8B 00 8D 000000 00 00000000 90 " + QString(48, '5') + " replied 0 0 0 0 0";
        QTest::newRow("answered") << "83 01020304 87 5 8B 05 8D 070809 00 37333139 90 " + QString(stateColours.toHex())
                                     + " replied 9 9 9 9 9";
        QTest::newRow("short replies") << "83 a1a2a3a4 87 5 8B 05 8D 070800 00 37330000 90 a0a1a2a3" + QString(40, '0')
                                          + " replied 4 4 4 4 4";
        QTest::newRow("silent") << "83 01020304 87 5 8B 05 8D 070809 00 37333139 90 " + QString(48, '5')
                                   + " replied 9 9 9 9 0";
        QTest::newRow("unplugged after discovery") << caller;
        QTest::newRow("busy") << "83 a1a2a3a4 87 2 8B 99 8D 999999 00 c1c2c3c4 90 " + QString(48, '5') + " replied 0 0 0 0 0";
    }
    // Without an answer a query hands back its presets: the caller's options and colours, else zeros.
    void replies()
    {
        QFETCH(QString, results);
        SimRig rig;
        G7FirmwareState state;
        state.keyboardOptions = QByteArray::fromHex("01020304");
        state.dpiStage = 5;
        std::tie(state.ledEffect, state.ledOption1, state.ledOption2) = std::make_tuple(7, 8, 9);
        state.stageColours = stateColours;
        rig.sim->setState(state);
        Hid_Thread hid;
        prepare(rig, hid);
        for (int i = hid.hidFree ? 6 : 0; i < 6; ++i)
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^cmd Failed"));
        QCOMPARE(queryAll(hid), results);
        // A silent mouse costs one bounded wait: the colour read gives up after 500 ms.
        const int waited = rig.readWaitMs();
        QVERIFY(QByteArray(QTest::currentDataTag()) == "silent" ? waited > 0 && waited <= 500 : waited == 0);
        QCOMPARE(rig.sim->openHandles(), 0);
    }

    void macroTransfer_data()
    {
        QTest::addColumn<quint32>("reportLength");
        QTest::addColumn<QString>("ops");  // "D": one data report opened, written, closed
        QTest::addColumn<QList<int>>("pauses");
        const QString block = "open feature-out close";
        const QList<int> settle = {64, 64}, end = {64, 64, 100};
        QTest::newRow("length 16") << 16u << block + QString(" D").repeated(12) << settle + QList<int>(12, 8) + end;
        QTest::newRow("length 100, the last one padded") << 100u << block + " D D" << settle + QList<int>(2, 8) + end;
        QTest::newRow("length 0") << 0u << block << end;
        QTest::newRow("length beyond any report") << 100000u << block << end;
        QTest::newRow("block-refused") << 64u << "open error feature-out close" << QList<int>{100};
        QTest::newRow("data2-refused") << 64u << block + " D open error data-out close" << QList<int>{64, 64, 8, 100};
        QTest::newRow("unplugged-after-data1") << 64u << block + " D open-failed" << QList<int>{64, 64, 8, 100};
        QTest::newRow("unplugged") << 64u << "open-failed" << QList<int>{100};
    }
    // A failed open forgets the path, so later commands leave the device alone.
    void macroTransfer()
    {
        QFETCH(quint32, reportLength);
        QFETCH(QString, ops);
        QFETCH(QList<int>, pauses);
        SimRig rig;
        Hid_Thread hid;
        prepare(rig, hid);
        hid.devList[int(hid.did)].reportLength = reportLength;
        Payload payload;
        hid.hid_05H_SetMacroKey(1, payload.bytes);
        QStringList seen, sent;
        for (const TraceLine &line : rig.trace().lines())
            seen << (line.op == QLatin1String("error") ? line.text().mid(4) : line.op);
        seen.removeAll("sleep");
        QCOMPARE(seen.join(' ').replace("open data-out close", "D"), ops);
        for (int i = 0; i < ops.count('D'); ++i)
            sent << "cmd data-out " + ('\0' + payload.left(192).mid(i * reportLength, reportLength)
                                                 .leftJustified(reportLength, '\0')).toHex(' ').toUpper();
        QCOMPARE(rig.trace().texts({"data-out"}), sent);
        QCOMPARE(rig.sleeper->pauses, pauses);
        QVERIFY(hid.hidFree && !hid.hidDev && rig.sim->openHandles() == 0);
        QCOMPARE(hid.record(hid.did).path.isEmpty(), ops.contains("open-failed"));
    }

    // A DPI press during a colour read on one node: the command handle skips the event report, waits for the colours.
    void eventsOnTheCommandNode()
    {
        for (const int type : {1, 2}) {   // eight colours, packed colours
            auto sim = std::make_shared<SimulatedG7>();
            sim->setSharedNode(true);
            SimRig rig(sim);
            G7FirmwareState state;
            state.stageColours = stateColours;
            sim->setState(state);
            Hid_Thread hid;
            findCataloguedDevices(hid, StoreFile::format(), {});
            sim->emitDpiEventWithNextInput(3);
            uchar colours[24];
            std::fill(colours, colours + 24, 0x55);
            hid.hid_90H_GetLED8StageColor(uchar(type), colours);
            const int n = type == 2 ? 4 : 24;
            QCOMPARE(QByteArray(reinterpret_cast<char *>(colours), 24),
                     stateColours.left(n) + QByteArray(24 - n, 0x55));
            QVERIFY(hid.hidFree && sim->openHandles() == 0);
            QCOMPARE(rig.trace().texts({"data-in"}), (QStringList{"cmd data-in 06 07 00 03",
                     "cmd data-in " + stateColours.toHex(' ').toUpper() + QString(" 00").repeated(40)}));
        }
    }

    // A failed read of a reply leaves its line (the other operations: the tests that read their traces).
    void traceOfAnExchange()
    {
        SimRig rig;
        HidHandle *cmd = hidBackend().openPath(rig.sim->commandPath());
        rig.sim->failCall(SimulatedG7::Call::FeatureIn);
        uchar in[9];
        QCOMPARE(hidBackend().getFeatureReport(cmd, in, 9), -1);
        hidBackend().close(cmd);
        QCOMPARE(rig.trace().texts(), QStringList({"cmd open", "cmd error feature-in", "cmd close"}));
        // An unwritable trace file costs one console line and no trace.
        DeviceOptions options{true, 1, "/nonexistent/dir/t.txt"};
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Cannot write the report trace /nonexistent/dir/t.txt"));
        const std::shared_ptr<SimulatedG7> sim = installDeviceBackend(options);
        QVERIFY(sim && !ReportTrace::isOpen() && dynamic_cast<SimulatedG7 *>(&hidBackend()) == sim.get());
        // Nor anything but a regular file: a FIFO nobody reads must not hold the open up.
        QTemporaryDir dir;
        const QString fifo = dir.filePath("trace.fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const QString &notFile : {fifo, QStringLiteral("/dev/null")}) {
            QTest::ignoreMessage(QtDebugMsg,
                                 QRegularExpression("^Cannot write the report trace .*: not a regular file$"));
            QVERIFY(!ReportTrace::open(notFile));
        }
    }
};

QTEST_GUILESS_MAIN(tst_HidCommands)
#include "tst_hid_commands.moc"
