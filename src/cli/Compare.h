#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/Statistics.h"

// One configuration as an earlier JSON or CSV output recorded it: what a
// comparison needs of it.
struct ResultRow {
    Configuration Config;
    double MedianMs = 0;
    std::vector<double> SamplesMs;    // per pass; JSON only
    std::vector<double> ReferenceMs;  // the machine reference beside each pass, when the file has them
};

struct ResultFile {
    std::vector<ResultRow> Rows;
    std::string Description;          // program, architecture, Wine and date, when the file says (JSON only)
    std::vector<double> ReferenceMs;  // the machine reference, when the file has one
    std::string ReferenceKind;        // what that reference is; empty in older files
    // What the times depend on besides the configuration, as far as the file records it:
    // "text", "architecture", "ANSI code page" and "count mode" ("fixed" or "auto").
    std::map<std::string, std::string> Terms;
};

// Reads this program's JSON or CSV output, told apart by the first
// character. Fails with a message saying what is missing or malformed, or
// that the file holds no result row; a row that does not read is named by
// its line (CSV) or its place in "results" (JSON).
std::optional<ResultFile> ReadResults(const std::string& text, std::string& error);

// Beyond this the machine ran at another speed, and no verdict is given.
constexpr double kMachineChangeLimit = 0.25;

struct ComparedRow {
    Configuration Config;
    std::optional<double> Old;  // median ms a call
    std::optional<double> New;
    // New against old with the machine's change taken out; none without samples.
    std::optional<Comparison> Adjusted;
};

struct Comparisons {
    std::vector<ComparedRow> Rows;
    std::optional<Comparison> Machine;  // new reference / old reference
    std::string Note;                   // how the machine's speed was taken into account
    // Terms both files record and that differ: the runs measured different things.
    std::vector<std::string> Differences;
    bool InCommon = false;  // some configuration is in both files
};

// Configurations of either file paired up; one only present in one file
// has no median for the other. Where the runs differ in their terms, no
// verdict is drawn unless despiteDifferences.
Comparisons CompareFiles(const ResultFile& oldFile, const ResultFile& newFile, double margin,
                         bool despiteDifferences = false);

// What the user should know before trusting the verdicts, one line each.
std::vector<std::string> CompareWarnings(const ResultFile& oldFile, const ResultFile& newFile,
                                         const Comparisons& compared, bool despiteDifferences);

std::string CompareReport(const std::string& oldName, const ResultFile& oldFile, const std::string& newName,
                          const ResultFile& newFile, const Comparisons& compared, OutputFormat format);
