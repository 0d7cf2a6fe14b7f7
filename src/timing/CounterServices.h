#pragma once
#include "timing/CounterReading.h"

// Link-time seam: the program links the Win32 counter, the native tests a
// scripted one. A call through here is what calibration measures, so the
// real versions stay a single system call each.
namespace counter {

// False when the system has no performance counter.
bool QueryFrequency(CounterReading& frequency);
void Query(CounterReading& value);
void ShowUnavailableMessage();
void ProcessPendingMessages();

}  // namespace counter
