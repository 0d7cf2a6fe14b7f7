#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline const wchar_t kCliProgramName[] = L"ExtTextOutBenchCli";
inline const wchar_t kDefaultText[] = L"The quick brown fox jumps over the lazy dog.";
constexpr double kDefaultSize = 12;  // what the interactive program opens with

enum class OutputFormat { Table, Csv, Json };

// A style option: off, on, or both (measured once each way).
enum class Toggle { Off, On, Both };

enum class CliAction { Measure, ListFonts, Help, Version, Compare };

struct CliOptions {
    CliAction Action = CliAction::Measure;
    std::wstring Text = kDefaultText;
    std::vector<std::wstring> Faces;  // empty: the face the interactive program opens on
    std::vector<double> Sizes;        // empty: kDefaultSize
    Toggle Bold = Toggle::Off;
    Toggle Italic = Toggle::Off;
    Toggle Opaque = Toggle::Off;
    std::optional<std::int32_t> Count;  // none: found per configuration
    double TargetSeconds = 0.5;
    int Repetitions = 5;
    int Warmup = 1;
    bool Flush = false;
    OutputFormat Format = OutputFormat::Table;
    std::wstring CompareOld;
    std::wstring CompareNew;
};

// Either the options or a one-line message naming the option and what it accepts.
struct ParsedArguments {
    std::optional<CliOptions> Options;
    std::wstring Error;
};

// args excludes the program name.
ParsedArguments ParseArguments(const std::vector<std::wstring>& args);

std::wstring UsageText();
std::wstring CliVersion();

// One cell of the face x size x style sweep.
struct Configuration {
    std::wstring Face;
    double Size = kDefaultSize;
    bool Bold = false;
    bool Italic = false;
    bool Opaque = false;
};

// Every combination, faces outermost, in the order given.
std::vector<Configuration> Configurations(const std::vector<std::wstring>& faces, const std::vector<double>& sizes,
                                          Toggle bold, Toggle italic, Toggle opaque);
