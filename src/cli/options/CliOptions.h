// The options: one plain value the rest of the program reads, the calls, qualities and surfaces it names, and how it is parsed.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "benchmark/RunRequest.h"

// Text is UTF-8 everywhere in the console program; only the Windows side
// converts, at the API it calls.
inline const char kCliProgramName[] = "ExtTextOutBenchCli";

// The text calls the console program times, each once per iteration at the canvas origin;
// the extent call lays the text out without drawing it.
enum class TextCall { ExtTextOutA, ExtTextOutW, TextOutA, PolyTextOutA, GetTextExtentPoint32A };

// The font's lfQuality, with LOGFONT's own values.
enum class FontQuality : std::uint8_t { Default = 0, NonAntialiased = 3, Antialiased = 4, ClearType = 5 };

// The names options and files use, read in any case; the first is the default.
inline const std::vector<std::pair<std::string, TextCall>> kCallNames = {
    {"ExtTextOutA", TextCall::ExtTextOutA}, {"ExtTextOutW", TextCall::ExtTextOutW}, {"TextOutA", TextCall::TextOutA},
    {"PolyTextOutA", TextCall::PolyTextOutA}, {"GetTextExtentPoint32A", TextCall::GetTextExtentPoint32A}};
inline const std::vector<std::pair<std::string, FontQuality>> kQualityNames = {
    {"default", FontQuality::Default}, {"nonantialiased", FontQuality::NonAntialiased},
    {"antialiased", FontQuality::Antialiased}, {"cleartype", FontQuality::ClearType}};

// What the text is drawn on: a bitmap compatible with the screen (the interactive program's
// canvas), a 32-bit or a 24-bit top-down DIB section, or the canvas window's own DC on screen.
enum class SurfaceKind { Ddb, Dib32, Dib24, Window };
inline const std::vector<std::pair<std::string, SurfaceKind>> kSurfaceNames = {
    {"ddb", SurfaceKind::Ddb}, {"dib32", SurfaceKind::Dib32}, {"dib24", SurfaceKind::Dib24},
    {"window", SurfaceKind::Window}};

// A surface's size in pixels; the default is the interactive program's canvas at 96 dpi.
struct CanvasSize {
    int Width = 421, Height = 113;
    bool operator==(const CanvasSize& o) const { return Width == o.Width && Height == o.Height; }
};
// The largest surface asked for: 256 MiB at 32 bits a pixel, within GDI's 16-bit coordinates on a
// side, so several fit a 32-bit process's address space. The system may still refuse less.
constexpr int kMaxCanvasSide = 32767;
constexpr long long kMaxCanvasPixels = 1LL << 26;

std::string CallName(TextCall call);
std::string QualityName(FontQuality quality);
std::string SurfaceName(SurfaceKind surface);
std::string CanvasName(const CanvasSize& canvas);  // "1920x1080"

enum class OutputFormat { Table, Csv, Json };

// A style option: off, on, or both (measured once each way).
enum class Toggle { Off, On, Both };

enum class CliAction { Measure, ListFonts, Help, Version, Compare, SelfCheck };

struct CliOptions {
    CliAction Action = CliAction::Measure;
    std::string Text = kDefaultText;
    std::vector<std::string> Faces;  // empty: the face the interactive program opens on
    std::vector<double> Sizes;       // empty: kDefaultSize
    Toggle Bold = Toggle::Off, Italic = Toggle::Off, Opaque = Toggle::Off;
    std::optional<std::int32_t> Count;  // none: found per configuration
    double TargetSeconds = 0.5;
    int Repetitions = 10;
    bool RepetitionsGiven = false;
    int Warmup = 1;
    bool Flush = false;
    OutputFormat Format = OutputFormat::Table;
    // The runs of each side, as many a side; with several, run i of each makes pair i.
    std::vector<std::string> CompareOld, CompareNew;
    bool CompareAnyway = false;  // verdicts even between runs that measured different things
    std::string Baseline, PlotFile;  // empty: no verdicts within the run, no chart
    double Margin = 0.02;  // smaller changes are no clear difference
    bool HighPriority = true;
    std::optional<int> Cpu;  // the processor passes are pinned to; none: any
    // Further sweep dimensions; empty: ExtTextOutA, the default quality, the text as given.
    std::vector<TextCall> Calls;
    std::vector<FontQuality> Qualities;
    std::vector<std::size_t> Lengths;  // bytes in the ANSI code page
    std::vector<SurfaceKind> Surfaces;   // empty: the canvas's bitmap
    std::vector<CanvasSize> Canvases;    // empty: the canvas's own size
    bool FirstDraw = false;  // also time the first call of fonts realised just before it
    // Rounds go on until every verdict is decided or this many seconds are spent; 0: Repetitions rounds.
    double MaxSeconds = 0;
    bool Quiet = false;  // no progress line
};

// Either the options or a one-line message naming the option and what it accepts.
struct ParsedArguments {
    std::optional<CliOptions> Options;
    std::string Error;
    std::string Usage;  // the --help text
};

// args excludes the program name.
ParsedArguments ParseArguments(const std::vector<std::string>& args);

std::string CliVersion();
// The commit built ("abc1234", "abc1234-dirty"); empty when built from sources without git.
std::string CliCommit();

// A --length value: a whole number of bytes from 1 to 65535, in digits.
std::optional<std::size_t> ReadLength(const std::string& text);
// A --canvas value, "WIDTHxHEIGHT" in digits, within kMaxCanvasSide and kMaxCanvasPixels.
std::optional<CanvasSize> ReadCanvas(const std::string& text);
