#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/CliOptions.h"
#include "cli/Statistics.h"
#include "platform/SystemDescription.h"

// What the machine reference is; files with another one cannot be set against it.
constexpr const char* kMachineReference = "4 MiB scattered reads";

// Where and how the figures were taken: the system, and what was asked of the program.
struct RunContext : SystemDescription {
    std::string Version;
    int Bits = 0;               // 32 or 64
    CliOptions Options;         // the text, count, passes and pass conditions asked for
    std::size_t TextBytes = 0;  // in the ANSI code page, as drawn
    std::vector<std::string> NotInCodePage;  // the text's characters the ANSI code page cannot hold
    // A fixed loop of memory reads timed beside every pass: how fast the
    // machine itself ran, for comparisons across runs.
    std::vector<double> ReferenceMs;
};

// One configuration's result.
struct Measurement {
    Configuration Config;
    std::string RealizedFace;  // what GetTextFace names once the font is selected
    bool Substituted = false;  // RealizedFace is not the face asked for
    // The text's characters that reach the font as others: its character set reads the
    // ANSI bytes in another code page, or the ANSI code page cannot hold them.
    std::vector<std::string> Misread;
    std::int32_t Count = 0;
    std::vector<double> PerCallMs;  // one per timed pass
    Summary Stats;
    std::vector<double> ReferenceMs;  // the machine reference each pass saw
    // Passes scaled to the run's typical machine speed: what verdicts are drawn from.
    std::vector<double> AdjustedMs;
    std::optional<double> AdjustedCv;
    bool IsBaseline = false;
    std::optional<Comparison> VsBaseline;
    // The text as drawn, and the smoothing its pixels show (a --quality word; empty: cannot tell).
    std::size_t TextBytes = 0, TextChars = 0;
    bool Clipped = false;  // the text runs past the canvas, where its glyphs are cut off
    std::string DrawnQuality;

    double CallsPerSecond() const { return Stats.Median > 0 ? 1000 / Stats.Median : 0; }
};

void JudgeAgainstBaseline(std::vector<Measurement>& results, std::size_t baseline, double margin);

// What the user should know of a sweep's figures, one line each: faces the mapper
// replaced, text the code page or a font cannot show, too few passes for a verdict.
std::vector<std::string> SweepWarnings(const RunContext& context, const std::vector<Measurement>& results);

// The characters of text (UTF-8) that keeps refuses, each once, in the order they first appear.
std::vector<std::string> CharactersRefused(const std::string& text,
                                           const std::function<bool(const std::string&)>& keeps);
// "日" (U+65E5), "€" (U+20AC)
std::string CharacterList(const std::vector<std::string>& characters);

// value rounded to `digits` significant digits, in plain notation
// (1234567 -> "1230000", 0.0012345 -> "0.00123"); "-" when not finite.
std::string FormatSignificant(double value, int digits);
// Six significant digits, as the machine-readable forms keep them; null where there is no figure.
nlohmann::ordered_json Precise(double value);
std::string PreciseText(double value);

std::string StyleName(bool bold, bool italic);
std::string ConfigLabel(const Configuration& config);
// "-" where there is no interval; with as many digits as it takes to keep
// either end from being rounded onto 1 or across it.
std::string IntervalText(double low, double high);

std::string TableReport(const RunContext& context, const std::vector<Measurement>& results);
std::string CsvReport(const std::vector<Measurement>& results, std::size_t textBytes);
std::string JsonReport(const RunContext& context, const std::vector<Measurement>& results);

// A CSV table of JSON objects that share their members: the members' names
// make the header; arrays are left out, null is an empty field.
std::string CsvFromRows(const nlohmann::ordered_json& rows);

// Columns two spaces apart; those marked in rightAligned (numbers) are
// padded on the left. The last column is never padded on the right.
std::string AlignColumns(const std::vector<std::vector<std::string>>& rows, const std::vector<bool>& rightAligned);
