#pragma once
#include <cstdint>
#include <string>

// The system the program runs on, as a report's header names it.
struct SystemDescription {
    std::string WindowsVersion;  // "10.0.19045", as the system reports itself; "unknown"
    std::string WineVersion;     // empty when not under Wine
    unsigned AnsiCodePage = 0;
    int Dpi = 0;
    std::uint64_t CounterFrequency = 0;
    std::string Date;  // now, ISO 8601, UTC
};
