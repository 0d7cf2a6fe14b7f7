#include "timing/CounterServices.h"
#include "timing/clsTiming.h"

#include <windows.h>

#include "platform/Dialogs.h"

namespace {

CounterReading Reading(const LARGE_INTEGER& value) {
    return {value.u.LowPart, static_cast<std::uint32_t>(value.u.HighPart)};
}

}  // namespace

namespace counter {

bool QueryFrequency(CounterReading& frequency) {
    LARGE_INTEGER value{};
    const bool available = QueryPerformanceFrequency(&value) != 0;
    frequency = Reading(value);
    return available;
}

void Query(CounterReading& reading) {
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    reading = Reading(value);
}

void ShowUnavailableMessage() {
    ShowMessageBox(GetActiveWindow(), L"Performance Counter not available", MB_OK | MB_ICONEXCLAMATION);
}

void ProcessPendingMessages() { ::ProcessPendingMessages(); }

}  // namespace counter

std::uint64_t ReadCounterTicks() {
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    return static_cast<std::uint64_t>(value.QuadPart);
}

double CounterTicksToMs(std::uint64_t ticks) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) * 1000 / static_cast<double>(frequency.QuadPart);
}
