#include "FakeCounter.h"

#include "platform/Locale.h"
#include "timing/CounterServices.h"

FakeCounter g_counter;

namespace counter {

bool QueryFrequency(CounterReading& frequency) {
    frequency = {g_counter.available ? 10000000u : 0u, 0};
    return g_counter.available;
}

void Query(CounterReading& value) {
    g_counter.last = g_counter.script.empty() ? g_counter.last + g_counter.step : g_counter.script.front();
    if (!g_counter.script.empty()) g_counter.script.pop_front();
    value = {static_cast<std::uint32_t>(g_counter.last), static_cast<std::uint32_t>(g_counter.last >> 32)};
}

void ShowUnavailableMessage() { ++g_counter.messages; }
void ProcessPendingMessages() {}

}  // namespace counter

// The stopwatch's text asks the locale for its separators: the defaults here.
NumberSeparators UserNumberSeparators() { return {}; }
