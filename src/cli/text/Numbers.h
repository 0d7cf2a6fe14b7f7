// Figures as text: significant digits, six-digit machine-readable form, intervals.
#pragma once
#include <string>

// value rounded to `digits` significant digits, in plain notation
// (1234567 -> "1230000", 0.0012345 -> "0.00123"); "-" when not finite.
std::string FormatSignificant(double value, int digits);
// Six significant digits, as the machine-readable forms keep them.
std::string PreciseText(double value);
// "-" where there is no interval; with as many digits as it takes to keep
// either end from being rounded onto 1 or across it.
std::string IntervalText(double low, double high);
// "1 pass", "3 passes", "2 timed passes"
std::string Plural(std::size_t n, const std::string& noun);
