#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "benchmark/RunRequest.h"
#include "cli/TextCall.h"

// Text is UTF-8 everywhere in the console program; only the Windows side
// converts, at the API it calls.
inline const char kCliProgramName[] = "ExtTextOutBenchCli";

enum class OutputFormat { Table, Csv, Json };

// A style option: off, on, or both (measured once each way).
enum class Toggle { Off, On, Both };

enum class CliAction { Measure, ListFonts, Help, Version, Compare, SelfCheck };

struct CliOptions {
    CliAction Action = CliAction::Measure;
    std::string Text = kDefaultText;
    std::vector<std::string> Faces;  // empty: the face the interactive program opens on
    std::vector<double> Sizes;       // empty: kDefaultSize
    Toggle Bold = Toggle::Off;
    Toggle Italic = Toggle::Off;
    Toggle Opaque = Toggle::Off;
    std::optional<std::int32_t> Count;  // none: found per configuration
    double TargetSeconds = 0.5;
    int Repetitions = 5;
    bool RepetitionsGiven = false;
    int Warmup = 1;
    bool Flush = false;
    OutputFormat Format = OutputFormat::Table;
    std::string CompareOld;
    std::string CompareNew;
    bool CompareAnyway = false;  // verdicts even between runs that measured different things
    std::string Baseline;  // empty: no verdicts within the run
    std::string PlotFile;  // empty: no chart
    double Margin = 0.02;  // smaller changes are no clear difference
    bool HighPriority = true;
    std::optional<int> Cpu;  // the processor passes are pinned to; none: any
    // Further sweep dimensions; empty: ExtTextOutA, the default quality, the text as given.
    std::vector<TextCall> Calls;
    std::vector<FontQuality> Qualities;
    std::vector<std::size_t> Lengths;  // bytes in the ANSI code page
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

// One cell of the face x size x style sweep.
struct Configuration {
    std::string Face;
    double Size = kDefaultSize;
    bool Bold = false;
    bool Italic = false;
    bool Opaque = false;
    TextCall Call = TextCall::ExtTextOutA;
    FontQuality Quality = FontQuality::Default;
    std::size_t LengthBytes = 0;  // the text repeated or cut to this many bytes; 0: as given
    bool operator==(const Configuration& o) const {
        return Face == o.Face && Size == o.Size && Bold == o.Bold && Italic == o.Italic && Opaque == o.Opaque &&
               Call == o.Call && Quality == o.Quality && LengthBytes == o.LengthBytes;
    }
};

// Every combination, faces outermost, in the order given.
std::vector<Configuration> Configurations(const std::vector<std::string>& faces, const std::vector<double>& sizes,
                                          Toggle bold, Toggle italic, Toggle opaque);

// The configuration --baseline names: its 1-based number, or comma-separated
// parts (face, size, regular/bold/italic, opaque/transparent) that only it
// matches. None, with a message, when no single one fits.
std::optional<std::size_t> FindBaseline(const std::string& given, const std::vector<Configuration>& all,
                                        std::string& error);
