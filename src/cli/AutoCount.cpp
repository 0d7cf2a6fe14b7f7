#include "cli/AutoCount.h"

#include <algorithm>
#include <cmath>

std::int32_t RoundUpToOneDigit(std::int64_t n) {
    if (n <= 1) return 1;
    std::int64_t unit = 1;
    while (n / unit >= 10) unit *= 10;
    const std::int64_t rounded = (n + unit - 1) / unit * unit;
    return static_cast<std::int32_t>(std::min<std::int64_t>(rounded, kMaxAutoCount));
}

std::int32_t FindAutoCount(const std::function<double(std::int32_t)>& passMs, double targetMs) {
    std::int64_t count = 1;
    for (;;) {
        const double ms = passMs(static_cast<std::int32_t>(count));
        if (ms >= targetMs || count >= kMaxAutoCount) break;
        std::int64_t next;
        if (!(ms > targetMs / 100)) {
            // Too short to extrapolate from: the counter's granularity and
            // its read cost would dominate.
            next = count * 10;
        } else {
            // Aim a little past the target so one more pass usually suffices.
            next = static_cast<std::int64_t>(std::ceil(static_cast<double>(count) * targetMs / ms * 1.05));
        }
        count = std::clamp<std::int64_t>(next, count + 1, kMaxAutoCount);
    }
    return RoundUpToOneDigit(count);
}
