// The count of calls a pass needs to last a given time.
#pragma once
#include <cstdint>
#include <functional>

// The largest count with one significant digit that a pass can hold.
constexpr std::int32_t kMaxAutoCount = 2000000000;

// n rounded up to one significant digit (3456 -> 4000, 1000 -> 1000),
// at least 1 and at most kMaxAutoCount.
std::int32_t RoundUpToOneDigit(std::int64_t n);

// Grows the count until one timed pass (passMs: milliseconds for a count)
// lasts at least targetMs, then rounds it up to one significant digit.
std::int32_t FindAutoCount(const std::function<double(std::int32_t)>& passMs, double targetMs);
