#include "timing/clsTiming.h"

#include <gtest/gtest.h>

#include "FakeCounter.h"

namespace {

class TimingTest : public ::testing::Test {
protected:
    void SetUp() override { FakeCounter::Get().Reset(); }
    FakeCounter& counter = FakeCounter::Get();

    // Calibration reads once, then 100 times: overhead = (last - first) / 100.
    void ScriptCalibration(std::uint64_t first, std::uint64_t overhead) {
        counter.script.push_back(first);
        for (int i = 1; i <= 100; ++i) counter.script.push_back(first + overhead * i);
    }
};

TEST_F(TimingTest, CalibratesAndCorrectsTheInterval) {
    ScriptCalibration(1000, 20);
    clsTiming timing;
    EXPECT_TRUE(timing.Available());
    EXPECT_DOUBLE_EQ(timing.Overhead(), 20);
    EXPECT_EQ(counter.reads, 101);

    counter.script = {500000, 525000};
    timing.Start();
    EXPECT_NEAR(timing.Elapsed(), 2.498, 1e-12);

    // Elapsed stops nothing: a later read still measures from Start.
    counter.script = {535000};
    EXPECT_NEAR(timing.Elapsed(), 3.498, 1e-12);
}

TEST_F(TimingTest, HighHalfOfTheCounterIsUnsigned) {
    ScriptCalibration(0, 0);
    clsTiming timing;
    const std::uint64_t start = 0xFFFFFFF0ull;  // low half has its top bit set
    counter.script = {start, start + 0x100000000ull + 10000};
    timing.Start();
    EXPECT_NEAR(timing.Elapsed(), (4294967296.0 + 10000) * 1000 / 1e7, 1e-6);
}

TEST_F(TimingTest, IntervalShorterThanOneReadIsSlightlyNegative) {
    ScriptCalibration(0, 20);
    clsTiming timing;
    counter.script = {1000, 1010};
    timing.Start();
    EXPECT_NEAR(timing.Elapsed(), -0.001, 1e-12);
}

TEST_F(TimingTest, PausesAreExcludedWithTheirReads) {
    ScriptCalibration(0, 20);
    clsTiming timing;
    // Start, Pause at 2000, Resume at 7000, Elapsed at 10000.
    counter.script = {1000, 2000, 7000, 10000};
    timing.Start();
    timing.Pause();
    timing.Resume();
    // 9000 ticks - 20 overhead - (5000 + 40) paused = 3940 ticks.
    EXPECT_NEAR(timing.Elapsed(), 0.394, 1e-12);

    // Start forgets earlier pauses.
    counter.script = {20000, 30000};
    timing.Start();
    EXPECT_NEAR(timing.Elapsed(), 0.998, 1e-12);
}

TEST_F(TimingTest, ElapsedDuringAPauseIncludesIt) {
    ScriptCalibration(0, 0);
    clsTiming timing;
    counter.script = {0, 1000, 6000};
    timing.Start();
    timing.Pause();
    EXPECT_NEAR(timing.Elapsed(), 0.6, 1e-12);
}

TEST_F(TimingTest, ResumeWithoutPauseChangesNothing) {
    ScriptCalibration(0, 20);
    clsTiming timing;
    counter.script = {1000000, 1500000, 2000000, 2500000, 3000000};
    timing.Start();
    timing.Resume();  // no pause pending
    EXPECT_NEAR(timing.Elapsed(), (1000000 - 20) * 1000 / 1e7, 1e-9);

    // A second Resume after one Pause excludes the stretch only once.
    counter.script = {0, 1000, 3000, 4000, 10000};
    timing.Start();
    timing.Pause();
    timing.Resume();
    timing.Resume();
    EXPECT_NEAR(timing.Elapsed(), (10000 - 20 - 2000 - 40) * 1000 / 1e7, 1e-9);
}

TEST_F(TimingTest, WaitLoopsUntilTheDurationHasPassed) {
    ScriptCalibration(0, 0);
    clsTiming timing;
    counter.step = 1000;  // 0.1 ms a read
    double duration = 0.35;
    bool pump = true;
    timing.Wait(duration, pump);
    // Start, then reads at 0.1, 0.2, 0.3, 0.4 ms: four passes, each pumping.
    EXPECT_EQ(counter.pumps, 4);

    counter.pumps = 0;
    pump = false;
    timing.Wait(duration, pump);
    EXPECT_EQ(counter.pumps, 0);

    // A negative duration and zero both return after one pass.
    for (double d : {-5.0, 0.0}) {
        counter.pumps = 0;
        pump = true;
        timing.Wait(d, pump);
        EXPECT_EQ(counter.pumps, 1) << d;
    }
}

TEST_F(TimingTest, MissingCounterWarnsOnceAndReadsZero) {
    counter.available = false;
    counter.step = 12345;
    clsTiming timing;
    EXPECT_FALSE(timing.Available());
    EXPECT_EQ(counter.messages, 1);
    EXPECT_EQ(counter.reads, 0);

    timing.Start();
    EXPECT_EQ(timing.Elapsed(), 0);
    EXPECT_EQ(timing.ElapsedText(), L"0.000 msec");
    timing.Pause();
    timing.Resume();
    EXPECT_EQ(timing.Elapsed(), 0);

    double duration = 1000;
    bool pump = true;
    timing.Wait(duration, pump);  // one pass, not forever
    EXPECT_EQ(counter.pumps, 1);
    EXPECT_EQ(counter.messages, 1);
}

TEST_F(TimingTest, ElapsedTextFormatsMilliseconds) {
    ScriptCalibration(0, 0);
    clsTiming timing;
    counter.script = {0, 12345000};
    timing.Start();
    EXPECT_EQ(timing.ElapsedText(), L"1,234.500 msec");
}

}  // namespace
