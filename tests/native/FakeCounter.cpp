#include "FakeCounter.h"

#include "platform/Locale.h"
#include "timing/CounterServices.h"

FakeCounter& FakeCounter::Get() {
    static FakeCounter counter;
    return counter;
}

namespace {
void Fill(CounterReading& r, std::uint64_t value) {
    r.LowPart = static_cast<std::uint32_t>(value);
    r.HighPart = static_cast<std::uint32_t>(value >> 32);
}
}  // namespace

namespace counter {

bool QueryFrequency(CounterReading& frequency) {
    FakeCounter& c = FakeCounter::Get();
    Fill(frequency, c.available ? c.frequency : 0);
    return c.available;
}

void Query(CounterReading& value) {
    FakeCounter& c = FakeCounter::Get();
    ++c.reads;
    if (!c.script.empty()) {
        c.last = c.script.front();
        c.script.pop_front();
    } else {
        c.last += c.step;
    }
    Fill(value, c.last);
}

void ShowUnavailableMessage() { ++FakeCounter::Get().messages; }
void ProcessPendingMessages() { ++FakeCounter::Get().pumps; }

}  // namespace counter

// The stopwatch's text asks the locale for its separators: the defaults here.
NumberSeparators UserNumberSeparators() { return {}; }
