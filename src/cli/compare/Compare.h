// Result files read back into the run's result model, and the runs of two sides set against each other.
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

// Two runs of one command on the machine measured moved by up to this fraction of their median
// (docs/measurement.md): with one run a side, only a change beyond it and the margin is called.
constexpr double kRunDrift = 1.0;

struct ComparedRow {
    Configuration Config;
    std::optional<double> Old, New;  // median ms a call; over several runs, the median of their medians
    std::optional<Comparison> Change;  // new against old; none where a side has no positive time
};

struct Comparisons {
    std::vector<ComparedRow> Rows;
    std::size_t Runs = 1;  // a side; from two, run i of each side makes pair i
    // Terms two runs record and that differ: the runs measured different things.
    std::vector<std::string> Differences;
    bool Withheld = false;  // they differ, and no verdict is drawn
    bool InCommon = false;  // some configuration is in both sides' runs
};

// Configurations of the two sides paired up; one present on a side only has no median for the
// other. One run a side: the two runs' passes (Mann-Whitney), where drift between the runs is not
// in the interval, so only a change beyond kRunDrift is called. Several: each pair's new / old
// medians, judged as rounds within a run are (signed-rank), so drift common to a pair cancels.
// The sides hold as many runs. Where the runs differ in their terms, no verdict is drawn unless
// despiteDifferences.
Comparisons CompareRuns(const std::vector<RunResults>& oldRuns, const std::vector<RunResults>& newRuns, double margin,
                        bool despiteDifferences = false);

// The first pair (from 0) with a run dated before the last of the pair before it; none when the
// pairs are in time order, as far as the runs record their dates.
std::optional<std::size_t> OutOfOrder(const std::vector<RunResults>& oldRuns, const std::vector<RunResults>& newRuns);
