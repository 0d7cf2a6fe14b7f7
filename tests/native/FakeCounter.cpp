#include "FakeCounter.h"

#include "timing/CounterServices.h"

namespace counter {

static void Fill(CounterReading& r, std::uint64_t value) {
    r.LowPart = static_cast<std::uint32_t>(value);
    r.HighPart = static_cast<std::uint32_t>(value >> 32);
}

bool QueryFrequency(CounterReading& frequency) {
    Fill(frequency, FakeCounter::Get().available ? 10000000 : 0);
    return FakeCounter::Get().available;
}

void Query(CounterReading& value) {
    FakeCounter& c = FakeCounter::Get();
    ++c.reads;
    c.last = c.script.empty() ? c.last + c.step : c.script.front();
    if (!c.script.empty()) c.script.pop_front();
    Fill(value, c.last);
}

void ShowUnavailableMessage() { ++FakeCounter::Get().messages; }
void ProcessPendingMessages() { ++FakeCounter::Get().pumps; }

}  // namespace counter
