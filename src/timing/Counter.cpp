#include "timing/CounterServices.h"

#include <windows.h>

#include "platform/Dialogs.h"

namespace {

// Copied field by field: the two types share their size, not their type.
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
