#pragma once
#include <string>
#include <vector>

#include "cli/Report.h"

// An SVG chart of a length sweep: each configuration's median time per call
// against the text's length, whiskers from min to max, and its fitted line with
// the line's 95% band, one colour a configuration.
std::string LengthChart(const std::vector<Measurement>& results);
