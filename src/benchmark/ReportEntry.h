#pragma once
#include <cstdint>
#include <string>

#include "platform/NumberFormat.h"

// Shown as the average when the count is 0: there is no time per call.
inline const wchar_t kNoAverageText[] = L"計算できません (試行回数 0)";

// The system's general date: the short date, a space, the long time; the
// date alone at exactly midnight.
std::wstring GeneralDateText(const std::wstring& shortDate, const std::wstring& longTime, bool midnight);

// One report entry: date line, total time, time per call, empty line.
std::wstring ReportEntryText(const std::wstring& dateText, double elapsedMs, std::int32_t count,
                             const NumberSeparators& separators);
