#include "benchmark/RunInputs.h"
#include "benchmark/RunRequest.h"

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

// The first box that cannot be used, in the order count, face, size, is
// named with its value; otherwise every value comes through typed.
TEST(RunInputs, SettingsBecomeARequestOrTheFirstRefusal) {
    auto read = [](RunSettings settings) { return ReadRunSettings(settings, L",", [](const std::wstring& face) { return face == L"IPAGothic"; }); };
    const std::pair<RunSettings, RunField> refused[] = {{{L"t", L"x", L"No", L"0"}, RunField::Count}, {{L"t", L"1", L"No", L"0"}, RunField::Face}, {{L"t", L"1", L"IPAGothic", L"0"}, RunField::Size}};
    for (const auto& [settings, field] : refused) {
        const auto refusal = std::get<Refusal>(read(settings));
        EXPECT_TRUE(refusal.Field == field && refusal.Message.find(L"「" + (field == RunField::Count ? settings.Count : field == RunField::Face ? settings.Face : settings.Size) + L"」") != std::wstring::npos);
    }
    const auto request = std::get<RunRequest>(read({L"日本", L"1,000", L"IPAGothic", L"10.5", 2, 0, 1}));
    EXPECT_TRUE(request.Text == L"日本" && request.Count == 1000 && request.Opaque && request.Font == (FontSpec{L"IPAGothic", 10.5, true, false}));
}

}  // namespace
