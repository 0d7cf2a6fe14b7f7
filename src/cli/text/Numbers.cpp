// Figures as text: significant digits, six-digit machine-readable form, intervals.
#include "cli/text/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

std::string FormatSignificant(double value, int digits) {
    if (!std::isfinite(value)) return "-";
    if (value == 0) return "0";
    // Let printf do the rounding, then read back where the digits start.
    char scientific[40], plain[400];
    std::snprintf(scientific, sizeof scientific, "%.*e", digits - 1, value);
    const int decimals = digits - 1 - std::atoi(std::strchr(scientific, 'e') + 1);
    std::snprintf(plain, sizeof plain, "%.*f", std::max(decimals, 0), std::strtod(scientific, nullptr));
    return plain;
}

std::string PreciseText(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string IntervalText(double low, double high) {
    if (!std::isfinite(low) || !std::isfinite(high)) return "-";
    const auto keepsSide = [](double value, int digits) {
        const double shown = std::strtod(FormatSignificant(value, digits).c_str(), nullptr);
        return (value < 1) == (shown < 1) && (value > 1) == (shown > 1);
    };
    int digits = 3;
    while (digits < 17 && !(keepsSide(low, digits) && keepsSide(high, digits))) ++digits;
    return FormatSignificant(low, digits) + "-" + FormatSignificant(high, digits);
}

std::string Plural(std::size_t n, const std::string& noun) {
    return std::to_string(n) + " " + noun + (n == 1 ? "" : noun.back() == 's' ? "es" : "s");
}
