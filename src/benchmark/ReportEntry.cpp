#include "benchmark/ReportEntry.h"

std::wstring ReportEntryText(const std::wstring& dateText, double elapsedMs, std::int32_t count,
                             const NumberSeparators& separators) {
    std::wstring entry = dateText;
    entry += L"\r\n";
    entry += L"試行時間: ";
    entry += FormatNumber3(elapsedMs, separators);
    entry += L" ミリ秒";
    entry += L"\r\n";
    entry += L"1回あたりの平均時間: ";
    if (count == 0) {
        entry += kNoAverageText;
    } else {
        entry += FormatNumber3(elapsedMs / count, separators);
        entry += L" ミリ秒";
    }
    entry += L"\r\n\r\n";
    return entry;
}
