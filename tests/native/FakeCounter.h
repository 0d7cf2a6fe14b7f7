#pragma once
#include <cstdint>
#include <deque>

// Scripts the counter seam: each read returns the next value, or the last
// one plus a fixed step once the script runs out.
struct FakeCounter {
    bool available = true;
    std::uint64_t frequency = 10000000;
    std::deque<std::uint64_t> script;
    std::uint64_t last = 0;
    std::uint64_t step = 0;
    int reads = 0;
    int messages = 0;
    int pumps = 0;

    static FakeCounter& Get();
    void Reset() { *this = FakeCounter(); }
};
