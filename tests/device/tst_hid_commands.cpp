#include "hid_thread.h"
#include "scrambler.h"
#include "support_attach.h"
#include "support_simrig.h"

#include <QTest>

#include <functional>

namespace {

// A payload whose every byte tells where it came from.
struct Payload {
    uchar bytes[192];
    Payload()
    {
        for (int i = 0; i < 192; ++i)
            bytes[i] = uchar(0x40 + i);
    }
};

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString feature(const char *block)
{
    return QStringLiteral("cmd feature-out ") + QLatin1String(block);
}

QString sleep(int ms)
{
    return QStringLiteral("- sleep %1").arg(ms);
}

// One 65-byte output report carrying `count` payload bytes from `offset`.
QString dataOut(int offset, int count)
{
    QByteArray report(65, '\0');
    for (int i = 0; i < count; ++i)
        report[1 + i] = char(0x40 + offset + i);
    return QStringLiteral("cmd data-out ") + hex(report);
}

const QStringList settle = {sleep(64), sleep(64)};

// What a command puts on the wire: feature reports, data reports and pauses.
QStringList wireOf(const SimRig &rig)
{
    QStringList wire;
    const TraceReader trace = rig.trace();
    for (const TraceLine &line : trace.lines()) {
        if (line.op == "feature-out" || line.op == "data-out" || line.op == "sleep")
            wire.append(line.text());
    }
    return wire;
}

using SlotCall = std::function<void(Hid_Thread &, Payload &)>;

struct CommandRow {
    const char *name;
    SlotCall call;
    QStringList wire;
    const char *failText;
};

QList<CommandRow> commandRows()
{
    uchar b1 = 0x11, b2 = 0x22, b3 = 0x33, b4 = 0x44;
    return {
        {"00H", [=](Hid_Thread &h, Payload &) mutable { h.hid_00H_GetSecrecyCode(b1, b2, b3, b4); },
         {feature("00 00 11 22 33 44 00 00 55")}, "cmd Failed 00"},
        {"01H", [](Hid_Thread &h, Payload &) { h.hid_01H_SetReportRate(2); },
         QStringList{feature("00 01 02 03 03 0F 00 00 E7")} + settle, "cmd Failed 01"},
        {"02H", [](Hid_Thread &h, Payload &) { h.hid_02H_SetCurrentProfile(1); },
         {feature("00 02 01 00 00 00 00 00 FC"), sleep(8)}, "cmd Failed 02"},
        {"03H options", [](Hid_Thread &h, Payload &) { h.hid_03H_SetKeyboardoption(1, 2, 3, 4); },
         {feature("00 03 01 02 03 04 00 00 F2"), sleep(8)}, "cmd Failed 03"},
        {"03H key matrix", [](Hid_Thread &h, Payload &p) { h.hidARM_03H_SetKeyMatrix(p.bytes); },
         QStringList{feature("00 03 00 00 01 00 00 00 FB")} + settle + QStringList{dataOut(0, 64), sleep(8)}
                 + settle + QStringList{sleep(100)},
         "cmd Failed 03"},
        {"04H lift-off", [](Hid_Thread &h, Payload &) { h.hid_04H_SetJMGD(3); },
         QStringList{feature("00 04 03 00 00 00 00 00 F8")} + settle, "cmd Failed 04"},
        {"04H gun data", [](Hid_Thread &h, Payload &) { h.hid_04H_SetGunData(1, 2, 3, 4, 5); },
         QStringList{feature("00 04 01 02 03 04 05 00 EC")} + settle, "cmd Failed 04"},
        {"05H macro 2", [](Hid_Thread &h, Payload &p) { h.hid_05H_SetMacroKey(2, p.bytes); },
         QStringList{feature("00 05 00 02 03 00 00 00 F5")} + settle
                 + QStringList{dataOut(0, 64), sleep(8), dataOut(64, 64), sleep(8), dataOut(128, 64), sleep(8)}
                 + settle + QStringList{sleep(100)},
         "cmd Failed 05"},
        {"06H", [](Hid_Thread &h, Payload &) { h.hid_06H_SetRGBLedEffect(1, 2, 3, 4); },
         QStringList{feature("00 06 01 02 03 04 01 00 00")} + settle, "hid_06H_SetRGBLedEffect"},
        {"07H", [](Hid_Thread &h, Payload &) { h.hid_07H_SetDPISet(1, 2, 3, 4, 5, 6); },
         QStringList{feature("00 07 01 02 03 04 05 06 00")} + settle, "cmd Failed 07H"},
        {"08H", [](Hid_Thread &h, Payload &) { h.hid_08H_SetDPISet(1, 2, 3, 4, 5); },
         QStringList{feature("00 08 01 02 03 04 05 00 00")} + settle, "cmd Failed 08H"},
        {"10H eight colours", [](Hid_Thread &h, Payload &p) { h.hid_10H_SetLED8StageColor(1, p.bytes); },
         QStringList{feature("00 0A 00 00 01 00 00 00 F4")} + settle + QStringList{dataOut(0, 24), sleep(8)}
                 + settle,
         "cmd Failed 10"},
        {"10H one colour", [](Hid_Thread &h, Payload &p) { h.hid_10H_SetLED8StageColor(2, p.bytes); },
         QStringList{feature("00 0A 00 00 01 00 00 00 F4")} + settle + QStringList{dataOut(0, 4), sleep(8)}
                 + settle,
         "cmd Failed 10"},
        {"0EH", [](Hid_Thread &h, Payload &) { h.hid_0EH_SetXYSensitive(5, 6); },
         QStringList{feature("00 0B 05 06 00 00 00 00 E9")} + settle, "cmd Failed 0b"},
        {"LED colour", [](Hid_Thread &h, Payload &p) { h.hid_LEDColor(p.bytes); },
         QStringList{feature("00 0C 00 00 01 00 00 00 F2")} + settle + QStringList{dataOut(0, 24), sleep(8)}
                 + settle,
         "hid_LEDColor"},
        {"13H", [](Hid_Thread &h, Payload &) { h.hid_13H_Recovery(); },
         QStringList{feature("00 13 FF 00 00 00 00 00 ED")} + settle, "cmd Failed 13H"},
        {"83H", [=](Hid_Thread &h, Payload &) mutable { h.hid_83H_GetKeyboardoption(b1, b2, b3, b4); },
         {feature("00 83 00 00 00 00 00 00 7C")}, "cmd Failed"},
        {"87H", [](Hid_Thread &h, Payload &) { h.hid_87H_GetCurrentDPI(); },
         {feature("00 87 00 00 00 00 00 00 78")}, "cmd Failed"},
        {"8BH", [](Hid_Thread &h, Payload &) { uchar s = 0; h.hid_8BH_GetCurrentDPIStage(s); },
         {feature("00 8B 00 00 00 00 00 00 74")}, "cmd Failed"},
        {"8DH", [](Hid_Thread &h, Payload &) { uchar a = 0, b = 0, c = 0; h.hid_8DH_GetRGBLedEffect(a, b, c); },
         {feature("00 8D 00 00 00 00 00 00 72")}, "cmd Failed"},
        {"90H", [](Hid_Thread &h, Payload &p) { h.hid_90H_GetLED8StageColor(1, p.bytes); },
         {feature("00 90 01 00 00 00 00 00 6E")}, "cmd Failed"},
    };
}

} // namespace

class tst_HidCommands : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void everyCommand_data();
    void everyCommand();
    void replies();
    void presetsWithoutDevice_data();
    void presetsWithoutDevice();
    void busyChannelPresets();
    void scrambledExchange();
};

void tst_HidCommands::init()
{
    isEncode = false;
    std::fill(std::begin(SecrecyCode), std::end(SecrecyCode), 0);
}

void tst_HidCommands::everyCommand_data()
{
    QTest::addColumn<int>("row");
    const QList<CommandRow> rows = commandRows();
    for (int i = 0; i < rows.size(); ++i)
        QTest::newRow(rows.at(i).name) << i;
}

// Each slot with a free channel puts exactly its reports and pauses on the
// wire; with a busy channel it logs its text after 255 polls and sends nothing.
void tst_HidCommands::everyCommand()
{
    QFETCH(int, row);
    const CommandRow command = commandRows().at(row);
    SimRig rig;
    Hid_Thread hid;
    attachShippedCatalogue(hid);
    Payload payload;

    command.call(hid, payload);
    QCOMPARE(wireOf(rig), command.wire);
    QCOMPARE(rig.sim->ignoredBlocks(), QList<QByteArray>());
    QVERIFY(hid.hidFree);
    QVERIFY(!hid.hidDev);
    QCOMPARE(rig.sim->openHandles(), 0);

    rig.clearTrace();
    hid.hidFree = false;
    QTest::ignoreMessage(QtDebugMsg, command.failText);
    command.call(hid, payload);
    QCOMPARE(wireOf(rig), QStringList(255, sleep(8)));
    QVERIFY(!hid.hidFree);
}

void tst_HidCommands::replies()
{
    SimRig rig;
    G7FirmwareState state;
    state.keyboardOptions = QByteArray::fromHex("01020304");
    state.dpiStage = 5;
    state.ledEffect = 7;
    state.ledOption1 = 8;
    state.ledOption2 = 9;
    state.stageColours = QByteArray::fromHex("A0A1A2A3A4A5A6A7A8A9AAABACADAEAFB0B1B2B3B4B5B6B7");
    rig.sim->setState(state);
    Hid_Thread hid;
    attachShippedCatalogue(hid);

    uchar b1 = 0xEE, b2 = 0xEE, b3 = 0xEE, b4 = 0xEE;
    hid.hid_83H_GetKeyboardoption(b1, b2, b3, b4);
    QCOMPARE(QList<int>({b1, b2, b3, b4}), QList<int>({1, 2, 3, 4}));

    QCOMPARE(hid.hid_87H_GetCurrentDPI(), QVariant(5));
    uchar stage = 0;
    hid.hid_8BH_GetCurrentDPIStage(stage);
    QCOMPARE(stage, uchar(5));

    uchar effect = 0, option1 = 0, option2 = 0;
    hid.hid_8DH_GetRGBLedEffect(effect, option1, option2);
    QCOMPARE(QList<int>({effect, option1, option2}), QList<int>({7, 8, 9}));

    hid.hid_00H_GetSecrecyCode(b1, b2, b3, b4);
    QCOMPARE(QList<int>({b1, b2, b3, b4}), QList<int>({'7', '3', '1', '9'}));

    uchar colours[24] = {};
    hid.hid_90H_GetLED8StageColor(1, colours);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(colours), 24), state.stageColours);

    uchar oneColour[24] = {};
    std::fill(std::begin(oneColour), std::end(oneColour), 0x55);
    hid.hid_90H_GetLED8StageColor(2, oneColour);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(oneColour), 24).toHex(),
             (state.stageColours.left(4) + QByteArray(20, 0x55)).toHex());
}

void tst_HidCommands::presetsWithoutDevice_data()
{
    QTest::addColumn<bool>("unplugged");
    QTest::newRow("unplugged after discovery") << true;
    QTest::newRow("nothing discovered") << false;
}

// A failed query hands back its presets: zeros, the caller's options for 83H
// and the caller's colours for 90H.
void tst_HidCommands::presetsWithoutDevice()
{
    QFETCH(bool, unplugged);
    SimRig rig;
    Hid_Thread hid;
    if (unplugged) {
        attachShippedCatalogue(hid);
        rig.sim->unplug();
    }

    uchar b1 = 1, b2 = 2, b3 = 3, b4 = 4;
    hid.hid_83H_GetKeyboardoption(b1, b2, b3, b4);
    QCOMPARE(QList<int>({b1, b2, b3, b4}), QList<int>({1, 2, 3, 4}));

    uchar stage = 9;
    hid.hid_8BH_GetCurrentDPIStage(stage);
    QCOMPARE(stage, uchar(0));
    QCOMPARE(hid.hid_87H_GetCurrentDPI(), QVariant(0));

    uchar effect = 9, option1 = 9, option2 = 9;
    hid.hid_8DH_GetRGBLedEffect(effect, option1, option2);
    QCOMPARE(QList<int>({effect, option1, option2}), QList<int>({0, 0, 0}));

    hid.hid_00H_GetSecrecyCode(b1, b2, b3, b4);
    QCOMPARE(QList<int>({b1, b2, b3, b4}), QList<int>({0, 0, 0, 0}));

    Payload colours;
    hid.hid_90H_GetLED8StageColor(1, colours.bytes);
    QCOMPARE(colours.bytes[0], uchar(0x40));
    QCOMPARE(colours.bytes[23], uchar(0x40 + 23));

    QVERIFY(hid.hidFree);
    QVERIFY(rig.trace().withOp("feature-out").isEmpty());
}

void tst_HidCommands::busyChannelPresets()
{
    SimRig rig;
    Hid_Thread hid;
    attachShippedCatalogue(hid);
    hid.hidFree = false;

    QTest::ignoreMessage(QtDebugMsg, "cmd Failed");
    QCOMPARE(hid.hid_87H_GetCurrentDPI(), QVariant(2));

    uchar b1 = 1, b2 = 2, b3 = 3, b4 = 4;
    QTest::ignoreMessage(QtDebugMsg, "cmd Failed");
    hid.hid_83H_GetKeyboardoption(b1, b2, b3, b4);
    QCOMPARE(QList<int>({b1, b2, b3, b4}), QList<int>({1, 2, 3, 4}));

    uchar stage = 9;
    QTest::ignoreMessage(QtDebugMsg, "cmd Failed");
    hid.hid_8BH_GetCurrentDPIStage(stage);
    QCOMPARE(stage, uchar(9));

    QCOMPARE(rig.sleeper->pauses, QList<int>(3 * 255, 8));
    QVERIFY(rig.trace().withOp("feature-out").isEmpty());
}

// With scrambling on, the block leaves scrambled (its check byte computed over
// the plain block) and a reply is unscrambled before the caller sees it.
void tst_HidCommands::scrambledExchange()
{
    SimRig rig;
    rig.sim->setScrambling(true, "246813");
    G7FirmwareState state;
    state.dpiStage = 6;
    rig.sim->setState(state);
    Hid_Thread hid;
    attachShippedCatalogue(hid);
    isEncode = true;
    const uchar code[8] = {0, '2', '4', '6', '8', '1', '3', 0};
    std::copy(std::begin(code), std::end(code), SecrecyCode);

    hid.hid_02H_SetCurrentProfile(1);
    QCOMPARE(hid.hid_87H_GetCurrentDPI(), QVariant(6));

    unsigned char profile[8] = {0x02, 0x01, 0, 0, 0, 0, 0, 0xFC};
    scrambleBlock(profile, code);
    unsigned char query[8] = {0x87, 0, 0, 0, 0, 0, 0, 0x78};
    scrambleBlock(query, code);
    const QList<TraceLine> sent = rig.trace().withOp("feature-out");
    QCOMPARE(sent.size(), 2);
    QCOMPARE(sent.at(0).bytes(), QByteArray(1, '\0') + QByteArray(reinterpret_cast<char *>(profile), 8));
    QCOMPARE(sent.at(1).bytes(), QByteArray(1, '\0') + QByteArray(reinterpret_cast<char *>(query), 8));
    QCOMPARE(rig.sim->state().profile, quint8(1));
    QVERIFY(rig.sim->ignoredBlocks().isEmpty());
}

QTEST_GUILESS_MAIN(tst_HidCommands)
#include "tst_hid_commands.moc"
