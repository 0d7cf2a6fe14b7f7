// What the user should know before trusting the figures, one line each, for stderr.
#pragma once
#include <string>
#include <vector>

#include "cli/analysis/Results.h"
#include "cli/compare/Compare.h"

// Faces the mapper replaced, text the code page or a font cannot show, too few passes for a verdict.
std::vector<std::string> SweepWarnings(const RunResults& results);
// Runs that measured different things, too few passes for a verdict.
std::vector<std::string> CompareWarnings(const RunResults& oldFile, const RunResults& newFile,
                                         const Comparisons& compared, bool despiteDifferences);
