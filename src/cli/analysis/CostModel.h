// The cost model: time per call against text length, fitted as a line with bootstrap intervals.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// One timed pass of a configuration at one length of its text.
struct LengthSample {
    std::size_t Bytes = 0, Chars = 0;  // the text's length, bytes in the ANSI code page as drawn
    double Ms = 0;  // per call
};

// A figure with its 95% interval.
struct Estimate {
    double Value = 0, Low = 0, High = 0;
};

// Milliseconds per call = Fixed + PerUnit x units (characters or bytes).
struct LineFit {
    Estimate Fixed, PerUnit;
    double R2 = 0;  // of the line on every pass; NaN when the times do not vary at all
    std::vector<std::pair<double, double>> Replicates;  // the bootstrap's {fixed, per unit}
    double At(double units) const { return Fixed.Value + PerUnit.Value * units; }
    // The line's time at units, with the interval its replicates give there.
    Estimate Predict(double units) const;
};

struct CostModel {
    LineFit PerChar, PerByte;
    std::vector<std::size_t> Lengths;  // the lengths measured, in bytes, ascending
};

// Theil-Sen lines through the passes, with bootstrap intervals. None, with
// the reason, unless there are three or more lengths, in characters as in
// bytes, and two or more passes at each with finite times.
std::optional<CostModel> FitCostModel(const std::vector<LengthSample>& samples, std::string& reason);

// The fit as one line for under a configuration's rows of the table.
std::string CostModelText(const CostModel& model);
