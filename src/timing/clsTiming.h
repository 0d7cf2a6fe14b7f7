#pragma once
#include <string>

#include "timing/CounterReading.h"

// Performance-counter stopwatch. Each interval is corrected by the cost of
// one counter read, measured when the object is created.
class clsTiming {
public:
    clsTiming();

    void Start();
    double Elapsed();  // milliseconds since Start
    std::wstring ElapsedText();
    void Pause();
    void Resume();
    void Wait(double& milliseconds, bool& pumpMessages);

private:
    static double CounterValue(const CounterReading& reading);

    CounterReading Frequency;
    CounterReading StartCount;
    CounterReading StopCount;
    CounterReading PauseCount;
    double PausedCounts = 0;
    double CallOverhead = 0;
    short CounterAvailable = 0;  // 0 or -1
    bool Paused = false;
};
