#include "benchmark/RunInputs.h"

#include <gtest/gtest.h>

namespace {

const std::optional<std::int32_t> kRefused;

// Typed counts have no grouping (""); pasted ones may carry the locale's.
TEST(RunInputs, CountRoundsHalvesToEvenWithinThirtyTwoBits) {
    const struct { const wchar_t *text, *thousand; std::optional<std::int32_t> count; } cases[] = {
        {L"10", L"", 10}, {L"12.5", L"", 12}, {L"13.5", L"", 14}, {L"0.5", L"", 0}, {L"12.51", L"", 13}, {L"-2.5", L"", -2},
        {L".5", L"", 0}, {L"7.", L"", 7}, {L" 42 ", L"", 42}, {L"1e3", L"", 1000}, {L"2147483647.4", L"", 2147483647},
        {L"2147483647.5", L"", kRefused}, {L"-2147483648", L"", -2147483647 - 1}, {L"-2147483649", L"", kRefused},
        {L"1e400", L"", kRefused}, {L"", L"", kRefused}, {L".", L"", kRefused}, {L"1.2.3", L"", kRefused},
        {L"12a", L"", kRefused}, {L"0x10", L"", kRefused}, {L"-", L"", kRefused}, {L"１２", L"", kRefused},
        {L"nan", L"", kRefused}, {L"1 2", L"", kRefused}, {L"1,000", L"", kRefused}, {L"1,000", L",", 1000},
        {L"2,147,483,647", L",", 2147483647}, {L"-1,000.5", L",", -1000}, {L"1 000", L" ", 1000},
        {L"1,,000", L",", kRefused}, {L",100", L",", kRefused}, {L"100,", L",", kRefused}, {L"1.5,0", L",", kRefused},
        {L"1,5", L",", kRefused}, {L"1,50.5", L",", kRefused}, {L"12,34,567", L",", kRefused},
        {L"1234,567", L",", kRefused}, {L"1,000,0000", L",", kRefused}, {L"1,000,000e-3", L",", 1000},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseCount(c.text, c.thousand), c.count) << std::wstring(c.text);
}

TEST(RunInputs, SizeTakesFractionsFromOneToAThousand) {
    for (const wchar_t* text : {L"1", L"10.5", L"1000"}) EXPECT_EQ(ParseSize(text), std::wcstod(text, nullptr));
    for (const wchar_t* text : {L"0.99", L"1000.01", L"-12", L"12pt"}) EXPECT_EQ(ParseSize(text), std::nullopt);
    EXPECT_EQ(ParseSize(L"1,000", L","), 1000.0);
    EXPECT_EQ(ParseSize(L"12.5", L","), 12.5);
    EXPECT_EQ(ParseSize(L"1,5", L","), std::nullopt);  // one and a half in many locales, never fifteen
}

// A long pasted value is cut after 40 units in the message, never inside a surrogate pair.
TEST(RunInputs, RefusalsCutALongValueBetweenCharacters) {
    EXPECT_NE(CountRefusal(std::wstring(39, L'9') + L"\xD83D\xDE00" L"99").find(L"「" + std::wstring(39, L'9') + L"…」"), std::wstring::npos);
    EXPECT_NE(SizeRefusal(std::wstring(38, L'9') + L"\xD83D\xDE00" L"99").find(L"99\xD83D\xDE00…」"), std::wstring::npos);
}

}  // namespace
