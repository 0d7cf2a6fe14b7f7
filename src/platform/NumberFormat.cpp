#include "platform/NumberFormat.h"

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

std::wstring GroupDigits(const std::string& digits, const NumberSeparators& sep) {
    std::vector<int> groups = sep.Grouping;
    if (groups.empty() || sep.Thousand.empty()) return std::wstring(digits.begin(), digits.end());
    std::wstring out;
    size_t end = digits.size();
    size_t groupIndex = 0;
    std::vector<std::string> parts;
    while (end > 0) {
        int size = groups[groupIndex];
        if (size <= 0) {  // "0" ends grouping: the rest stays together
            parts.push_back(digits.substr(0, end));
            break;
        }
        size_t start = end > static_cast<size_t>(size) ? end - size : 0;
        parts.push_back(digits.substr(start, end - start));
        end = start;
        if (groupIndex + 1 < groups.size()) ++groupIndex;
    }
    for (size_t i = parts.size(); i-- > 0;) {
        out.append(parts[i].begin(), parts[i].end());
        if (i > 0) out += sep.Thousand;
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

    std::string integerPart = digits.substr(0, digits.size() - 3);
    std::string fraction = digits.substr(digits.size() - 3);

    std::wstring out;
    if (value < 0) out += separators.Minus;
    out += GroupDigits(integerPart, separators);
    out += separators.Decimal;
    out.append(fraction.begin(), fraction.end());
    return out;
}
