// The timed passes of a sweep, window-free: counts, warm-up, then rounds in which the slices take turns.
#include "cli/measure/Passes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Extra warm-up passes at most, and how close two in a row must come.
constexpr int kMaxSettlingPasses = 5;
constexpr double kSettled = 0.02;

// A pass is drawn in slices of about this many milliseconds, the slices of all
// configurations in turns, so the machine's changes of speed hit them alike.
constexpr double kSliceMs = 25;
constexpr int kMaxSlices = 20;

bool Timed(double ms) { return std::isfinite(ms) && ms >= 0; }

}  // namespace

std::int32_t RoundUpToOneDigit(std::int64_t n) {
    std::int64_t unit = 1;
    while (n / unit >= 10) unit *= 10;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>((n + unit - 1) / unit * unit, 1, kMaxAutoCount));
}

std::int32_t FindAutoCount(const std::function<double(std::int32_t)>& passMs, double targetMs) {
    std::int64_t count = 1;
    for (double ms; (ms = passMs(static_cast<std::int32_t>(count))) < targetMs && count < kMaxAutoCount;) {
        // A pass too short to extrapolate from, where the counter's granularity and read cost would dominate,
        // grows tenfold; a longer one aims a little past the target, so that one more pass usually suffices.
        const double next = ms > targetMs / 100 ? std::ceil(static_cast<double>(count) * targetMs / ms * 1.05)
                                                : static_cast<double>(count) * 10;
        count = static_cast<std::int64_t>(std::clamp<double>(next, static_cast<double>(count + 1), kMaxAutoCount));
    }
    return RoundUpToOneDigit(count);
}

TimedPasses TimePasses(std::size_t configurations, const PassPlan& plan, const PassTimer& timer) {
    const double start = timer.Now ? timer.Now() : 0;
    TimedPasses out;
    out.PerCallMs.resize(configurations);
    out.ReferenceMs.resize(configurations);
    double shortestPass = std::numeric_limits<double>::infinity();
    for (std::size_t c = 0; c < configurations && !out.Failed; ++c) {
        bool failed = false;
        auto pass = [&](std::int32_t count) {
            const double ms = timer.Pass(c, count);
            failed = failed || !Timed(ms);
            return Timed(ms) ? ms : std::numeric_limits<double>::infinity();  // an untimed pass ends the search
        };
        out.Counts.push_back(plan.Count ? *plan.Count : FindAutoCount(pass, plan.TargetMs));
        // The first passes fill glyph and font caches; go on until two agree.
        double last = 0;
        for (int i = 0; i < plan.Warmup + kMaxSettlingPasses && !failed; ++i) {
            const double ms = pass(out.Counts[c]);
            if (i >= plan.Warmup && std::fabs(ms / last - 1) <= kSettled) break;
            last = ms;
        }
        if (failed) out.Failed = c;
        shortestPass = std::min(shortestPass, last);
    }
    if (out.Failed) return out;
    // Slices long enough that the reference's reads, which push the text's data out of the
    // caches, cost the slice next to nothing.
    const double fit = std::floor(shortestPass / kSliceMs);
    out.Slices = fit >= 1 ? static_cast<int>(std::min(fit, double{kMaxSlices})) : 1;
    // Rounds go on to the count asked for, until the caller's question is answered, or until
    // the next round would end past the time given, counting and warm-up included.
    for (int round = 0; round < plan.Rounds; ++round) {
        const double roundStart = timer.Now ? timer.Now() : 0;
        // A pass's reference weighs each slice by its time, so that time / reference is the
        // sum of the slices' own.
        std::vector<double> ms(configurations), inReferences(configurations), references(configurations), seen;
        for (int s = 0; s < out.Slices; ++s)
            // Each round starts one configuration later, so none always follows the same one.
            for (std::size_t k = 0; k < configurations; ++k) {
                // An interrupted round is left out whole, so every pass kept has its partners.
                if (timer.Interrupted && timer.Interrupted()) return out.Stopped = StopReason::Interrupted, out;
                const std::size_t c = (k + static_cast<std::size_t>(round)) % configurations;
                // The slices' counts add up to the pass's exactly.
                const std::int64_t count = out.Counts[c];
                const auto calls = static_cast<std::int32_t>(count * (s + 1) / out.Slices - count * s / out.Slices);
                const SliceTime slice = timer.Slice(c, calls);
                if (!Timed(slice.Ms) || !Timed(slice.ReferenceMs) || slice.ReferenceMs == 0) {
                    out.Failed = c;
                    return out;
                }
                ms[c] += slice.Ms;
                inReferences[c] += slice.Ms / slice.ReferenceMs;
                references[c] += slice.ReferenceMs / out.Slices;
                seen.push_back(slice.ReferenceMs);
            }
        out.SliceReferenceMs.insert(out.SliceReferenceMs.end(), seen.begin(), seen.end());
        for (std::size_t c = 0; c < configurations; ++c) {
            out.PerCallMs[c].push_back(ms[c] / out.Counts[c]);
            // Slices too short for the counter to see weigh alike.
            out.ReferenceMs[c].push_back(inReferences[c] > 0 ? ms[c] / inReferences[c] : references[c]);
        }
        ++out.Rounds;
        if (timer.Progress) timer.Progress(out);
        if (plan.Answered && plan.Answered(out)) return out.Stopped = StopReason::Answered, out;
        const double now = timer.Now ? timer.Now() : 0;
        if (plan.Seconds > 0 && now + (now - roundStart) > start + plan.Seconds)
            return out.Stopped = StopReason::Time, out;
    }
    return out;
}
