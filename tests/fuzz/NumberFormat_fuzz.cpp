// "#,0.000" with whatever separators a locale could hand over.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "platform/NumberFormat.h"

namespace {

bool HasDigit(const std::wstring& text) { return text.find_first_of(L"0123456789") != std::wstring::npos; }

bool Contains(const std::wstring& text, const std::wstring& part) {
    return !part.empty() && text.find(part) != std::wstring::npos;
}

// Separators that cannot be mistaken for digits or for one another.
bool Readable(const NumberSeparators& s) {
    return !s.Decimal.empty() && !s.Minus.empty() && !HasDigit(s.Decimal) && !HasDigit(s.Thousand) &&
           !HasDigit(s.Minus) && !Contains(s.Decimal, s.Thousand) && !Contains(s.Thousand, s.Decimal) &&
           !Contains(s.Minus, s.Thousand) && !Contains(s.Thousand, s.Minus) && !Contains(s.Decimal, s.Minus) &&
           !Contains(s.Minus, s.Decimal);
}

// The groups of the integer part, from the right, as the sizes ask.
void CheckGroups(const std::wstring& integer, const NumberSeparators& s) {
    std::vector<std::wstring> groups;
    if (s.Thousand.empty()) {
        groups.push_back(integer);
    } else {
        size_t start = 0;
        for (size_t at; (at = integer.find(s.Thousand, start)) != std::wstring::npos; start = at + s.Thousand.size())
            groups.push_back(integer.substr(start, at - start));
        groups.push_back(integer.substr(start));
    }
    for (const std::wstring& g : groups) FUZZ_CHECK(!g.empty() && g.find_first_not_of(L"0123456789") == std::wstring::npos);
    if (s.Thousand.empty() || s.Grouping.empty()) {
        FUZZ_CHECK(groups.size() == 1);
        return;
    }
    size_t index = 0;
    for (size_t i = groups.size(); i-- > 0;) {
        const int size = s.Grouping[index];
        if (i == 0) {
            FUZZ_CHECK(size <= 0 || groups[i].size() <= static_cast<size_t>(size));
        } else {
            FUZZ_CHECK(size > 0 && groups[i].size() == static_cast<size_t>(size));
        }
        if (index + 1 < s.Grouping.size()) ++index;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const double value = input.Take<double>();
    NumberSeparators separators;
    separators.Decimal = input.ShortText(3);
    separators.Thousand = input.ShortText(3);
    separators.Minus = input.ShortText(2);
    separators.Grouping.clear();
    for (int n = input.Take<std::uint8_t>() % 5; n > 0; --n) separators.Grouping.push_back(input.Take<std::int8_t>());

    const std::wstring out = FormatNumber3(value, separators);
    if (std::isnan(value)) {
        FUZZ_CHECK(out == L"NaN");
        return 0;
    }
    if (std::isinf(value)) {
        FUZZ_CHECK(out == (value < 0 ? separators.Minus + L"\x221E" : L"\x221E"));
        return 0;
    }
    if (!Readable(separators)) return 0;

    // Read the text back: sign, grouped integer part, exactly three decimals.
    std::wstring rest = out;
    const bool negative = rest.compare(0, separators.Minus.size(), separators.Minus) == 0;
    if (negative) rest.erase(0, separators.Minus.size());
    const size_t point = rest.rfind(separators.Decimal);
    FUZZ_CHECK(point != std::wstring::npos);
    const std::wstring fraction = rest.substr(point + separators.Decimal.size());
    FUZZ_CHECK(fraction.size() == 3 && fraction.find_first_not_of(L"0123456789") == std::wstring::npos);
    const std::wstring integer = rest.substr(0, point);
    CheckGroups(integer, separators);

    std::string digits;
    for (wchar_t c : integer)
        if (c >= L'0' && c <= L'9') digits += static_cast<char>(c);
    FUZZ_CHECK(digits.size() == 1 || digits[0] != '0');
    digits += '.';
    for (wchar_t c : fraction) digits += static_cast<char>(c);
    // Read wider than double: 15 significant digits of the largest doubles
    // round up past the double range.
    const long double shown = std::strtold(digits.c_str(), nullptr);
    const long double magnitude = std::fabs(static_cast<long double>(value));

    FUZZ_CHECK(negative == (value < 0));
    // Rounded at three decimals, after rounding to 15 significant digits.
    FUZZ_CHECK(std::fabs(shown - magnitude) <= 0.0005000001L + magnitude * 1e-14L);
    return 0;
}
