#pragma once

#include "discovery.h"
#include "hid_thread.h"
#include "pauses.h"
#include "recordinghost.h"
#include "reporttrace.h"
#include "simulatedg7.h"
#include "storefile.h"
#include "tracereader.h"
#include "tracingbackend.h"

#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <functional>
#include <numeric>

inline int poolLoops()
{
    return QThreadPool::globalInstance()->activeThreadCount();
}

// A simulated mouse behind the tracing backend, pauses recorded; undone when it dies.
class SimRig
{
public:
    explicit SimRig(std::shared_ptr<SimulatedG7> mouse = std::make_shared<SimulatedG7>()) : sim(std::move(mouse))
    {
        clearTrace();
        ReportTrace::labelPath(QString::fromLatin1(sim->commandPath()), "cmd");
        ReportTrace::labelPath(QString::fromLatin1(sim->eventPath()), "evt");
        setHidBackend(std::make_shared<TracingBackend>(sim));
        setSleeper(sleeper);
    }
    ~SimRig()
    {
        setSleeper(nullptr);
        setHidBackend(nullptr);
        ReportTrace::close();
    }

    TraceReader trace() const { return TraceReader(m_dir.filePath("trace.txt")); }
    // How long the reads on the command interface may have waited, in all: the sum of their timeouts.
    int readWaitMs() const
    {
        int total = 0;
        for (const TraceLine &line : trace().lines())
            total += line.op == QLatin1String("read-timeout") && line.iface == QLatin1String("cmd")
                     ? line.fields.value(0).toInt() : 0;
        return total;
    }
    // The next command reaches the firmware: one block accepted, the rate set.
    bool setsRate(Hid_Thread &hid, quint8 rate) const
    {
        const qsizetype accepted = sim->acceptedBlocks().size();
        hid.hid_01H_SetReportRate(rate);
        return sim->acceptedBlocks().size() == accepted + 1 && sim->state().reportRate == rate;
    }
    // Monitor stopped and mouse pulled: true once no loop runs and no handle is open.
    bool unplugged(Hid_Thread &hid) const
    {
        hid.stopMonitor();
        sim->unplug();
        return QTest::qWaitFor([] { return poolLoops() == 0; }) && sim->openHandles() == 0;
    }
    void clearTrace()
    {
        ReportTrace::close();
        QFile::remove(m_dir.filePath("trace.txt"));
        ReportTrace::open(m_dir.filePath("trace.txt"));
    }

    std::shared_ptr<SimulatedG7> sim;
    std::shared_ptr<RecordingSleeper> sleeper = std::make_shared<RecordingSleeper>();

private:
    QTemporaryDir m_dir;
};

// A payload whose every byte tells where it came from.
struct Payload {
    uchar bytes[192];
    Payload() { std::iota(bytes, bytes + 192, uchar(0x40)); }
    QByteArray left(int n, int from = 0) const { return QByteArray(reinterpret_cast<const char *>(bytes + from), n); }
};

// A command slot: its call (p: a Payload's bytes), the data reports it moves at a report length of 64,
// what it puts on the wire with the shipped catalogue ("<block>|<pause>|D<offset>+<count>", the last a
// data report carrying payload bytes offset onwards) and what it logs when the channel stays busy.
struct CommandSlot {
    const char *name;
    int dataReports;
    std::function<void(Hid_Thread &, uchar *)> call;
    const char *wire;
    const char *failText;
    void run(Hid_Thread &hid) const
    {
        Payload payload;
        call(hid, payload.bytes);
    }
};

#define CALL(call) [](Hid_Thread &h, uchar *p) { Q_UNUSED(p) h.call; }
inline const QList<CommandSlot> &commandSlots()
{
    static const QList<CommandSlot> table = {
        {"00H", 0, CALL(hid_00H_GetSecrecyCode(p[0], p[1], p[2], p[3])), "00 00 40 41 42 43 00 00 F9", "cmd Failed 00"},
        {"01H", 0, CALL(hid_01H_SetReportRate(2)), "00 01 02 03 03 0F 00 00 E7|64|64", "cmd Failed 01"},
        {"02H", 0, CALL(hid_02H_SetCurrentProfile(1)), "00 02 01 00 00 00 00 00 FC|8", "cmd Failed 02"},
        {"03H options", 0, CALL(hid_03H_SetKeyboardoption(1, 2, 3, 4)), "00 03 01 02 03 04 00 00 F2|8",
         "cmd Failed 03"},
        {"03H key matrix", 1, CALL(hidARM_03H_SetKeyMatrix(p)),
         "00 03 00 00 01 00 00 00 FB|64|64|D0+64|8|64|64|100", "cmd Failed 03"},
        {"04H lift-off", 0, CALL(hid_04H_SetJMGD(3)), "00 04 03 00 00 00 00 00 F8|64|64", "cmd Failed 04"},
        {"04H gun data", 0, CALL(hid_04H_SetGunData(1, 2, 3, 4, 5)), "00 04 01 02 03 04 05 00 EC|64|64",
         "cmd Failed 04"},
        {"05H macro 2", 3, CALL(hid_05H_SetMacroKey(2, p)),
         "00 05 00 02 03 00 00 00 F5|64|64|D0+64|8|D64+64|8|D128+64|8|64|64|100", "cmd Failed 05"},
        {"06H", 0, CALL(hid_06H_SetRGBLedEffect(1, 2, 3, 4)), "00 06 01 02 03 04 01 00 00|64|64",
         "hid_06H_SetRGBLedEffect"},
        {"07H", 0, CALL(hid_07H_SetDPISet(1, 2, 3, 4, 5, 6)), "00 07 01 02 03 04 05 06 00|64|64", "cmd Failed 07H"},
        {"08H", 0, CALL(hid_08H_SetDPISet(1, 2, 3, 4, 5)), "00 08 01 02 03 04 05 00 00|64|64", "cmd Failed 08H"},
        {"10H eight colours", 1, CALL(hid_10H_SetLED8StageColor(1, p)),
         "00 0A 00 00 01 00 00 00 F4|64|64|D0+24|8|64|64", "cmd Failed 10"},
        {"10H one colour", 1, CALL(hid_10H_SetLED8StageColor(2, p)),
         "00 0A 00 00 01 00 00 00 F4|64|64|D0+4|8|64|64", "cmd Failed 10"},
        {"0EH", 0, CALL(hid_0EH_SetXYSensitive(5, 6)), "00 0B 05 06 00 00 00 00 E9|64|64", "cmd Failed 0b"},
        {"LED colour", 1, CALL(hid_LEDColor(p)), "00 0C 00 00 01 00 00 00 F2|64|64|D0+24|8|64|64", "hid_LEDColor"},
        {"13H", 0, CALL(hid_13H_Recovery()), "00 13 FF 00 00 00 00 00 ED|64|64", "cmd Failed 13H"},
        {"83H", 0, CALL(hid_83H_GetKeyboardoption(p[0], p[1], p[2], p[3])), "00 83 00 00 00 00 00 00 7C", "cmd Failed"},
        {"87H", 0, CALL(hid_87H_GetCurrentDPI()), "00 87 00 00 00 00 00 00 78", "cmd Failed"},
        {"8BH", 0, CALL(hid_8BH_GetCurrentDPIStage(p[0])), "00 8B 00 00 00 00 00 00 74", "cmd Failed"},
        {"8DH", 0, CALL(hid_8DH_GetRGBLedEffect(p[0], p[1], p[2])), "00 8D 00 00 00 00 00 00 72", "cmd Failed"},
        {"90H", 1, CALL(hid_90H_GetLED8StageColor(1, p)), "00 90 01 00 00 00 00 00 6E", "cmd Failed"},
    };
    return table;
}
#undef CALL

// Discovery and connect as the tray agent runs them, with the program's INI dialect.
inline void discover(Hid_Thread &hid) { runDiscovery(hid, StoreFile::format(), {}, QStringLiteral(":/DevInfo.ini")); }

inline void connectMouse(Hid_Thread &hid)
{
    QTest::ignoreMessage(QtDebugMsg, "Device Connect");
    discover(hid);
}

// Counts the event pumps: a queued call posting itself again runs once per pump, as a timer would.
class PumpProbe : public QObject
{
public:
    void start(std::function<void(int)> atPump)
    {
        m_atPump = std::move(atPump);
        pumps = 0;
        post(++m_generation);
    }
    void stop() { ++m_generation; }
    int pumps = 0;

private:
    void post(quint64 generation)
    {
        QMetaObject::invokeMethod(this, [this, generation] {
            if (generation != m_generation)
                return;
            ++pumps;
            post(generation);
            m_atPump(pumps);
        }, Qt::QueuedConnection);
    }
    std::function<void(int)> m_atPump;
    quint64 m_generation = 0;
};
