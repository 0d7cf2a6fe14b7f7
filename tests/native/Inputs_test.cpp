#include "benchmark/RunInputs.h"

#include <gtest/gtest.h>

#include "ui/KeyFilter.h"

namespace {

const std::optional<std::int32_t> kRefused;

TEST(RunInputs, CountRoundsHalvesToEvenWithinThirtyTwoBits) {
    const struct {
        const wchar_t* text;
        std::optional<std::int32_t> count;
    } cases[] = {
        {L"10", 10},   {L"12.5", 12},     {L"13.5", 14},  {L"0.5", 0},     {L"12.51", 13},   {L"-2.5", -2},
        {L".5", 0},    {L"7.", 7},        {L"007", 7},    {L" 42 ", 42},   {L"1e3", 1000},
        {L"2147483647.4", 2147483647},    {L"2147483647.5", kRefused},  // rounds to 2^31
        {L"-2147483648", -2147483647 - 1}, {L"-2147483649", kRefused},  {L"1e400", kRefused},
        {L"", kRefused},  {L".", kRefused},   {L"1.2.3", kRefused}, {L"12a", kRefused}, {L"0x10", kRefused},
        {L"1e", kRefused}, {L"-", kRefused},  {L"１２", kRefused},  {L"nan", kRefused}, {L"1 2", kRefused},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseCount(c.text), c.count) << '"' << std::string(c.text, c.text + wcslen(c.text)) << '"';
}

TEST(RunInputs, SizeTakesFractionsFromOneToAThousand) {
    for (const wchar_t* text : {L"1", L"10.5", L"1000"}) EXPECT_EQ(ParseSize(text), std::wcstod(text, nullptr));
    for (const wchar_t* text : {L"", L".", L"0", L"0.99", L"1000.01", L"-12", L"12pt"})
        EXPECT_EQ(ParseSize(text), std::nullopt);
}

TEST(RunInputs, RefusalsNameTheBoxTheValueAndTheRange) {
    const struct {
        std::wstring message;
        std::vector<std::wstring> parts;
    } cases[] = {
        {CountRefusal(L"1.2.3"), {L"「試行回数」", L"「1.2.3」", L"-2,147,483,648 から 2,147,483,647"}},
        {CountRefusal(L""), {L"「試行回数」", L"空"}},
        {SizeRefusal(L"0"), {L"「サイズ」", L"「0」", L"1 から 1,000"}},
        {FaceRefusal(L"NoSuchFace"), {L"書体", L"NoSuchFace"}},
        // A long pasted value is cut after 40 units, never inside a surrogate pair.
        {CountRefusal(std::wstring(39, L'9') + L"\xD83D\xDE00" L"99"), {(L"「" + std::wstring(39, L'9') + L"…」").c_str()}},
        {SizeRefusal(std::wstring(38, L'9') + L"\xD83D\xDE00" L"99"), {L"99\xD83D\xDE00…」"}},
    };
    for (const auto& c : cases)
        for (const std::wstring& part : c.parts) EXPECT_NE(c.message.find(part), std::wstring::npos) << c.message.size();
    EXPECT_LT(CountRefusal(std::wstring(30000, L'9')).size(), 200u);
}

TEST(KeyFilter, DigitsBackspaceAndThePointOnly) {
    for (unsigned key : {L'0', L'5', L'9', L'\b', L'.'}) EXPECT_TRUE(IsAcceptedNumericKey(key)) << key;
    for (unsigned key : std::initializer_list<unsigned>{'/', ':', '-', ',', 'e', ' ', 22, 0xFF11, 0x10030}) EXPECT_FALSE(IsAcceptedNumericKey(key)) << key;
}

}  // namespace
