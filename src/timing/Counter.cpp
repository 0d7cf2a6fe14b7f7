#include "timing/CounterServices.h"

#include <windows.h>

#include "platform/Dialogs.h"

namespace counter {

bool QueryFrequency(CounterReading& frequency) {
    return QueryPerformanceFrequency(reinterpret_cast<LARGE_INTEGER*>(&frequency)) != 0;
}

void Query(CounterReading& value) { QueryPerformanceCounter(reinterpret_cast<LARGE_INTEGER*>(&value)); }

void ShowUnavailableMessage() {
    ShowMessageBox(GetActiveWindow(), L"Performance Counter not available", MB_OK | MB_ICONEXCLAMATION);
}

void ProcessPendingMessages() { ::ProcessPendingMessages(); }

}  // namespace counter
