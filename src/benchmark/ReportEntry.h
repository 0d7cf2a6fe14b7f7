#pragma once
#include <cstdint>
#include <string>

#include "platform/NumberFormat.h"

// Shown as the average when the count is 0: there is no time per call.
inline const wchar_t kNoAverageText[] = L"計算できません (試行回数 0)";

// One report entry: date line, total time, time per call, empty line.
std::wstring ReportEntryText(const std::wstring& dateText, double elapsedMs, std::int32_t count,
                             const NumberSeparators& separators);
