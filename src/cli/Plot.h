#pragma once
#include <optional>
#include <string>
#include <vector>

#include "cli/Compare.h"
#include "cli/Report.h"

// One mark of a chart: a value with a range around it, in a group.
struct ChartItem {
    std::string Group;
    std::string Label;
    double Value = 0;
    double Low = 0;
    double High = 0;
};

// An SVG chart: bars from zero, or (with a reference line) points, each with
// a whisker from Low to High; items of one group stand together under its name.
std::string Chart(const std::string& title, const std::string& axis, const std::vector<ChartItem>& items,
                  std::optional<double> referenceLine);

// Per-call medians with min-max whiskers, grouped by face.
std::string SweepChart(const std::vector<Measurement>& results);
// Adjusted ratios with their intervals and a line at 1.
std::string CompareChart(const Comparisons& compared);
