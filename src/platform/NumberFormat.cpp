#include "platform/NumberFormat.h"

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

std::wstring GroupDigits(const std::string& digits, const NumberSeparators& sep) {
    std::wstring out(digits.begin(), digits.end());
    if (sep.Thousand.empty()) return out;
    // A separator goes in front of each full group from the right; the last
    // size repeats, and a 0 leaves the rest together.
    size_t end = out.size(), index = 0;
    while (index < sep.Grouping.size() && sep.Grouping[index] > 0 && end > static_cast<size_t>(sep.Grouping[index])) {
        end -= sep.Grouping[index];
        out.insert(end, sep.Thousand);
        if (index + 1 < sep.Grouping.size()) ++index;
    }
    return out;
}

}  // namespace

std::wstring FormatNumber3(double value, const NumberSeparators& separators) {
    if (std::isnan(value)) return L"NaN";
    if (std::isinf(value)) return value < 0 ? separators.Minus + L"\x221E" : L"\x221E";

    // Round the value as a user reads it (15 significant decimal digits),
    // so 1.0005 shows 1.001 although its binary approximation lies below.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    std::string mantissa;
    const char* p = buffer;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') mantissa += *p;
    const int exponent = *p ? std::atoi(p + 1) : 0;

    // Digits of round(|value| * 1000).
    const int keep = exponent + 1 + 3;
    std::string digits;
    if (keep <= 0) {
        digits = (keep == 0 && mantissa[0] >= '5') ? "1" : "0";
    } else if (keep >= static_cast<int>(mantissa.size())) {
        digits = mantissa + std::string(keep - mantissa.size(), '0');
    } else {
        digits = mantissa.substr(0, keep);
        if (mantissa[keep] >= '5') {
            int i = keep - 1;
            for (; i >= 0 && digits[i] == '9'; --i) digits[i] = '0';
            if (i < 0) digits.insert(digits.begin(), '1');
            else ++digits[i];
        }
    }
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    while (digits.size() < 4) digits.insert(digits.begin(), '0');

    std::wstring out = value < 0 ? separators.Minus : L"";
    out += GroupDigits(digits.substr(0, digits.size() - 3), separators) + separators.Decimal;
    out.append(digits.end() - 3, digits.end());
    return out;
}
