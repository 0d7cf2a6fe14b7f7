#include "benchmark/ReportEntry.h"

std::wstring ReportEntryText(const std::wstring& dateText, double elapsedMs, std::int32_t count,
                             const NumberSeparators& separators) {
    const std::wstring average = count == 0 ? kNoAverageText : FormatNumber3(elapsedMs / count, separators) + L" ミリ秒";
    return dateText + L"\r\n試行時間: " + FormatNumber3(elapsedMs, separators) + L" ミリ秒\r\n1回あたりの平均時間: " +
           average + L"\r\n\r\n";
}
