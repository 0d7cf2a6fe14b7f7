// The timed passes of a sweep, window-free: counts, warm-up, then rounds in which the slices take turns.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The largest count with one significant digit that a pass can hold.
constexpr std::int32_t kMaxAutoCount = 2000000000;

// n rounded up to one significant digit (3456 -> 4000, 1000 -> 1000),
// at least 1 and at most kMaxAutoCount.
std::int32_t RoundUpToOneDigit(std::int64_t n);

// Grows the count until one timed pass (passMs: milliseconds for a count)
// lasts at least targetMs, then rounds it up to one significant digit.
std::int32_t FindAutoCount(const std::function<double(std::int32_t)>& passMs, double targetMs);

struct TimedPasses;

struct PassPlan {
    std::optional<std::int32_t> Count;  // none: grown until a pass lasts TargetMs
    double TargetMs = 500;
    int Warmup = 1;
    int Rounds = 5;  // timed passes a configuration, at the most
    // The rounds stop once this says the data answer what was asked, or once the next round
    // would end more than Seconds after they began (0: no limit).
    std::function<bool(const TimedPasses&)> Answered;
    double Seconds = 0;
};

enum class StopReason { Rounds, Answered, Time, Interrupted };

// A slice as drawn: the machine reference timed first, then the calls.
struct SliceTime {
    double Ms = 0, ReferenceMs = 0;
};

// How the machine times configuration c: count calls in one piece, or a slice of them after the reference.
struct PassTimer {
    std::function<double(std::size_t c, std::int32_t count)> Pass;
    std::function<SliceTime(std::size_t c, std::int32_t count)> Slice;
    std::function<double()> Now;           // seconds, for the time limit; none: no clock
    std::function<bool()> Interrupted;     // asked before each slice
    std::function<void(const TimedPasses&)> Progress;  // after each round
};

struct TimedPasses {
    std::vector<std::int32_t> Counts;
    // [configuration][round]: pass i of every configuration was drawn in round i.
    std::vector<std::vector<double>> PerCallMs;
    std::vector<std::vector<double>> ReferenceMs;  // the reference each pass saw, weighted by its slices' times
    std::vector<double> SliceReferenceMs;          // every slice's, in the order drawn
    int Slices = 1;                                // a pass
    std::size_t Rounds = 0;                        // completed
    StopReason Stopped = StopReason::Rounds;
    // A configuration one of whose passes could not be timed; the passes stop there.
    std::optional<std::size_t> Failed;
};

TimedPasses TimePasses(std::size_t configurations, const PassPlan& plan, const PassTimer& timer);
