#include "cli/analysis/CostModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

namespace {

constexpr double kFixed = 0.004, kPerChar = 0.00002;

// Five passes at each of 1, 2, 4, ... 256 bytes, with a few per cent of lognormal noise.
std::vector<LengthSample> Passes(unsigned seed) {
    std::mt19937_64 random(seed);
    std::normal_distribution<double> noise(0, 0.03);
    std::vector<LengthSample> passes;
    for (std::size_t n = 1; n <= 256; n *= 2)
        for (int pass = 0; pass < 5; ++pass)
            passes.push_back({n, n, (kFixed + kPerChar * static_cast<double>(n)) * std::exp(noise(random))});
    return passes;
}

TEST(CostModel, IntervalsCoverTheTrueCostsAboutNineteenTimesInTwenty) {
    int fixed = 0, perChar = 0;
    std::string reason;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        const LineFit f = FitCostModel(Passes(seed), reason)->PerChar;
        fixed += f.Fixed.Low <= kFixed && kFixed <= f.Fixed.High;
        perChar += f.PerUnit.Low <= kPerChar && kPerChar <= f.PerUnit.High;
    }
    std::printf("95%% intervals hold the fixed cost in %d, the per-character cost in %d of 200 seeds\n", fixed, perChar);
    EXPECT_TRUE(fixed >= 180 && fixed < 200 && perChar >= 180 && perChar < 200);  // 200 of 200: too wide
}

TEST(CostModel, OneSlowPassAtAnyLengthMovesTheFitLessThanItsInterval) {
    std::string reason;
    const LineFit before = FitCostModel(Passes(7), reason)->PerChar;
    for (std::size_t at = 0; at < 45; at += 5) {
        std::vector<LengthSample> passes = Passes(7);
        passes[at].Ms *= 5;
        const LineFit after = FitCostModel(passes, reason)->PerChar;
        for (auto e : {&LineFit::Fixed, &LineFit::PerUnit})
            EXPECT_LT(std::fabs((after.*e).Value - (before.*e).Value), ((before.*e).High - (before.*e).Low) / 2) << at;
    }
}

TEST(CostModel, BytesAndCharactersAreFittedApartAndTooFewLengthsGiveNone) {
    std::vector<LengthSample> passes = Passes(3);
    for (LengthSample& p : passes) p.Bytes *= 2;  // double-byte text: a byte costs half a character
    std::string reason;
    const CostModel m = *FitCostModel(passes, reason);
    EXPECT_TRUE(m.PerByte.PerUnit.High * 2 == m.PerChar.PerUnit.High && m.PerByte.Fixed.Low == m.PerChar.Fixed.Low);
    EXPECT_TRUE(m.PerChar.R2 > 0.9 && m.PerChar.R2 <= 1 && m.Lengths.back() == 512);
    // No fit without three lengths, two passes at each, and finite times.
    const std::vector<LengthSample> two = {{1, 1, 1.0}, {1, 1, 1.1}, {2, 2, 2.0}, {2, 2, 2.1}};
    const std::vector<LengthSample> refused[] = {
        two,
        {{1, 1, 1.0}, {1, 1, 1.1}, {2, 1, 2.0}, {2, 1, 2.1}, {3, 2, 3.0}, {3, 2, 3.1}},  // two in characters
        {two[0], two[1], two[2], two[3], {3, 3, 3.0}},
        {two[0], two[1], two[2], two[3], {3, 3, 3.0}, {3, 3, NAN}}};
    for (const auto& passes : refused) {
        reason.clear();
        EXPECT_TRUE(!FitCostModel(passes, reason) && !reason.empty()) << passes.size();
    }
}

}  // namespace
