// The options: CLI11 reads them, each value checked as the interactive program checks its boxes; the calls named.
#include "cli/options/CliOptions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <CLI/CLI.hpp>

#include "benchmark/RunInputs.h"

namespace {

template <typename T>
std::string NameOf(const std::vector<std::pair<std::string, T>>& names, T value) {
    for (const auto& [name, named] : names)
        if (named == value) return name;
    return names.front().first;
}

// A value the test accepts, which may also rewrite it.
CLI::Validator Test(std::function<bool(std::string&)> test) {
    return CLI::Validator([test](std::string& v) { return test(v) ? std::string() : std::string("refused"); }, "");
}

// A number as the interactive program's boxes read it (no hex, no "inf", no group
// separators), handed on in digits CLI11 reads back exactly. Counts of things are whole:
// a fraction is refused rather than cut. A byte outside ASCII widens to no digit, so is refused.
CLI::Validator Number(bool whole) {
    return Test([whole](std::string& value) {
        const std::optional<double> number = ParseDecimal(std::wstring(value.begin(), value.end()));
        if (!number || (whole && *number != std::floor(*number))) return false;
        char digits[400];
        std::snprintf(digits, sizeof digits, whole ? "%.0f" : "%.17g", *number);
        value = digits;
        return true;
    });
}

// One of a few words, in any case.
template <typename T>
CLI::CheckedTransformer Words(std::vector<std::pair<std::string, T>> words) {
    return CLI::CheckedTransformer(std::move(words), CLI::ignore_case);
}

// Items of a comma list are read without the blanks around them.
const CLI::Validator kTrimmed([](std::string& v) { return v = CLI::detail::trim_copy(v, " \t"), std::string(); }, "");

// The option's every value goes through CLI11's own validators; one they refuse is named
// with the help's word on what the option accepts, and CLI11 puts the option's name in front.
// The help leads with what, where that is given.
template <typename T>
CLI::Option* Add(CLI::App& app, const std::string& names, T& target, const std::string& accepts,
                 const CLI::Validator& validator, const std::string& what = "") {
    const auto explained = [validator, accepts](std::string& value) {
        const std::string given = value;
        return validator(value).empty() ? std::string() : "\"" + given + "\" is not accepted; give " + accepts;
    };
    return app.add_option(names, target, what.empty() ? accepts : what + ": " + accepts)
        ->transform(CLI::Validator(explained, ""))
        ->type_name("VALUE")
        ->delimiter(CLI::detail::is_mutable_container<T>::value ? ',' : '\0');  // lists are comma-separated
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
    CLI::App app(
        "Times ExtTextOutA on the interactive ExtTextOutBench's canvas, with its\n"
        "stopwatch, once per configuration of the faces x sizes x styles given; the\n"
        "timed passes of all configurations take turns, one a round, and --baseline\n"
        "sets each against the baseline's of the same round. A value given twice is\n"
        "measured twice (#1, #2): an A/A check.\n"
        "Exit status: 0 done, 1 the measurement could not run or its chart could not be\n"
        "written, 2 bad arguments or files (nothing measured), 130 stopped by Ctrl+C.",
        kCliProgramName);
    app.set_help_flag();
    app.allow_windows_style_options(false);  // "/tmp/a.json" is a file, not an option
    CliOptions o;
    std::vector<std::string> compare;
    std::string count = "auto", cpu = "any";
    double marginPercent = o.Margin * 100;
    app.add_option("-t,--text", o.Text, "text to draw (converted to the ANSI code page)");
    Add(app, "-f,--face", o.Faces,
        "faces, comma-separated or repeated (default: the interactive program's; see --list-fonts)",
        kTrimmed & Test([](const std::string& face) {
            // LOGFONT holds 31 UTF-16 units; a longer name could only match a truncation.
            std::size_t units = 0;
            for (unsigned char c : face) units += (c & 0xC0) != 0x80 ? (c >= 0xF0 ? 2 : 1) : 0;
            return !face.empty() && units <= 31;
        }));
    Add(app, "-s,--size", o.Sizes, "point sizes from 1 to 1000, comma-separated, \".\" before a fraction (default 12)",
        Number(false) & CLI::Range(kMinFontSize, kMaxFontSize));
    // Style options, on when given alone.
    for (const auto& [name, target] :
         {std::pair{"--bold", &o.Bold}, std::pair{"--italic", &o.Italic}, std::pair{"--opaque", &o.Opaque}})
        Add(app, name, *target, "on, off or both (measured each way)",
            Words<Toggle>({{"on", Toggle::On}, {"yes", Toggle::On}, {"off", Toggle::Off}, {"no", Toggle::Off},
                           {"both", Toggle::Both}}))
            ->expected(0, 1)
            ->default_str("on")
            ->option_text("[=on|off|both]");
    Add(app, "-n,--count", count, "calls per pass, a whole number from 1 to 2147483647 (e.g. 20000 or 2e4), or auto "
        "(default: grown to last --target)",
        CLI::IsMember({"auto"}, CLI::ignore_case) | (Number(true) & CLI::Range(1.0, 2147483647.0)));
    Add(app, "--target", o.TargetSeconds, "the seconds a pass should last with --count auto, from 0.001 to 60 "
        "(default 0.5)", Number(false) & CLI::Range(0.001, 60.0));
    Add(app, "-r,--repetitions", o.Repetitions, "timed passes (rounds) per configuration, a whole number from 1 to "
        "10000 (default 10; a verdict needs 6; with --max-time, the most)", Number(true) & CLI::Range(1.0, 10000.0));
    Add(app, "--max-time", o.MaxSeconds, "seconds from 1 to 86400: rounds go on until every verdict against "
        "--baseline is decided, or every median known to 1%, or the time is spent",
        Number(false) & CLI::Range(1.0, 86400.0));
    Add(app, "-w,--warmup", o.Warmup, "untimed passes first, a whole number from 0 to 10000 (default 1; more follow "
        "until the time settles)", Number(true) & CLI::Range(0.0, 10000.0));
    app.add_flag("--flush", o.Flush, "call GdiFlush inside the timed interval");
    Add(app, "--priority", o.HighPriority, "the thread's priority during passes: high (default) or normal",
        Words<bool>({{"high", true}, {"normal", false}}));
    Add(app, "--cpu", cpu, "a processor from 0 to 63 to pin the passes to, or any (default)",
        CLI::IsMember({"any"}, CLI::ignore_case) | (Number(true) & CLI::Range(0.0, 63.0)));
    app.add_option("--baseline", o.Baseline,
                   "judge all against one configuration: its number, or e.g. \"IPAGothic,12,bold\"");
    Add(app, "--margin", marginPercent, "the percentage from 0 to 50 below which a change is \"within margin\" "
        "(default 2)", Number(false) & CLI::Range(0.0, 50.0));
    Add(app, "--format", o.Format, "table (default), csv or json",
        Words<OutputFormat>(
            {{"table", OutputFormat::Table}, {"csv", OutputFormat::Csv}, {"json", OutputFormat::Json}}));
    Add(app, "--plot", o.PlotFile, "a file name ending in .svg: an SVG chart of the medians, or of the ratios "
        "after --compare", Test([](const std::string& name) {
            return name.size() > 4 && CLI::detail::to_lower(name.substr(name.size() - 4)) == ".svg";
        }));
    app.add_option("--compare", compare, "OLD NEW: two earlier JSON or CSV outputs, with verdicts")->expected(2);
    Add(app, "--call", o.Calls, "ExtTextOutA (default), ExtTextOutW, TextOutA, PolyTextOutA or GetTextExtentPoint32A",
        kTrimmed & Words(kCallNames), "the calls to time, comma-separated");
    Add(app, "--quality", o.Qualities, "default, nonantialiased, antialiased or cleartype",
        kTrimmed & Words(kQualityNames), "the font's quality, comma-separated");
    Add(app, "--length", o.Lengths, "whole numbers of bytes from 1 to 65535",
        kTrimmed & Test([](const std::string& v) { return ReadLength(v).has_value(); }),
        "the text repeated or cut to each length in bytes of the ANSI code page, comma-separated, e.g. "
        "1,16,64,256; three or more fit the fixed and per-character costs");
    app.add_flag("--compare-anyway", o.CompareAnyway, "with --compare: draw verdicts even where the runs differ in "
                 "text, architecture, code page or count mode");
    app.add_flag("-q,--quiet", o.Quiet, "no progress line on the console");
    app.add_flag("--self-check", "time the program's run path against a bare loop of the calls");
    app.add_flag("--list-fonts", "the installed screen fonts, one a line");
    app.add_flag("-h,--help", "this text");
    app.add_flag("-V,--version", "the program's version");

    const std::string usage = app.help();
    try {
        app.parse(std::vector<std::string>(args.rbegin(), args.rend()));  // CLI11 takes them last first
    } catch (const CLI::ParseError& e) {
        return {std::nullopt, e.what(), usage};
    }
    if (count != "auto") o.Count = static_cast<std::int32_t>(std::stoll(count));
    if (cpu != "any") o.Cpu = std::stoi(cpu);
    o.Margin = marginPercent / 100;
    o.RepetitionsGiven = app.count("--repetitions") > 0;
    if (compare.size() == 2) o.CompareOld = compare[0], o.CompareNew = compare[1];
    // Help wins over version, version over the font list, whatever the order.
    o.Action = app.count("--help")         ? CliAction::Help
               : app.count("--version")    ? CliAction::Version
               : app.count("--list-fonts") ? CliAction::ListFonts
               : app.count("--self-check") ? CliAction::SelfCheck
               : compare.size() == 2       ? CliAction::Compare
                                           : CliAction::Measure;
    return {o, "", usage};
}

std::optional<std::size_t> ReadLength(const std::string& text) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return {};
    const std::size_t value = std::stoul(text);
    return value >= 1 && value <= 65535 ? std::optional<std::size_t>(value) : std::nullopt;
}

std::string CliVersion() { return ETB_VERSION; }

std::string CallName(TextCall call) { return NameOf(kCallNames, call); }
std::string QualityName(FontQuality quality) { return NameOf(kQualityNames, quality); }
