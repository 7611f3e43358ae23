// Per-event cost of the keyboard hook procedure (table lookups, edge detection and the
// callback), and whether it allocates. Not a test; run it by hand:
//   build/bin/bench_inputhook [events]
// Goal: at most 200 ns per event and no allocation.

#include <inputhook.h>

#include <QCoreApplication>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> allocations{0};
volatile unsigned sink = 0;

void countKey(uchar usage, uchar keyDown, void *) { sink = sink + usage + keyDown; }

struct KeyEvent {
    quint32 message, scanCode, flags;
};

// A typing mix: presses, auto-repeats, releases, extended keys and keys without a usage.
constexpr KeyEvent mix[] = {
    {0x100, 0x1E, 0}, {0x100, 0x1E, 0}, {0x100, 0x1E, 0}, {0x101, 0x1E, 0}, {0x100, 0x1C, 1}, {0x101, 0x1C, 1},
    {0x104, 0x38, 0}, {0x104, 0x54, 0x20}, {0x105, 0x54, 0x20}, {0x105, 0x38, 0}, {0x100, 0x5C, 1},
    {0x101, 0x5C, 1}, {0x100, 0x2A, 0}, {0x100, 0x10, 0}, {0x101, 0x10, 0}, {0x101, 0x2A, 0},
};

} // namespace

void *operator new(std::size_t size)
{
    ++allocations;
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // no GUI platform: the hooks themselves are not installed
    const long events = argc > 1 ? std::atol(argv[1]) : 20'000'000;
    InputHook hook(false);
    hook.uninstall();
    hook.setKeyboardCallback(countKey, nullptr);

    constexpr long mixSize = long(sizeof(mix) / sizeof(mix[0]));
    double best = 1e9;
    long allocated = 0;
    for (int round = 0; round < 5; ++round) {
        const long before = allocations.load();
        const auto start = std::chrono::steady_clock::now();
        for (long i = 0; i < events; ++i) {
            const KeyEvent &e = mix[i % mixSize];
            InputHook::keyboardProcedure(0, e.message, e.scanCode, e.flags);
        }
        const auto elapsed = std::chrono::steady_clock::now() - start;
        allocated += allocations.load() - before;
        const double ns = std::chrono::duration<double, std::nano>(elapsed).count() / double(events);
        best = std::min(best, ns);
    }
    std::printf("keyboard procedure: %.1f ns per event (best of 5 rounds of %ld events), %ld allocations\n", best,
                events, allocated);
    return 0;
}
