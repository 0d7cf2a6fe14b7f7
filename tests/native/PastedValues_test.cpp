#include <gtest/gtest.h>

#include <optional>

#include "benchmark/ReportEntry.h"
#include "benchmark/RunInputs.h"

namespace {

// A pasted count or size may carry the locale's grouping; typed ones never do.
TEST(PastedValues, TheLocalesGroupingIsRead) {
    const struct {
        const wchar_t* text;
        const wchar_t* thousand;
        std::optional<std::int32_t> count;
    } cases[] = {
        {L"1,000", L",", 1000},
        {L"2,147,483,647", L",", 2147483647},
        {L"-1,000.5", L",", -1000},
        {L"1 000", L" ", 1000},
        {L"1,000", L"", std::nullopt},
        {L"1,,000", L",", std::nullopt},
        {L",100", L",", std::nullopt},
        {L"100,", L",", std::nullopt},
        {L"1.5,0", L",", std::nullopt},   // none after the point
        {L"1.000", L".", 1},               // a point is the decimal point
    };
    for (const auto& c : cases) EXPECT_EQ(ParseCount(c.text, c.thousand), c.count) << std::wstring(c.text);
    EXPECT_EQ(ParseSize(L"1,000", L","), 1000.0);
}

TEST(PastedValues, ATimeJustBelowZeroKeepsItsSign) {
    const std::wstring entry = ReportEntryText(L"d", -0.0004, 1, NumberSeparators());
    EXPECT_NE(entry.find(L"試行時間: -0.000 ミリ秒"), std::wstring::npos);
    EXPECT_NE(entry.find(L"平均時間: -0.000 ミリ秒"), std::wstring::npos);
}

}  // namespace
