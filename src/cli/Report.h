#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/Statistics.h"

// Where and how the figures were taken.
struct RunContext {
    std::wstring Version;
    int Bits = 0;                 // 32 or 64
    std::wstring WindowsVersion;  // "10.0.19045", as the system reports itself
    std::wstring WineVersion;     // empty when not under Wine
    unsigned AnsiCodePage = 0;
    int Dpi = 0;
    std::uint64_t CounterFrequency = 0;
    std::wstring Date;  // ISO 8601, UTC
    std::wstring Text;
    std::size_t TextBytes = 0;  // in the ANSI code page, as drawn
    std::optional<std::int32_t> Count;  // none: auto
    double TargetSeconds = 0.5;
    int Repetitions = 0;
    int Warmup = 0;
    bool Flush = false;
};

// One configuration's result.
struct Measurement {
    Configuration Config;
    std::wstring RealizedFace;  // what GetTextFace names once the font is selected
    bool Substituted = false;   // RealizedFace is not the face asked for
    std::int32_t Count = 0;
    std::vector<double> PerCallMs;  // one per timed pass
    Summary Stats;

    double CallsPerSecond() const { return Stats.Median > 0 ? 1000 / Stats.Median : 0; }
};

// value rounded to `digits` significant digits, in plain notation
// (1234567 -> "1230000", 0.0012345 -> "0.00123"); "-" when not finite.
std::wstring FormatSignificant(double value, int digits);

// Columns a console gives the text: East Asian wide characters take two.
std::size_t DisplayWidth(const std::wstring& text);

std::wstring StyleName(bool bold, bool italic);

std::wstring TableReport(const RunContext& context, const std::vector<Measurement>& results);
std::wstring CsvReport(const std::vector<Measurement>& results, std::size_t textBytes);
std::wstring JsonReport(const RunContext& context, const std::vector<Measurement>& results);

// Columns two spaces apart; those marked in rightAligned (numbers) are
// padded on the left. The last column is never padded on the right.
std::wstring AlignColumns(const std::vector<std::vector<std::wstring>>& rows, const std::vector<bool>& rightAligned);
