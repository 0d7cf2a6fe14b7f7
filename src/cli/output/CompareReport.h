// A comparison of two result files written out: as a table, CSV or JSON.
#pragma once
#include <string>

#include "cli/analysis/Results.h"
#include "cli/compare/Compare.h"

// A file given to --compare: its name as given, and what it holds.
struct NamedFile {
    std::string Name;
    const RunResults& File;
};

std::string CompareTable(const NamedFile& oldFile, const NamedFile& newFile, const Comparisons& compared);
std::string CompareCsv(const Comparisons& compared);
std::string CompareJson(const NamedFile& oldFile, const NamedFile& newFile, const Comparisons& compared);
