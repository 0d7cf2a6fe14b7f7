// The count of calls a pass needs to last a given time.
#include "cli/measure/AutoCount.h"

#include <algorithm>
#include <cmath>

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
