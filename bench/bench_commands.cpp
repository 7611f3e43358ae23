// Times each command slot of Hid_Thread against the simulated mouse with the
// real pauses, and compares the time with the pauses the protocol mandates.
// Also prices the check byte, one enumeration and one trace line.

#include "catalogue.h"
#include "hid_thread.h"
#include "hidbackend.h"
#include "pauses.h"
#include "realhidbackend.h"
#include "reporttrace.h"
#include "simulatedg7.h"
#include "storefile.h"
#include "tracingbackend.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

namespace {

// Sleeps as the program does and adds up what the device layer asked for.
class CountingSleeper : public RealSleeper
{
public:
    void sleep(int ms) override
    {
        total += ms;
        RealSleeper::sleep(ms);
    }
    int total = 0;
};

struct Slot {
    const char *name;
    int mandatedMs;   // the pauses the protocol fixes for this command
    std::function<void(Hid_Thread &)> run;
};

uchar table24[24] = {1, 2, 3};
uchar matrix64[64] = {4, 5, 6};
uchar macro192[192] = {7, 8, 9};

const Slot commandSlots[] = {
    {"hid_00H_GetSecrecyCode", 0, [](Hid_Thread &h) { uchar a = 0, b = 0, c = 0, d = 0; h.hid_00H_GetSecrecyCode(a, b, c, d); }},
    {"hid_01H_SetReportRate", 128, [](Hid_Thread &h) { h.hid_01H_SetReportRate(2); }},
    {"hid_02H_SetCurrentProfile", 8, [](Hid_Thread &h) { h.hid_02H_SetCurrentProfile(1); }},
    {"hid_03H_SetKeyboardoption", 8, [](Hid_Thread &h) { h.hid_03H_SetKeyboardoption(1, 2, 3, 0x40); }},
    {"hidARM_03H_SetKeyMatrix", 128 + 8 + 128 + 100, [](Hid_Thread &h) { h.hidARM_03H_SetKeyMatrix(matrix64); }},
    {"hid_04H_SetJMGD", 128, [](Hid_Thread &h) { h.hid_04H_SetJMGD(3); }},
    {"hid_04H_SetGunData", 128, [](Hid_Thread &h) { h.hid_04H_SetGunData(1, 2, 3, 4, 5); }},
    {"hid_05H_SetMacroKey", 128 + 3 * 8 + 128 + 100, [](Hid_Thread &h) { h.hid_05H_SetMacroKey(2, macro192); }},
    {"hid_06H_SetRGBLedEffect", 128, [](Hid_Thread &h) { h.hid_06H_SetRGBLedEffect(13, 7, 50, 6); }},
    {"hid_07H_SetDPISet", 128, [](Hid_Thread &h) { h.hid_07H_SetDPISet(1, 0xFF, 8, 16, 32, 48); }},
    {"hid_08H_SetDPISet", 128, [](Hid_Thread &h) { h.hid_08H_SetDPISet(64, 96, 128, 160, 0); }},
    {"hid_10H_SetLED8StageColor", 128 + 8 + 128, [](Hid_Thread &h) { h.hid_10H_SetLED8StageColor(1, table24); }},
    {"hid_0EH_SetXYSensitive", 128, [](Hid_Thread &h) { h.hid_0EH_SetXYSensitive(10, 12); }},
    {"hid_LEDColor", 128 + 8 + 128, [](Hid_Thread &h) { h.hid_LEDColor(table24); }},
    {"hid_13H_Recovery", 128, [](Hid_Thread &h) { h.hid_13H_Recovery(); }},
    {"hid_83H_GetKeyboardoption", 0, [](Hid_Thread &h) { uchar a = 0, b = 0, c = 0, d = 0; h.hid_83H_GetKeyboardoption(a, b, c, d); }},
    {"hid_87H_GetCurrentDPI", 0, [](Hid_Thread &h) { h.hid_87H_GetCurrentDPI(); }},
    {"hid_8BH_GetCurrentDPIStage", 0, [](Hid_Thread &h) { uchar s = 0; h.hid_8BH_GetCurrentDPIStage(s); }},
    {"hid_8DH_GetRGBLedEffect", 0, [](Hid_Thread &h) { uchar a = 0, b = 0, c = 0; h.hid_8DH_GetRGBLedEffect(a, b, c); }},
    {"hid_90H_GetLED8StageColor", 0, [](Hid_Thread &h) { h.hid_90H_GetLED8StageColor(1, table24); }},
};

template <typename F>
double nanosPerCall(int calls, F &&f)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < calls; ++i)
        f(i);
    return double(timer.nsecsElapsed()) / calls;
}

int linesIn(const QString &file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? int(in.readAll().count('\n')) : 0;
}

// Best time of each command in ns; with a trace file, also the lines one run writes.
QList<qint64> benchCommands(Hid_Thread &hid, CountingSleeper &sleeper, int repetitions,
                            const QList<qint64> &untraced = {}, const QString &traceFile = QString())
{
    std::printf("%-28s %10s %10s %10s %8s %s\n", "command", "measured", "pauses", "mandated", "ratio",
                traceFile.isEmpty() ? "" : "   trace lines, extra time per line");
    double worst = 0;
    QList<qint64> times;
    for (const Slot &slot : commandSlots) {
        qint64 best = -1;
        int paused = 0;
        const int linesBefore = traceFile.isEmpty() ? 0 : linesIn(traceFile);
        for (int r = 0; r < repetitions; ++r) {
            sleeper.total = 0;
            QElapsedTimer timer;
            timer.start();
            slot.run(hid);
            const qint64 ns = timer.nsecsElapsed();
            best = best < 0 ? ns : std::min(best, ns);
            paused = sleeper.total;
        }
        times.append(best);
        QByteArray traceCost;
        if (!traceFile.isEmpty()) {
            const int lines = (linesIn(traceFile) - linesBefore) / repetitions;
            const double extraUs = (best - untraced.value(times.size() - 1)) / 1e3;
            traceCost = QByteArray::number(lines).rightJustified(8) + "  "
                    + QByteArray::number(lines ? extraUs / lines : 0.0, 'f', 2).rightJustified(8) + " us";
        }
        const double measuredMs = best / 1e6;
        if (slot.mandatedMs > 0) {
            const double ratio = measuredMs / slot.mandatedMs;
            worst = std::max(worst, ratio);
            std::printf("%-28s %8.3fms %8dms %8dms %8.4f %s%s\n", slot.name, measuredMs, paused, slot.mandatedMs,
                        ratio, traceCost.constData(), paused != slot.mandatedMs ? "  <- pauses differ" : "");
        } else {
            std::printf("%-28s %8.3fms %8dms %8s %8s %s%s\n", slot.name, measuredMs, paused, "-", "-",
                        traceCost.constData(), paused != 0 ? "  <- pauses differ" : "");
        }
    }
    std::printf("worst ratio %.4f (goal <= 1.02)\n", worst);
    return times;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    auto sim = std::make_shared<SimulatedG7>(1);
    setHidBackend(sim);
    auto sleeper = std::make_shared<CountingSleeper>();
    setSleeper(sleeper);

    Hid_Thread hid;
    bool encode = false;
    hid.findDevices(readCatalogue(QStringLiteral(":/DevInfo.ini"), StoreFile::format(), {}, &encode));
    isEncode = encode;
    if (hid.did != 1 || hid.devList.value(1).path.isEmpty()) {
        std::fprintf(stderr, "the simulated mouse was not found\n");
        return 1;
    }

    std::printf("== commands, simulated mouse, real pauses, best of %d, no trace\n", repetitions);
    const QList<qint64> untraced = benchCommands(hid, *sleeper, repetitions);

    QTemporaryDir dir;
    const QString traceFile = dir.filePath(QStringLiteral("trace.txt"));
    ReportTrace::open(traceFile);
    setHidBackend(std::make_shared<TracingBackend>(sim));
    std::printf("\n== the same with --trace\n");
    benchCommands(hid, *sleeper, repetitions, untraced, traceFile);
    setHidBackend(sim);

    std::printf("\n== costs\n");
    uchar block[8] = {0x01, 0x02, 0x03, 0x03, 0x0F, 0x00, 0x00, 0x00};
    volatile uchar sink = 0;
    std::printf("hidCS                         %8.1f ns\n",
                nanosPerCall(1000000, [&](int i) { block[6] = uchar(i); sink = sink + hid.hidCS(block); }));
    std::printf("enumeration, simulated        %8.1f ns\n", nanosPerCall(100000, [&](int) {
                    hidBackend().freeEnumeration(hidBackend().enumerate(0x260D, 0x1031));
                }));
    RealHidBackend real;
    std::printf("enumeration, hidapi (1 model) %8.1f us\n", nanosPerCall(200, [&](int) {
                    real.freeEnumeration(real.enumerate(0x260D, 0x1031));
                }) / 1000);
    const uchar feature[9] = {0x00, 0x02, 0x01, 0, 0, 0, 0, 0, 0xFC};
    uchar data[65] = {};
    std::printf("trace line, feature-out       %8.1f ns\n",
                nanosPerCall(100000, [&](int) { ReportTrace::write("cmd", "feature-out", feature, 9); }));
    std::printf("trace line, data-out (65)     %8.1f ns\n",
                nanosPerCall(100000, [&](int) { ReportTrace::write("cmd", "data-out", data, 65); }));
    std::printf("trace line, sleep             %8.1f ns\n",
                nanosPerCall(100000, [&](int) { ReportTrace::write("-", "sleep", nullptr, 0, 64); }));
    ReportTrace::close();
    std::printf("trace write, trace closed     %8.1f ns\n",
                nanosPerCall(1000000, [&](int) { ReportTrace::write("cmd", "feature-out", feature, 9); }));

    setSleeper(nullptr);
    setHidBackend(nullptr);
    return 0;
}
