// Result files read back into the run's result model, and two of them set against each other.
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

// Beyond this the machine ran at another speed, and no verdict is given.
constexpr double kMachineChangeLimit = 0.25;

struct ComparedRow {
    Configuration Config;
    std::optional<double> Old, New;  // median ms a call
    // New against old with the machine's change taken out; none without samples.
    std::optional<Comparison> Adjusted;
};

// How the machine's speed was taken into account.
enum class MachineUse { NoReference, Adjusted, ChangedTooMuch };

struct Comparisons {
    std::vector<ComparedRow> Rows;
    std::optional<Comparison> Machine;  // new reference / old reference
    MachineUse Use = MachineUse::NoReference;
    // Terms both files record and that differ: the runs measured different things.
    std::vector<std::string> Differences;
    bool Withheld = false;  // they differ, and no verdict is drawn
    bool InCommon = false;  // some configuration is in both files
};

// Configurations of either file paired up; one only present in one file has no
// median for the other. Where the runs differ in their terms, no verdict is drawn
// unless despiteDifferences.
Comparisons CompareFiles(const RunResults& oldFile, const RunResults& newFile, double margin,
                         bool despiteDifferences = false);
