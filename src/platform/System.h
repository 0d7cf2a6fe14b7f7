#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
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

SystemDescription DescribeSystem();

// The calling thread raised to the highest priority and pinned to one
// processor, as asked, while it lives; false from Apply when the processor
// does not exist.
class ThreadConditions {
public:
    ThreadConditions() = default;
    ThreadConditions(const ThreadConditions&) = delete;
    ThreadConditions& operator=(const ThreadConditions&) = delete;
    ~ThreadConditions();
    bool Apply(bool highPriority, std::optional<int> cpu);

private:
    DWORD_PTR oldAffinity_ = 0;
    int oldPriority_ = THREAD_PRIORITY_NORMAL;
    bool raised_ = false;
};
