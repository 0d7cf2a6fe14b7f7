#pragma once
#include <string>
#include <vector>

// The user's digit grouping, as the locale describes it ("3;0" -> {3},
// Indian "3;2;0" -> {3, 2}; the last size repeats).
struct NumberSeparators {
    std::wstring Decimal = L".";
    std::wstring Thousand = L",";
    std::vector<int> Grouping = {3};
    std::wstring Minus = L"-";
};

// The "#,0.000" pattern: grouped integer part, at least one integer digit,
// exactly three decimals, rounded half away from zero. A negative value
// keeps its sign even when it rounds to zero ("-0.000").
std::wstring FormatNumber3(double value, const NumberSeparators& separators);
