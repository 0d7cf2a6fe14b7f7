// Two result files set against each other: rows paired by configuration, each pair judged.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "cli/analysis/Results.h"

// Beyond this the machine ran at another speed, and no verdict is given.
constexpr double kMachineChangeLimit = 0.25;

struct ComparedRow {
    Configuration Config;
    std::optional<double> Old;  // median ms a call
    std::optional<double> New;
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
