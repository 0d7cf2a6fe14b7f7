#pragma once
#include <cstdint>
#include <deque>

// Scripts the counter seam: each read returns the next value, or the last
// one plus a fixed step once the script runs out; 10 MHz.
struct FakeCounter {
    bool available = true;
    std::deque<std::uint64_t> script;
    std::uint64_t last = 0, step = 0;
    int messages = 0;
};
extern FakeCounter g_counter;
