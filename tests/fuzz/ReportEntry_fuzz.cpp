// A report entry for any time, count and date text.
#include "FuzzInput.h"
#include "benchmark/ReportEntry.h"
#include "platform/Locale.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const double elapsed = input.Take<double>();
    const std::int32_t count = input.Take<std::int32_t>();
    NumberSeparators separators;
    if (input.Take<std::uint8_t>() & 1) {
        separators.Decimal = input.ShortText(3);
        separators.Thousand = input.ShortText(3);
        separators.Minus = input.ShortText(2);
        separators.Grouping = {input.Take<std::int8_t>(), input.Take<std::int8_t>()};
    }
    const std::wstring date = input.Text(256);

    const std::wstring entry = ReportEntryText(date, elapsed, count, separators);
    const std::wstring total = L"\r\n試行時間: " + FormatNumber3(elapsed, separators) + L" ミリ秒\r\n";
    FUZZ_CHECK(entry.compare(0, date.size(), date) == 0);
    FUZZ_CHECK(entry.compare(date.size(), total.size(), total) == 0);

    // The average line, then the empty line that parts entries.
    const std::wstring average = entry.substr(date.size() + total.size());
    const std::wstring label = L"1回あたりの平均時間: ";
    FUZZ_CHECK(average.compare(0, label.size(), label) == 0);
    FUZZ_CHECK(average.size() >= label.size() + 4 && average.compare(average.size() - 4, 4, L"\r\n\r\n") == 0);
    const std::wstring shown = average.substr(label.size(), average.size() - label.size() - 4);
    FUZZ_CHECK(shown.find(L"\r\n") == std::wstring::npos);
    if (count == 0) {
        FUZZ_CHECK(shown == kNoAverageText);
    } else {
        FUZZ_CHECK(shown == FormatNumber3(elapsed / count, separators) + L" ミリ秒");
    }

    const std::wstring general = GeneralDateText(date, L"12:34:56", false);
    FUZZ_CHECK(general == date + L" 12:34:56");
    FUZZ_CHECK(GeneralDateText(date, L"0:00:00", true) == date);
    return 0;
}
