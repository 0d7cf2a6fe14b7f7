// "#,0.000" for any value, read back independently: sign, groups of the
// sizes the locale asks for, three decimals, within half a thousandth.
#include <cmath>
#include <iterator>
#include <vector>

#include "FuzzInput.h"
#include "platform/NumberFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input{data, size};
    const double value = input.Take<double>();
    static const NumberSeparators kLocales[] = {{}, {L",", L".", {3}, L"-"}, {L".", L",", {3, 2}, L"-"}, {L".", L"", {3}, L"-"},
        {L"<.>", L"'", {2, 1, 4}, L"minus "}, {L",", L" ", {3, 0}, L"\x2212"}, {L".", L",", {}, L"-"}};
    const NumberSeparators& s = kLocales[input.Take<std::uint8_t>() % std::size(kLocales)];
    const std::wstring out = FormatNumber3(value, s);
    if (!std::isfinite(value)) return FUZZ_CHECK(out == (std::isnan(value) ? L"NaN" : (value < 0 ? s.Minus : L"") + L"\x221E")), 0;
    const bool negative = out.compare(0, s.Minus.size(), s.Minus) == 0;
    const std::wstring rest = out.substr(negative ? s.Minus.size() : 0);
    const size_t point = rest.rfind(s.Decimal);
    FUZZ_CHECK(point != std::wstring::npos);
    const std::wstring integer = rest.substr(0, point), fraction = rest.substr(point + s.Decimal.size());
    FUZZ_CHECK(fraction.size() == 3 && fraction.find_first_not_of(L"0123456789") == std::wstring::npos);
    // The groups of the integer part, from the right, as the sizes ask (the last size repeats; 0 ends grouping).
    std::vector<std::wstring> groups;
    size_t start = 0;
    for (size_t at; !s.Thousand.empty() && (at = integer.find(s.Thousand, start)) != std::wstring::npos; start = at + s.Thousand.size())
        groups.push_back(integer.substr(start, at - start));
    groups.push_back(integer.substr(start));
    for (size_t i = groups.size(), index = 0; i-- > 0; index += index + 1 < s.Grouping.size()) {
        const size_t want = s.Grouping.empty() || s.Thousand.empty() ? 0 : static_cast<size_t>(s.Grouping[index]);
        FUZZ_CHECK(!groups[i].empty() && groups[i].find_first_not_of(L"0123456789") == std::wstring::npos);
        FUZZ_CHECK(i == 0 ? want == 0 || groups[i].size() <= want : want > 0 && groups[i].size() == want);
    }

    std::string digits;
    for (wchar_t c : integer) digits += c >= L'0' && c <= L'9' ? std::string(1, static_cast<char>(c)) : "";
    digits += '.' + std::string(fraction.begin(), fraction.end());
    FUZZ_CHECK(digits[0] != '0' || digits[1] == '.');
    // Read wider than double: 15 significant digits of the largest doubles round up past its range.
    const long double shown = std::strtold(digits.c_str(), nullptr), magnitude = std::fabs(static_cast<long double>(value));
    FUZZ_CHECK(negative == (value < 0));
    FUZZ_CHECK(std::fabs(shown - magnitude) <= 0.0005000001L + magnitude * 1e-14L);
    return 0;
}
