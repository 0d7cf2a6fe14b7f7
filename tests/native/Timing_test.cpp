#include "timing/clsTiming.h"

#include <gtest/gtest.h>

#include <deque>

#include "platform/Locale.h"
#include "timing/CounterServices.h"

// The counter seam, scripted: each read returns the next value, or the last
// one plus a fixed step once the script runs out; 10 MHz.
struct FakeCounter {
    bool available = true;
    std::deque<std::uint64_t> script;
    std::uint64_t last = 0, step = 0;
    int messages = 0;
} g_counter;

namespace counter {
bool QueryFrequency(CounterReading& frequency) { return frequency = {g_counter.available ? 10000000u : 0u, 0}, g_counter.available; }
void Query(CounterReading& value) {
    g_counter.last = g_counter.script.empty() ? g_counter.last + g_counter.step : g_counter.script.front();
    if (!g_counter.script.empty()) g_counter.script.pop_front();
    value = {static_cast<std::uint32_t>(g_counter.last), static_cast<std::uint32_t>(g_counter.last >> 32)};
}
void ShowUnavailableMessage() { ++g_counter.messages; }
void ProcessPendingMessages() {}
}  // namespace counter

// The stopwatch's text asks the locale for its separators: the defaults here.
NumberSeparators UserNumberSeparators() { return {}; }

namespace {

// A stopwatch whose calibration measured 20 ticks a read.
clsTiming Calibrated() {
    g_counter = FakeCounter();
    for (std::uint64_t i = 0; i <= 100; ++i) g_counter.script.push_back(1000 + 20 * i);
    return clsTiming();
}

// Each case: the calls made after Start ('P'ause, 'R'esume, 'E'lapsed), the
// counter's readings from Start on, and the last Elapsed in ms. One read
// (20 ticks) comes off each interval, two more off each pause.
TEST(Timing, CorrectsForTheCounterReadAndLeavesPausesOut) {
    const struct { const char* calls; std::deque<std::uint64_t> reads; double ms; } cases[] = {
        {"E", {500000, 525000}, 2.498},
        {"E", {1000, 1010}, -0.001},  // shorter than one read
        {"E", {0xFFFFFFF0ull, 0xFFFFFFF0ull + 0x100000000ull + 10020}, 429496.7296 + 1},  // low half unsigned
        {"EE", {0, 10020, 20020}, 2.0},  // reading stops nothing
        {"PRRE", {1000, 2000, 7000, 8000, 10000}, (9000 - 20 - 5040) / 1e4},  // a Resume without Pause changes nothing
        {"PE", {20000, 21000, 30020}, 1.0},  // during a pause it counts
    };
    for (const auto& c : cases) {
        clsTiming timing = Calibrated();
        g_counter.script = c.reads;
        timing.Start();
        double ms = 0;
        for (const char* call = c.calls; *call; ++call)
            *call == 'P' ? timing.Pause() : *call == 'R' ? timing.Resume() : void(ms = timing.Elapsed());
        EXPECT_NEAR(ms, c.ms, 1e-9) << c.calls << " " << c.reads.front();
    }
    clsTiming timing = Calibrated();
    g_counter.script = {0, 12345020};
    timing.Start();
    EXPECT_EQ(timing.ElapsedText(), L"1,234.500 msec");
}

TEST(Timing, AMissingCounterWarnsOnceAndReadsZero) {
    g_counter = FakeCounter();
    g_counter.available = false;
    g_counter.step = 12345;
    clsTiming timing;
    timing.Start();
    EXPECT_TRUE(timing.Elapsed() == 0 && g_counter.messages == 1);
}

}  // namespace
