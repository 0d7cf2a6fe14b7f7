#include "cli/measure/Passes.h"
#include "cli/measure/TextLength.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace {

PassPlan Plan(std::optional<std::int32_t> count, int rounds) {
    PassPlan plan;
    plan.Count = count, plan.TargetMs = count ? 500 : 50, plan.Rounds = rounds;
    return plan;
}

// Three configurations at 1, 2 and 3 ms a call, each slice after a reference that the machine's
// state (slow in odd rounds) moves with the drawing.
struct ScriptedMachine {
    std::vector<std::pair<std::size_t, std::int32_t>> slices;  // configuration and calls, in the order drawn
    std::optional<std::size_t> failing;
    PassTimer Timer() {
        PassTimer timer;
        timer.Pass = [this](std::size_t c, std::int32_t count) { return c == failing ? NAN : (c + 1.0) * count; };
        timer.Slice = [this](std::size_t c, std::int32_t count) {
            const double state = slices.size() / 36 % 2 ? 1.8 : 1.0;  // 3 configurations x 12 slices
            slices.emplace_back(c, count);
            return SliceTime{(c + 1.0) * count * state, 2 * state};
        };
        return timer;
    }
};

TEST(Passes, RoundsDrawEverySliceInTurnsAndPairPassesByRound) {
    ScriptedMachine machine;
    const TimedPasses passes = TimePasses(3, Plan(300, 4), machine.Timer());
    ASSERT_FALSE(passes.Failed);
    EXPECT_EQ(passes.Slices, 12);  // the shortest pass, 300 ms, in slices of about 25 ms
    ASSERT_EQ(machine.slices.size(), 3u * 12 * 4);
    // Each round starts one configuration later; the slices of a pass add up to its count.
    EXPECT_TRUE(machine.slices[0].first == 0 && machine.slices[3 * 12].first == 1 && machine.slices[3 * 12 + 1].first == 2);
    std::int32_t calls = 0;
    for (std::size_t s = 0; s < 3 * 12; ++s) calls += machine.slices[s].first == 1 ? machine.slices[s].second : 0;
    EXPECT_EQ(calls, 300);
    for (std::size_t c = 0; c < 3; ++c) {
        ASSERT_EQ(passes.PerCallMs[c].size(), 4u);
        // A round slowed as a whole slows its passes and references alike: the ratios stay put.
        for (std::size_t r = 0; r < 4; ++r)
            EXPECT_NEAR(passes.PerCallMs[c][r] / passes.ReferenceMs[c][r], (c + 1.0) / 2, 1e-9) << c << " " << r;
    }
    EXPECT_GT(passes.PerCallMs[0][1], passes.PerCallMs[0][0] * 1.5);
}

// Rounds stop when the question is answered, when the next would overrun the time, at Ctrl+C,
// which leaves the round it broke into out whole, or at a pass that cannot be timed.
TEST(Passes, RoundsStopWhenAnsweredOutOfTimeOrInterrupted) {
    ScriptedMachine machine;
    double clock = 0;
    int slices = 0;
    PassTimer timer = machine.Timer();
    timer.Now = [&] { return clock += 0.25; };  // a quarter second a reading
    PassPlan plan = Plan(300, 1000);
    plan.Answered = [](const TimedPasses& p) { return p.Rounds == 7; };
    EXPECT_EQ(TimePasses(3, plan, timer).Stopped, StopReason::Answered);
    plan.Answered = nullptr;
    plan.Seconds = 10;
    const TimedPasses timed = TimePasses(3, plan, timer);
    EXPECT_TRUE(timed.Stopped == StopReason::Time && timed.Rounds == 20) << timed.Rounds;  // rounds end at 0.75, 1.25, ... 10.25 s
    timer.Interrupted = [&] { return ++slices > 3 * 12 * 2 + 5; };  // within the third round
    const TimedPasses broken = TimePasses(3, Plan(300, 1000), timer);
    EXPECT_TRUE(broken.Stopped == StopReason::Interrupted && broken.Rounds == 2 && broken.PerCallMs[2].size() == 2);
    EXPECT_EQ(broken.SliceReferenceMs.size(), 3u * 12 * 2);
    // A pass that cannot be timed stops the run.
    for (bool inSlice : {false, true}) {
        ScriptedMachine machine;
        PassTimer timer = machine.Timer();
        if (inSlice)
            timer.Slice = [](std::size_t c, std::int32_t n) { return SliceTime{c == 1 ? NAN : 1.0 * n, 1}; };
        else
            machine.failing = 2;
        const TimedPasses passes = TimePasses(3, Plan(std::nullopt, 5), timer);
        EXPECT_EQ(passes.Failed, inSlice ? 1u : 2u);
    }
}

TEST(AutoCount, RoundsUpToOneDigitAndReachesTheTarget) {
    const std::pair<std::int64_t, std::int32_t> rounding[] = {
        {-5, 1}, {11, 20}, {3456, 4000}, {9001, 10000}, {2000000001, kMaxAutoCount}, {INT64_MAX / 2, kMaxAutoCount}};
    for (const auto& [n, rounded] : rounding) EXPECT_EQ(RoundUpToOneDigit(n), rounded) << n;
    int passes = 0;
    auto pass = [&](std::int32_t count) { return ++passes, 0.02 + 0.005 * count; };
    EXPECT_EQ(FindAutoCount(pass, 500), 200000);  // 105,000 was timed last, then rounded up
    EXPECT_LE(passes, 8);
    EXPECT_EQ(FindAutoCount([](std::int32_t) { return 600.0; }, 500), 1);
    EXPECT_EQ(FindAutoCount([](std::int32_t) { return 0.0; }, 500), kMaxAutoCount);
}

TEST(TextOfLength, RepeatsAndCutsWithoutSplittingACharacter) {
    auto cp932 = [](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); };
    const std::string text = "a\x93\xFA\x96\x7B";  // "a" and two kanji; 0xFA, a trail byte here, is also a lead byte
    const struct { std::string text; std::size_t bytes; std::string expected; std::size_t chars; } cases[] = {
        {"abc", 7, "abcabca", 7}, {"", 0, "", 0},           {text, 1, "a", 1},
        {text, 2, "a ", 2},       {text, 4, "a\x93\xFA ", 3}, {text, 8, text + "a\x93\xFA", 5}};
    std::string reason;
    for (const auto& c : cases) {
        const SizedText sized = TextOfLength(c.text, c.bytes, cp932, reason).value();
        EXPECT_EQ(sized.Bytes + "|" + std::to_string(sized.Chars), c.expected + "|" + std::to_string(c.chars));
    }
    EXPECT_FALSE(TextOfLength("", 1, cp932, reason) || TextOfLength("a\x93", 4, cp932, reason));
}

}  // namespace
