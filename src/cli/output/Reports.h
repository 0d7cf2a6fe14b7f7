// The finished results written out: run reports, comparisons, warnings, and the table helpers they share.
#pragma once
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/analysis/Results.h"
#include "cli/compare/Compare.h"

// Columns two spaces apart; those marked in rightAligned (numbers) are padded on the
// left, and the last column is never padded on the right. A row of one cell is a line
// of its own, under the row before it, that the columns do not widen for.
std::string AlignColumns(const std::vector<std::vector<std::string>>& rows, const std::vector<bool>& rightAligned);

// A CSV table of JSON objects that share their members: the members' names
// make the header; arrays are left out, null is an empty field.
std::string CsvFromRows(const nlohmann::ordered_json& rows);

std::string TableReport(const RunResults& results);
std::string CsvReport(const RunResults& results);
std::string JsonReport(const RunResults& results);
std::string SelfCheckReport(const Configuration& config, int pairs, const std::vector<SelfCheckRow>& rows);

// The files given to --compare for one side: their names as given, and what each holds.
struct RunSide {
    std::vector<std::string> Names;
    const std::vector<RunResults>& Runs;
};

// The values the sides' runs record of a term ("text", ...), " / " between them; empty when none does.
std::string TermValues(const std::vector<const RunSide*>& sides, const std::string& name);

std::string CompareTable(const RunSide& oldSide, const RunSide& newSide, const Comparisons& compared);
std::string CompareCsv(const Comparisons& compared);
std::string CompareJson(const RunSide& oldSide, const RunSide& newSide, const Comparisons& compared);

// Faces the mapper replaced, text the code page or a font cannot show, too few passes for a verdict.
std::vector<std::string> SweepWarnings(const RunResults& results);
// Runs that measured different things, too few passes or runs for a verdict.
std::vector<std::string> CompareWarnings(const RunSide& oldSide, const RunSide& newSide, const Comparisons& compared,
                                         bool despiteDifferences);
