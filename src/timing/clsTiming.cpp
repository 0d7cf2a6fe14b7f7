#include "timing/clsTiming.h"

#include "platform/Locale.h"
#include "platform/NumberFormat.h"
#include "timing/CounterServices.h"

namespace {
constexpr int kCalibrationReads = 100;
}

clsTiming::clsTiming() {
    if (!counter::QueryFrequency(Frequency)) {
        counter::ShowUnavailableMessage();
        return;
    }
    CounterAvailable = -1;
    counter::Query(StartCount);
    for (int i = 0; i < kCalibrationReads; ++i) counter::Query(StopCount);
    CallOverhead = (CounterValue(StopCount) - CounterValue(StartCount)) / kCalibrationReads;
}

void clsTiming::Start() {
    PausedCounts = 0;
    Paused = false;
    counter::Query(StartCount);  // last, so none of Start's own work is timed
}

double clsTiming::Elapsed() {
    counter::Query(StopCount);  // first, for the same reason
    if (!CounterAvailable) return 0;
    return (CounterValue(StopCount) - CounterValue(StartCount) - CallOverhead - PausedCounts) * 1000 /
           CounterValue(Frequency);
}

std::wstring clsTiming::ElapsedText() {
    return FormatNumber3(Elapsed(), UserNumberSeparators()) + L" msec";
}

void clsTiming::Pause() {
    counter::Query(PauseCount);
    Paused = true;
}

void clsTiming::Resume() {
    counter::Query(StopCount);
    // Without a pending Pause there is no stretch to exclude; subtracting
    // PauseCount anyway would wreck every later reading.
    if (!Paused) return;
    Paused = false;
    PausedCounts = (CounterValue(StopCount) - CounterValue(PauseCount)) + PausedCounts + 2 * CallOverhead;
}

void clsTiming::Wait(double& milliseconds, bool& pumpMessages) {
    Start();
    const bool pump = pumpMessages;
    double elapsed;
    do {
        if (pump) counter::ProcessPendingMessages();
        elapsed = Elapsed();
    } while (elapsed < milliseconds && CounterAvailable);
}

double clsTiming::CounterValue(const CounterReading& reading) {
    return static_cast<double>(reading.LowPart) + static_cast<double>(reading.HighPart) * 4294967296.0;
}
