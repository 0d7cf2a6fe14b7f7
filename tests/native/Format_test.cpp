#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "benchmark/ReportEntry.h"
#include "platform/Locale.h"
#include "platform/LogFont.h"

namespace {

TEST(NumberFormat, ThreeDecimalsRoundedAsWrittenAndGroupedAsTheLocaleSays) {
    const NumberSeparators us, german{L",", L".", {3}, L"-"}, indian{L".", L",", {3, 2}, L"-"}, oneGroup{L".", L",", {3, 0}, L"-"};
    const struct { double value; const NumberSeparators& separators; const wchar_t* text; } cases[] = {
        {0, us, L"0.000"}, {0.0005, us, L"0.001"}, {0.00049, us, L"0.000"}, {1.0005, us, L"1.001"}, {2.675, us, L"2.675"},
        {999.9996, us, L"1,000.000"}, {1234567890.125, us, L"1,234,567,890.125"}, {-1234.5678, us, L"-1,234.568"},
        {-0.0004, us, L"-0.000"}, {1234567.891, german, L"1.234.567,891"}, {12345678.5, indian, L"1,23,45,678.500"},
        {12345678, oneGroup, L"12345,678.000"}, {std::numeric_limits<double>::quiet_NaN(), us, L"NaN"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatNumber3(c.value, c.separators), c.text) << c.value;
}

TEST(ReportEntry, DateTotalAverageAndAnEmptyLine) {
    const struct { double ms; std::int32_t count; std::wstring total, average; } cases[] = {{1234.5671, 10, L"1,234.567", L"123.457 ミリ秒"}, {-0.004, -2, L"-0.004", L"0.002 ミリ秒"},
                 {-0.0004, 1, L"-0.000", L"-0.000 ミリ秒"}, {0.001, 0, L"0.001", kNoAverageText}};
    for (const auto& c : cases)
        EXPECT_EQ(ReportEntryText(L"d", c.ms, c.count, {}), L"d\r\n試行時間: " + c.total + L" ミリ秒\r\n1回あたりの平均時間: " + c.average + L"\r\n\r\n");
    EXPECT_EQ(GeneralDateText(L"2026/12/06", L"9:05:01", false), L"2026/12/06 9:05:01");
    EXPECT_EQ(GeneralDateText(L"2026/12/06", L"0:00:00", true), L"2026/12/06");
}

std::wstring Latin1(const char* bytes, std::size_t length) { return std::wstring(bytes, bytes + length); }

// The LOGFONT fields the conversions use, as both structures name them.
template <typename Char>
struct LogFont {
    std::int32_t lfHeight = 0, lfWeight = 0;
    std::uint8_t lfItalic = 0, lfUnderline = 0, lfStrikeOut = 0, lfCharSet = 0;
    Char lfFaceName[32];
};

// Pixel heights become points and come back as the same pixels; points
// become a negative pixel height within 32 bits, never 0 (the mapper's default).
TEST(LogFont, PixelsBecomePointsAndBack) {
    const struct { std::int32_t height; int dpi; double points; std::int32_t back; } cases[] = {{-12, 96, 9, -12}, {-16, 120, 9.6, -16}, {12, 144, 12, -24}, {0, 96, 0, -1}, {12, 0, 12, -1},
                 {-2147483647, 96, 1610612735.25, -2147483647}};
    for (const auto& c : cases) {
        LogFont<char> ansi{c.height, 700, 1, 0, 1, 128, {}};
        std::memset(ansi.lfFaceName, 'X', sizeof ansi.lfFaceName);  // no terminator
        FontSpec font = FontFromLogFont(ansi, c.dpi, Latin1);
        EXPECT_NEAR(font.Size, c.points, 1e-6) << c.height;
        EXPECT_TRUE(font.Name == std::wstring(32, L'X') && font.Bold && font.Italic && !font.Underline && font.Strikethrough && font.Charset == 128);
        LogFont<wchar_t> wide;
        SetLogFont(wide, font, c.dpi);
        EXPECT_TRUE(wide.lfHeight == c.back && wide.lfWeight == 700 && wide.lfItalic && wide.lfStrikeOut && wide.lfCharSet == 128 &&
                    wide.lfFaceName == std::wstring(31, L'X')) << c.height;
        SetLogFont(wide, {L"IPAGothic", 1e300}, 96);
        EXPECT_TRUE(wide.lfHeight == -2147483647 && wide.lfWeight == 400 && wide.lfFaceName == std::wstring(L"IPAGothic"));
    }
}

}  // namespace
