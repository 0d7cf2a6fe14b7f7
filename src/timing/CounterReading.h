#pragma once
#include <cstdint>

// Same layout as LARGE_INTEGER, so the counter calls can fill it directly.
struct alignas(8) CounterReading {
    std::uint32_t LowPart = 0;
    std::uint32_t HighPart = 0;
};
