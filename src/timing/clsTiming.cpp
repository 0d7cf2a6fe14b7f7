#include "timing/clsTiming.h"

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
    counter::Query(StartCount);  // nothing else, so none of Start's own work is timed
}

double clsTiming::Elapsed() {
    counter::Query(StopCount);  // first, for the same reason
    if (!CounterAvailable) return 0;
    return (CounterValue(StopCount) - CounterValue(StartCount) - CallOverhead) * 1000 / CounterValue(Frequency);
}

double clsTiming::CounterValue(const CounterReading& reading) {
    return static_cast<double>(reading.LowPart) + static_cast<double>(reading.HighPart) * 4294967296.0;
}
