#pragma once
#include <cstdint>

// A counter value as two unsigned halves, low half first.
struct CounterReading {
    std::uint32_t LowPart = 0;
    std::uint32_t HighPart = 0;
};
