#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "benchmark/ReportEntry.h"
#include "platform/Locale.h"
#include "platform/LogFont.h"

namespace {

TEST(NumberFormat, ThreeDecimalsRoundedAsWrittenAndGroupedAsTheLocaleSays) {
    const NumberSeparators us, german{L",", L".", {3}, L"-"}, indian{L".", L",", {3, 2}, L"-"},
        oneGroup{L".", L",", {3, 0}, L"-"}, none{L".", L",", {}, L"-"};
    const struct {
        double value;
        const NumberSeparators& separators;
        const wchar_t* text;
    } cases[] = {
        {0, us, L"0.000"}, {2.498, us, L"2.498"}, {0.0005, us, L"0.001"}, {0.00049, us, L"0.000"}, {1e-9, us, L"0.000"},
        {1.0005, us, L"1.001"}, {2.675, us, L"2.675"},  // the binary values lie below
        {9.9995, us, L"10.000"}, {999.9996, us, L"1,000.000"}, {1234.5, us, L"1,234.500"},
        {1234567890.125, us, L"1,234,567,890.125"}, {-0.001, us, L"-0.001"}, {-1234.5678, us, L"-1,234.568"},
        {1234567.891, german, L"1.234.567,891"}, {12345678.5, indian, L"1,23,45,678.500"},
        {12345678, oneGroup, L"12345,678.000"}, {12345.5, none, L"12345.500"},
        {std::numeric_limits<double>::quiet_NaN(), us, L"NaN"}, {std::numeric_limits<double>::infinity(), us, L"\x221E"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatNumber3(c.value, c.separators), c.text) << c.value;
}

TEST(ReportEntry, DateTotalAverageAndAnEmptyLine) {
    const NumberSeparators us;
    EXPECT_EQ(ReportEntryText(L"2026/12/06 21:05:09", 1234.5671, 10, us),
              L"2026/12/06 21:05:09\r\n試行時間: 1,234.567 ミリ秒\r\n1回あたりの平均時間: 123.457 ミリ秒\r\n\r\n");
    EXPECT_EQ(ReportEntryText(L"d", -0.004, -2, us), L"d\r\n試行時間: -0.004 ミリ秒\r\n1回あたりの平均時間: 0.002 ミリ秒\r\n\r\n");
    EXPECT_EQ(ReportEntryText(L"d", 0.001, 0, us),
              std::wstring(L"d\r\n試行時間: 0.001 ミリ秒\r\n1回あたりの平均時間: ") + kNoAverageText + L"\r\n\r\n");

    EXPECT_EQ(GeneralDateText(L"2026/12/06", L"9:05:01", false), L"2026/12/06 9:05:01");
    EXPECT_EQ(GeneralDateText(L"2026/12/06", L"0:00:00", true), L"2026/12/06");
}

std::wstring Latin1(const char* bytes, std::size_t length) { return std::wstring(bytes, bytes + length); }

// A record's pixel height becomes points and comes back as the same pixels;
// points become a negative pixel height within 32 bits, never 0 (the
// mapper's default).
TEST(LogFont, PixelsBecomePointsAndBack) {
    const struct {
        std::int32_t height;
        int dpi;
        double points;
        std::int32_t back;
    } cases[] = {{-12, 96, 9, -12},   {-16, 120, 9.6, -16}, {12, 96, 12, -16},  {12, 144, 12, -24},  {-14, 120, 8.4, -14},
                 {0, 96, 0, -1},      {12, 0, 12, -1},      {-2147483647, 96, 1610612735.25, -2147483647}};
    for (const auto& c : cases) {
        LogFontARecord record{c.height, 0, 0, 0, 700, 1, 0, 0, 128, 0, 0, 0, 0, {}};
        std::memset(record.lfFaceName, 'X', sizeof record.lfFaceName);  // no terminator
        const FontSpec font = FontFromLogFont(record, c.dpi, Latin1);
        EXPECT_NEAR(font.Size, c.points, 1e-6) << c.height;
        EXPECT_EQ(font.Name, std::wstring(32, L'X'));
        EXPECT_TRUE(font.Bold && font.Italic && !font.Underline && font.Charset == 128);
        const LogFontFields fields = LogFontFromFontSpec(font, c.dpi);
        EXPECT_EQ(fields.Height, c.back) << c.height;
        EXPECT_EQ(fields.Weight, 700);
        EXPECT_EQ(fields.FaceName, std::wstring(31, L'X'));
    }
    for (const auto& [points, height] : {std::pair(10.5, -14), {0.01, -1}, {1e300, -2147483647}}) {
        FontSpec font;
        font.Size = points;
        EXPECT_EQ(LogFontFromFontSpec(font, 96).Height, height) << points;
    }
}

}  // namespace
