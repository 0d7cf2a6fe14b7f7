#include "benchmark/ReportEntry.h"

#include <gtest/gtest.h>

#include "platform/Locale.h"
#include "ui/KeyFilter.h"

namespace {

const NumberSeparators kUs;

TEST(ReportEntry, HasThreeLinesAndAnEmptyOne) {
    EXPECT_EQ(ReportEntryText(L"2026/12/06 21:05:09", 1234.5671, 10, kUs),
              L"2026/12/06 21:05:09\r\n"
              L"試行時間: 1,234.567 ミリ秒\r\n"
              L"1回あたりの平均時間: 123.457 ミリ秒\r\n"
              L"\r\n");
}

TEST(ReportEntry, NegativeAndZeroTimes) {
    std::wstring entry = ReportEntryText(L"d", -0.002, 1, kUs);
    EXPECT_NE(entry.find(L"試行時間: -0.002 ミリ秒"), std::wstring::npos);
    EXPECT_NE(entry.find(L"平均時間: -0.002 ミリ秒"), std::wstring::npos);

    entry = ReportEntryText(L"d", 0, 5, kUs);
    EXPECT_NE(entry.find(L"試行時間: 0.000 ミリ秒"), std::wstring::npos);
    EXPECT_NE(entry.find(L"平均時間: 0.000 ミリ秒"), std::wstring::npos);

    // A negative count divides like any other.
    EXPECT_NE(ReportEntryText(L"d", -0.004, -2, kUs).find(L"平均時間: 0.002 ミリ秒"), std::wstring::npos);
}

TEST(ReportEntry, ZeroCountHasNoAverage) {
    std::wstring entry = ReportEntryText(L"d", 0.001, 0, kUs);
    EXPECT_NE(entry.find(std::wstring(L"1回あたりの平均時間: ") + kNoAverageText + L"\r\n\r\n"), std::wstring::npos);
    for (const wchar_t* junk : {L"nan", L"NaN", L"inf", L"\x221E"}) EXPECT_EQ(entry.find(junk), std::wstring::npos);
}

TEST(ReportEntry, GeneralDateDropsMidnight) {
    EXPECT_EQ(GeneralDateText(L"2026/12/06", L"9:05:01", false), L"2026/12/06 9:05:01");
    EXPECT_EQ(GeneralDateText(L"2026/12/06", L"0:00:00", true), L"2026/12/06");
}

TEST(KeyFilter, DigitsBackspaceAndPointOnly) {
    std::wstring accepted;
    for (unsigned code = 0; code < 0x10000; ++code)
        if (IsAcceptedNumericKey(code)) accepted += static_cast<wchar_t>(code);
    EXPECT_EQ(accepted, L"\b.0123456789");
    EXPECT_FALSE(IsAcceptedNumericKey(22));       // Ctrl+V
    EXPECT_FALSE(IsAcceptedNumericKey(0xFF11));   // full-width 1
    EXPECT_FALSE(IsAcceptedNumericKey(0x10030));  // beyond 16 bits, low word '0'
}

}  // namespace
