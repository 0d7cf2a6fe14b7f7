// Reading result files back: this program's JSON or CSV output, into the run's own result model.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/analysis/Results.h"

// Reads this program's JSON or CSV output, told apart by the first character.
// Fails with one line saying what is missing or malformed, or that the file holds no
// result row; a row that does not read is named by its line (CSV) or its place in
// "results" (JSON). Never throws.
std::optional<RunResults> ReadResults(const std::string& text, std::string& error);

// What the times depend on besides the configuration, as far as the file records it:
// "text", "architecture", "ANSI code page" and "count mode" ("fixed" or "auto").
std::map<std::string, std::string> MeasuredTerms(const RunContext& context);

// The machine reference beside every pass, or the file's own list where its passes kept none.
std::vector<double> PassReferences(const RunResults& file);
