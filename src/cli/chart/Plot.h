// SVG charts of a run's results and of a comparison.
#pragma once
#include <string>
#include <vector>

#include "cli/analysis/Results.h"
#include "cli/compare/Compare.h"

// SVG charts, one mark a configuration, grouped by face, each with a whisker.
// Per-call medians as bars from zero, whiskers from min to max.
std::string SweepChart(const RunResults& results);
// The ratios as points with their intervals, and a line at 1.
std::string CompareChart(const Comparisons& compared);
// A length sweep: each configuration's median time per call against the text's length,
// whiskers from min to max, and its fitted line with the line's 95% band, one colour each.
std::string LengthChart(const RunResults& results);
