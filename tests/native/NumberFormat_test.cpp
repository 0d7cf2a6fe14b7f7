#include "platform/NumberFormat.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

const NumberSeparators kUs;

TEST(NumberFormat, RoundsToThreeDecimalsAsWritten) {
    EXPECT_EQ(FormatNumber3(0, kUs), L"0.000");
    EXPECT_EQ(FormatNumber3(2.498, kUs), L"2.498");
    EXPECT_EQ(FormatNumber3(0.0005, kUs), L"0.001");
    EXPECT_EQ(FormatNumber3(0.00049, kUs), L"0.000");
    EXPECT_EQ(FormatNumber3(1.0005, kUs), L"1.001");  // binary value lies just below
    EXPECT_EQ(FormatNumber3(2.675, kUs), L"2.675");
    EXPECT_EQ(FormatNumber3(9.9995, kUs), L"10.000");
    EXPECT_EQ(FormatNumber3(999.9996, kUs), L"1,000.000");
    EXPECT_EQ(FormatNumber3(1e-9, kUs), L"0.000");
}

TEST(NumberFormat, GroupsThousands) {
    EXPECT_EQ(FormatNumber3(1234.567, kUs), L"1,234.567");
    EXPECT_EQ(FormatNumber3(1234.5, kUs), L"1,234.500");
    EXPECT_EQ(FormatNumber3(999.999, kUs), L"999.999");
    EXPECT_EQ(FormatNumber3(1234567890.125, kUs), L"1,234,567,890.125");
    EXPECT_EQ(FormatNumber3(100000, kUs), L"100,000.000");
}

TEST(NumberFormat, NegativesKeepTheirSignUnlessTheyRoundToZero) {
    EXPECT_EQ(FormatNumber3(-0.001, kUs), L"-0.001");
    EXPECT_EQ(FormatNumber3(-1234.5678, kUs), L"-1,234.568");
    EXPECT_EQ(FormatNumber3(-0.0004, kUs), L"-0.000");
    EXPECT_EQ(FormatNumber3(-0.0, kUs), L"0.000");
}

TEST(NumberFormat, FollowsTheLocaleSeparators) {
    NumberSeparators german;
    german.Decimal = L",";
    german.Thousand = L".";
    EXPECT_EQ(FormatNumber3(1234567.891, german), L"1.234.567,891");

    NumberSeparators indian;
    indian.Grouping = {3, 2};
    EXPECT_EQ(FormatNumber3(12345678.5, indian), L"1,23,45,678.500");

    NumberSeparators oneGroup;
    oneGroup.Grouping = {3, 0};
    EXPECT_EQ(FormatNumber3(12345678, oneGroup), L"12345,678.000");

    NumberSeparators none;
    none.Grouping.clear();
    EXPECT_EQ(FormatNumber3(12345.5, none), L"12345.500");
}

TEST(NumberFormat, NonFiniteValuesGiveReadableText) {
    EXPECT_EQ(FormatNumber3(std::numeric_limits<double>::quiet_NaN(), kUs), L"NaN");
    EXPECT_EQ(FormatNumber3(std::numeric_limits<double>::infinity(), kUs), L"\x221E");
    EXPECT_EQ(FormatNumber3(1e300, kUs).size(), 301u + 100u + 4u);  // 301 digits, 100 commas, ".000"
}

}  // namespace
