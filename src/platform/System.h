#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/SystemDescription.h"

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
