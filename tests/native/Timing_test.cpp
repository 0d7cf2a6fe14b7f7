#include "timing/clsTiming.h"

#include <gtest/gtest.h>

#include "FakeCounter.h"

namespace {

// A stopwatch whose calibration measured `overhead` ticks a read (10 MHz counter).
clsTiming Calibrated(std::uint64_t overhead) {
    FakeCounter& c = FakeCounter::Get() = FakeCounter();
    for (std::uint64_t i = 0; i <= 100; ++i) c.script.push_back(1000 + overhead * i);
    return clsTiming();
}

TEST(Timing, CalibratesOnceAndTakesOneReadOffEachInterval) {
    clsTiming timing = Calibrated(20);
    EXPECT_TRUE(timing.Available());
    EXPECT_DOUBLE_EQ(timing.Overhead(), 20);
    EXPECT_EQ(FakeCounter::Get().reads, 101);

    // Counter readings from Start on, and the corrected milliseconds.
    const struct {
        std::deque<std::uint64_t> reads;
        double ms;
    } cases[] = {
        {{500000, 525000}, 2.498},
        {{1000, 1010}, -0.001},  // shorter than one read
        {{0xFFFFFFF0ull, 0xFFFFFFF0ull + 0x100000000ull + 10020}, 429496.7296 + 1},  // unsigned low half
    };
    for (const auto& c : cases) {
        FakeCounter::Get().script = c.reads;
        timing.Start();
        EXPECT_NEAR(timing.Elapsed(), c.ms, 1e-9) << c.reads.front();
    }
    FakeCounter::Get().script = {0, 12345020, 22345020};
    timing.Start();
    EXPECT_EQ(timing.ElapsedText(), L"1,234.500 msec");
    EXPECT_NEAR(timing.Elapsed(), 2234.5, 1e-9);  // reading stops nothing
}

TEST(Timing, PausesAreLeftOutWithTheirReads) {
    clsTiming timing = Calibrated(20);
    // Start, Pause, Resume, Resume again (no pause pending), Elapsed.
    FakeCounter::Get().script = {1000, 2000, 7000, 8000, 10000};
    timing.Start();
    timing.Pause();
    timing.Resume();
    timing.Resume();
    EXPECT_NEAR(timing.Elapsed(), (9000 - 20 - 5000 - 40) / 1e4, 1e-12);

    // Start forgets earlier pauses; Elapsed during a pause counts it.
    FakeCounter::Get().script = {20000, 21000, 30020};
    timing.Start();
    timing.Pause();
    EXPECT_NEAR(timing.Elapsed(), 1.0, 1e-12);
}

TEST(Timing, WaitPassesUntilTheDurationAndPumpsWhenAsked) {
    const struct {
        double duration;
        bool pump;
        int pumps;
    } cases[] = {{0.35, true, 4}, {0.35, false, 0}, {0, true, 1}, {-5, true, 1}};
    for (const auto& c : cases) {
        clsTiming timing = Calibrated(0);
        FakeCounter::Get().step = 1000;  // 0.1 ms a read
        double duration = c.duration;
        bool pump = c.pump;
        timing.Wait(duration, pump);
        EXPECT_EQ(FakeCounter::Get().pumps, c.pumps) << c.duration;
    }
}

TEST(Timing, AMissingCounterWarnsOnceAndReadsZero) {
    FakeCounter& c = FakeCounter::Get() = FakeCounter();
    c.available = false;
    c.step = 12345;
    clsTiming timing;
    EXPECT_FALSE(timing.Available());
    EXPECT_EQ(c.reads, 0);
    timing.Start();
    timing.Pause();
    timing.Resume();
    EXPECT_EQ(timing.Elapsed(), 0);
    EXPECT_EQ(timing.ElapsedText(), L"0.000 msec");
    double duration = 1000;
    bool pump = true;
    timing.Wait(duration, pump);  // one pass, not forever
    EXPECT_EQ(c.pumps, 1);
    EXPECT_EQ(c.messages, 1);
}

}  // namespace
