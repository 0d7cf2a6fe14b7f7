#include "benchmark/RunInputs.h"

#include <gtest/gtest.h>

namespace {

TEST(RunInputs, CountRoundsHalvesToEven) {
    EXPECT_EQ(ParseCount(L"10"), 10);
    EXPECT_EQ(ParseCount(L"12.5"), 12);
    EXPECT_EQ(ParseCount(L"13.5"), 14);
    EXPECT_EQ(ParseCount(L"0.5"), 0);
    EXPECT_EQ(ParseCount(L"1.5"), 2);
    EXPECT_EQ(ParseCount(L"12.51"), 13);
    EXPECT_EQ(ParseCount(L"-2.5"), -2);
    EXPECT_EQ(ParseCount(L".5"), 0);
    EXPECT_EQ(ParseCount(L"7."), 7);
    EXPECT_EQ(ParseCount(L"007"), 7);
    EXPECT_EQ(ParseCount(L" 42 "), 42);
    EXPECT_EQ(ParseCount(L"1e3"), 1000);
    EXPECT_EQ(ParseCount(L"-5"), -5);
}

TEST(RunInputs, CountStaysWithinThirtyTwoBits) {
    EXPECT_EQ(ParseCount(L"2147483647"), 2147483647);
    EXPECT_EQ(ParseCount(L"2147483647.4"), 2147483647);
    EXPECT_EQ(ParseCount(L"2147483647.5"), std::nullopt);  // rounds to 2^31
    EXPECT_EQ(ParseCount(L"2147483648"), std::nullopt);
    EXPECT_EQ(ParseCount(L"99999999999"), std::nullopt);
    EXPECT_EQ(ParseCount(L"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseCount(L"-2147483649"), std::nullopt);
    EXPECT_EQ(ParseCount(L"1e400"), std::nullopt);
}

TEST(RunInputs, RejectsWhatIsNotANumber) {
    for (const wchar_t* text : {L"", L" ", L".", L"..", L"1.2.3", L"abc", L"12a", L"1,000", L"0x10", L"1e", L"e3",
                                L"+", L"-", L"１２", L"nan", L"inf", L"1 2"})
        EXPECT_EQ(ParseDecimal(text), std::nullopt) << '"' << std::string(text, text + wcslen(text)) << '"';
}

TEST(RunInputs, SizeTakesFractionsWithinBounds) {
    EXPECT_EQ(ParseSize(L"10.5"), 10.5);
    EXPECT_EQ(ParseSize(L"12"), 12.0);
    EXPECT_EQ(ParseSize(L"1"), 1.0);
    EXPECT_EQ(ParseSize(L"1000"), 1000.0);
    for (const wchar_t* text : {L"", L".", L"0", L"0.01", L"0.99", L"1000.01", L"5000", L"-12"})
        EXPECT_EQ(ParseSize(text), std::nullopt);
}

TEST(RunInputs, RefusalsNameTheBoxTheValueAndTheRange) {
    std::wstring count = CountRefusal(L"1.2.3");
    EXPECT_NE(count.find(L"「試行回数」"), std::wstring::npos);
    EXPECT_NE(count.find(L"「1.2.3」"), std::wstring::npos);
    EXPECT_NE(count.find(L"2,147,483,647"), std::wstring::npos);
    EXPECT_NE(CountRefusal(L"").find(L"空"), std::wstring::npos);

    std::wstring size = SizeRefusal(L"0");
    EXPECT_NE(size.find(L"「サイズ」"), std::wstring::npos);
    EXPECT_NE(size.find(L"1 から 1,000"), std::wstring::npos);

    EXPECT_NE(FaceRefusal(L"").find(L"書体"), std::wstring::npos);
    EXPECT_NE(FaceRefusal(L"NoSuchFace").find(L"NoSuchFace"), std::wstring::npos);

    // A long pasted value is cut, so the box stays readable.
    EXPECT_LT(CountRefusal(std::wstring(30000, L'9')).size(), 200u);
}

TEST(RunInputs, ACutValueKeepsSurrogatePairsWhole) {
    // UTF-16 units as Windows holds them: a pair across the cut goes entirely.
    const std::wstring pair{wchar_t(0xD83D), wchar_t(0xDE00)};
    const std::wstring straddling = std::wstring(39, L'9') + pair + L"9";
    EXPECT_NE(SizeRefusal(straddling).find(L"「" + std::wstring(39, L'9') + L"…」"), std::wstring::npos);
    const std::wstring before = std::wstring(38, L'9') + pair + L"99";
    EXPECT_NE(CountRefusal(before).find(L"「" + before.substr(0, 40) + L"…」"), std::wstring::npos);
}

}  // namespace
