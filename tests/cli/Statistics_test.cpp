#include "cli/Statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "cli/AutoCount.h"

namespace {

TEST(Summarize, OneSampleHasNoSpread) {
    Summary s = Summarize({0.25});
    EXPECT_EQ(s.N, 1u);
    EXPECT_EQ(s.Min, 0.25);
    EXPECT_EQ(s.Median, 0.25);
    EXPECT_EQ(s.Mean, 0.25);
    EXPECT_FALSE(s.StdDev.has_value());
    EXPECT_FALSE(s.Cv.has_value());
}

TEST(Summarize, TwoSamplesUseTheSampleDeviation) {
    Summary s = Summarize({3, 1});
    EXPECT_EQ(s.Min, 1);
    EXPECT_EQ(s.Median, 2);
    EXPECT_EQ(s.Mean, 2);
    ASSERT_TRUE(s.StdDev.has_value());
    EXPECT_DOUBLE_EQ(*s.StdDev, std::sqrt(2.0));  // n - 1, not n
    EXPECT_DOUBLE_EQ(*s.Cv, std::sqrt(2.0) / 2);
}

TEST(Summarize, EqualSamplesGiveExactlyZeroSpread) {
    Summary s = Summarize({0.1, 0.1, 0.1});
    EXPECT_EQ(s.Mean, 0.1);
    EXPECT_EQ(*s.StdDev, 0);
    EXPECT_EQ(*s.Cv, 0);
    EXPECT_FALSE(Summarize({0, 0}).Cv.has_value());  // no mean to divide by
}

TEST(Summarize, MedianOfOddAndEvenCountsUnsorted) {
    EXPECT_EQ(Summarize({5, 1, 4, 2, 3}).Median, 3);
    EXPECT_EQ(Summarize({10, 1, 4, 2}).Median, 3);
    Summary s = Summarize({2, 4, 4, 4, 5, 5, 7, 9});
    EXPECT_EQ(s.Mean, 5);
    EXPECT_DOUBLE_EQ(*s.StdDev, std::sqrt(32.0 / 7));
}

TEST(RoundUpToOneDigit, RoundsUpAndStaysInRange) {
    EXPECT_EQ(RoundUpToOneDigit(-5), 1);
    EXPECT_EQ(RoundUpToOneDigit(0), 1);
    EXPECT_EQ(RoundUpToOneDigit(1), 1);
    EXPECT_EQ(RoundUpToOneDigit(9), 9);
    EXPECT_EQ(RoundUpToOneDigit(10), 10);
    EXPECT_EQ(RoundUpToOneDigit(11), 20);
    EXPECT_EQ(RoundUpToOneDigit(3456), 4000);
    EXPECT_EQ(RoundUpToOneDigit(1000), 1000);
    EXPECT_EQ(RoundUpToOneDigit(9001), 10000);
    EXPECT_EQ(RoundUpToOneDigit(2000000000), 2000000000);
    EXPECT_EQ(RoundUpToOneDigit(2000000001), kMaxAutoCount);
    EXPECT_EQ(RoundUpToOneDigit(INT64_MAX / 2), kMaxAutoCount);
}

struct LinearPass {
    LinearPass(double perCall, double fixed = 0) : msPerCall(perCall), fixedMs(fixed) {}
    double msPerCall;
    double fixedMs;
    std::vector<std::int32_t> counts;
    double operator()(std::int32_t count) {
        counts.push_back(count);
        return fixedMs + msPerCall * count;
    }
};

TEST(FindAutoCount, ReachesTheTargetThenRoundsUp) {
    LinearPass pass(0.005);  // 5 us a call: 100,000 calls make 500 ms
    std::int32_t count = FindAutoCount(std::ref(pass), 500);
    EXPECT_GE(count * pass.msPerCall, 500);
    EXPECT_EQ(count, RoundUpToOneDigit(count));
    EXPECT_EQ(count, 200000);  // 105,000 was timed last, then rounded up
    EXPECT_GE(pass.counts.back() * pass.msPerCall, 500);
    EXPECT_LE(pass.counts.size(), 8u);
}

TEST(FindAutoCount, SlowCallsStopAtOne) {
    LinearPass pass(600);
    EXPECT_EQ(FindAutoCount(std::ref(pass), 500), 1);
    EXPECT_EQ(pass.counts.size(), 1u);
}

TEST(FindAutoCount, NoisyShortPassesStillConverge) {
    // The extrapolation can fall short when a pass has fixed costs.
    LinearPass pass(0.001, 0.02);
    std::int32_t count = FindAutoCount(std::ref(pass), 50);
    EXPECT_GE(pass.fixedMs + count * pass.msPerCall, 50);
    EXPECT_EQ(count, RoundUpToOneDigit(count));
}

TEST(FindAutoCount, GivesUpAtTheLargestCount) {
    int passes = 0;
    EXPECT_EQ(FindAutoCount([&](std::int32_t) { return ++passes, 0.0; }, 500), kMaxAutoCount);
    EXPECT_LE(passes, 11);
}

}  // namespace
