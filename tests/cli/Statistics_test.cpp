#include "cli/Statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "cli/AutoCount.h"

namespace {

TEST(Summarize, SampleDeviationAndExactZeroSpread) {
    Summary one = Summarize({0.25});
    EXPECT_EQ(one.Median, 0.25);
    EXPECT_FALSE(one.StdDev || one.Cv);
    Summary s = Summarize({9, 2, 4, 4, 4, 5, 5, 7});
    EXPECT_EQ(s.Min, 2);
    EXPECT_EQ(s.Max, 9);
    EXPECT_EQ(s.Median, 4.5);
    EXPECT_EQ(s.Mean, 5);
    EXPECT_DOUBLE_EQ(*s.StdDev, std::sqrt(32.0 / 7));  // n - 1, not n
    EXPECT_EQ(*Summarize({0.1, 0.1, 0.1}).Cv, 0);
    EXPECT_FALSE(Summarize({0, 0}).Cv.has_value());  // no mean to divide by
}

std::vector<double> Scaled(const std::vector<double>& v, double factor) {
    std::vector<double> out;
    for (double x : v) out.push_back(x * factor);
    return out;
}

TEST(CompareSamples, RankTestIntervalAndVerdict) {
    const std::vector<double> base = {1.00, 1.02, 0.99, 1.01, 1.03, 0.98, 1.00, 1.01, 0.995, 1.005};
    struct Case {
        double factor, margin;
        Verdict call;
    } cases[] = {{1.10, 0.02, Verdict::Slower}, {0.90, 0.02, Verdict::Faster}, {1.0, 0.02, Verdict::Same},
                 {1.03, 0.05, Verdict::Same}};  // found, but within the margin
    for (const Case& c : cases) {
        std::optional<Comparison> r = CompareSamples(base, Scaled(base, c.factor), c.margin);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->Call, c.call) << c.factor;
        EXPECT_NEAR(r->Ratio, c.factor, 1e-9);
        EXPECT_LE(r->Low, c.factor);
        EXPECT_GE(r->High, c.factor);
    }
    // Complete separation of 5 and 5: U = 0, z = 12 / sqrt(275 / 12).
    std::optional<Comparison> r = CompareSamples({1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, 0);
    EXPECT_NEAR(r->P, std::erfc(12 / std::sqrt(275.0 / 12) / std::sqrt(2.0)), 1e-12);
    EXPECT_EQ(CompareSamples({1, 1}, {1, 1}, 0)->P, 1);  // all tied
    EXPECT_FALSE(CompareSamples({}, {1}, 0));
    EXPECT_FALSE(CompareSamples({1, std::nan("")}, {1}, 0));
}

TEST(MedianWithInterval, OrderStatisticsAroundTheMedian) {
    std::vector<double> values;
    for (int i = 51; i >= 1; --i) values.push_back(i);
    MedianInterval m = MedianWithInterval(values);
    EXPECT_EQ(m.Median, 26);
    EXPECT_EQ(m.Low, 18);
    EXPECT_EQ(m.High, 34);
    EXPECT_EQ(MedianWithInterval({2}).Low, 2);
}

TEST(AutoCount, RoundsUpToOneDigitAndReachesTheTarget) {
    const std::pair<std::int64_t, std::int32_t> rounding[] = {
        {-5, 1}, {1, 1}, {11, 20}, {3456, 4000}, {9001, 10000}, {2000000001, kMaxAutoCount}, {INT64_MAX / 2, kMaxAutoCount}};
    for (const auto& [n, rounded] : rounding) EXPECT_EQ(RoundUpToOneDigit(n), rounded) << n;

    std::vector<std::int32_t> counts;
    auto pass = [&](std::int32_t count) { return counts.push_back(count), 0.02 + 0.005 * count; };
    EXPECT_EQ(FindAutoCount(pass, 500), 200000);  // 105,000 was timed last, then rounded up
    EXPECT_LE(counts.size(), 8u);
    EXPECT_EQ(FindAutoCount([](std::int32_t) { return 600.0; }, 500), 1);
    EXPECT_EQ(FindAutoCount([](std::int32_t) { return 0.0; }, 500), kMaxAutoCount);
}

}  // namespace
