#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliOptions.h"

// One configuration as an earlier JSON or CSV output recorded it.
struct ResultRow {
    Configuration Config;
    std::wstring RealizedFace;
    bool Substituted = false;
    std::int32_t Count = 0;
    int Repetitions = 0;
    double MinMs = 0;
    double MedianMs = 0;
    double MeanMs = 0;
    std::optional<double> StdDevMs;
    std::optional<double> Cv;
    double CallsPerSecond = 0;
    double BytesPerSecond = 0;
};

struct ResultFile {
    std::vector<ResultRow> Rows;
    std::wstring Description;  // program, system and architecture, when the file says (JSON only)
};

// Reads this program's JSON or CSV output, told apart by the first
// character. Fails with a message saying what is missing or malformed.
std::optional<ResultFile> ReadResults(const std::wstring& text, std::wstring& error);

// Configurations of either file side by side with both medians and the
// ratio new / old; one only present in one file shows "-" for the other.
std::wstring CompareReport(const std::wstring& oldName, const ResultFile& oldFile, const std::wstring& newName,
                           const ResultFile& newFile, OutputFormat format);
