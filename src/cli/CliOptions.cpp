#include "cli/CliOptions.h"

#include <CLI/CLI.hpp>

#include "benchmark/RunInputs.h"

namespace {

// The number parsers read what the interactive program's boxes hold; a byte
// outside ASCII makes them refuse, as it should.
std::wstring AsciiWide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::vector<std::string> SplitList(const std::string& value) {
    std::vector<std::string> items;
    for (std::size_t begin = 0;;) {
        const std::size_t comma = value.find(',', begin);
        const std::string item = value.substr(begin, comma == std::string::npos ? std::string::npos : comma - begin);
        const std::size_t first = item.find_first_not_of(" \t");
        items.push_back(first == std::string::npos ? "" : item.substr(first, item.find_last_not_of(" \t") - first + 1));
        if (comma == std::string::npos) return items;
        begin = comma + 1;
    }
}

std::optional<int> Whole(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int value = std::stoi(text);
    return value >= low && value <= high ? std::optional<int>(value) : std::nullopt;
}

std::optional<Toggle> ReadToggle(const std::string& text) {
    if (text == "on" || text == "yes" || text == "off" || text == "no" || text == "both")
        return text == "both" ? Toggle::Both : text == "on" || text == "yes" ? Toggle::On : Toggle::Off;
    return std::nullopt;
}

// A check that names the value (each item of a comma list, for lists) and
// what the option accepts; CLI11 puts the option's name in front.
CLI::Validator Accepts(std::function<bool(const std::string&)> reads, const std::string& accepts, bool list = false) {
    return CLI::Validator(
        [=](std::string& value) {
            for (const std::string& item : list ? SplitList(value) : std::vector<std::string>{value})
                if (!reads(item)) return "\"" + item + "\" is not accepted; give " + accepts;
            return std::string();
        },
        "");
}

bool IsFace(const std::string& face) {
    // LOGFONT holds 31 UTF-16 units; a longer name could only match a truncation.
    std::size_t units = 0;
    for (unsigned char c : face) units += (c & 0xC0) != 0x80 ? (c >= 0xF0 ? 2 : 1) : 0;
    return !face.empty() && units <= 31;
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
    CLI::App app("Times ExtTextOutA on the interactive ExtTextOutBench's canvas, with its stopwatch, once per "
                 "configuration of the faces x sizes x styles given; the timed passes of all configurations take "
                 "turns. Exit status: 0 done, 1 the measurement could not run, 2 bad arguments.",
                 kCliProgramName);
    app.set_help_flag();
    app.allow_extras();
    app.allow_windows_style_options(false);  // "/tmp/a.json" is a file, not an option
    CliOptions o;
    bool help = false, version = false, fonts = false, selfCheck = false;
    std::string bold, italic, opaque, count, target, repetitions, warmup, format, margin, priority, cpu;
    std::vector<std::string> faces, sizes, compare;
    auto style = Accepts([](const std::string& v) { return ReadToggle(v).has_value(); }, "on, off or both");
    auto passes = [](int low) {
        return Accepts([low](const std::string& v) { return Whole(v, low, 10000).has_value(); },
                       "a whole number of passes from " + std::to_string(low) + " to 10000");
    };
    auto decimal = [](double low, double high, const std::string& accepts) {
        return Accepts(
            [=](const std::string& v) {
                auto d = ParseDecimal(AsciiWide(v));
                return d && *d >= low && *d <= high;
            },
            accepts);
    };
    app.add_option("-t,--text", o.Text, "text to draw (converted to the ANSI code page)");
    app.add_option("-f,--face", faces, "faces, comma-separated or repeated (default: the interactive program's)")
        ->allow_extra_args(false)
        ->check(Accepts(IsFace, "font face names, comma-separated or the option repeated (see --list-fonts)", true));
    app.add_option("-s,--size", sizes, "point sizes, comma-separated (default 12)")
        ->allow_extra_args(false)
        ->check(Accepts([](const std::string& v) { return ParseSize(AsciiWide(v)).has_value(); },
                        "point sizes from 1 to 1000, comma-separated (e.g. 9,10.5,12)", true));
    app.add_flag("--bold{on}", bold, "bold: on, off, or both to measure each way")->check(style);
    app.add_flag("--italic{on}", italic, "italic: on, off or both")->check(style);
    app.add_flag("--opaque{on}", opaque, "opaque background: on, off or both")->check(style);
    app.add_option("-n,--count", count, "calls per pass, or auto (default): grow until a pass lasts the target")
        ->check(Accepts([](const std::string& v) { return v == "auto" || ParseCount(AsciiWide(v)).value_or(0) >= 1; },
                        "a number of calls from 1 to 2147483647, or auto"));
    app.add_option("--target", target, "seconds a pass lasts with --count auto (default 0.5)")
        ->check(decimal(0.001, 60, "the seconds one pass should last when --count is auto, from 0.001 to 60"));
    app.add_option("-r,--repetitions", repetitions, "timed passes per configuration (default 5)")->check(passes(1));
    app.add_option("-w,--warmup", warmup, "untimed passes first, more until the time settles (default 1)")
        ->check(passes(0));
    app.add_flag("--flush", o.Flush, "call GdiFlush inside the timed interval");
    app.add_option("--priority", priority, "thread priority during passes: high (default) or normal")
        ->check(Accepts([](const std::string& v) { return v == "high" || v == "normal"; }, "high or normal"));
    app.add_option("--cpu", cpu, "pin the passes to this processor (default any)")
        ->check(Accepts([](const std::string& v) { return v == "any" || Whole(v, 0, 63); },
                        "a processor from 0 to 63, or any"));
    app.add_option("--baseline", o.Baseline,
                   "judge all against one configuration: its number, or e.g. \"IPAGothic,12,bold\"");
    app.add_option("--margin", margin, "changes below this many percent are no clear difference (default 2)")
        ->check(decimal(0, 50, "a percentage from 0 to 50"));
    app.add_option("--format", format, "table (default), csv or json")
        ->check(Accepts([](const std::string& v) { return v == "table" || v == "csv" || v == "json"; },
                        "table, csv or json"));
    app.add_option("--plot", o.PlotFile, "write an SVG chart of the medians, or of the ratios after --compare");
    app.add_option("--compare", compare, "OLD NEW: two earlier JSON or CSV outputs, with verdicts")->expected(2);
    app.add_flag("--self-check", selfCheck, "time the program's run path against a bare loop of the calls");
    app.add_flag("--list-fonts", fonts, "the installed screen fonts, one a line");
    app.add_flag("-h,--help", help, "this text");
    app.add_flag("-V,--version", version, "the program's version");

    ParsedArguments result;
    result.Usage = app.help();
    try {
        app.parse(std::vector<std::string>(args.rbegin(), args.rend()));  // CLI11 takes them last first
    } catch (const CLI::ParseError& e) {
        result.Error = e.what();
        return result;
    }
    if (!app.remaining().empty()) {
        const std::string arg = app.remaining().front();
        result.Error =
            "\"" + arg +
            (!arg.empty() && arg[0] == '-' ? "\": is not an option; see --help"
                                           : "\": is not expected here: every value follows its option; see --help");
        return result;
    }
    for (const std::string& list : faces)
        for (const std::string& face : SplitList(list)) o.Faces.push_back(face);
    for (const std::string& list : sizes)
        for (const std::string& size : SplitList(list)) o.Sizes.push_back(*ParseSize(AsciiWide(size)));
    o.Bold = ReadToggle(bold).value_or(Toggle::Off);
    o.Italic = ReadToggle(italic).value_or(Toggle::Off);
    o.Opaque = ReadToggle(opaque).value_or(Toggle::Off);
    // Read as the interactive count box reads it, but a pass must draw.
    if (!count.empty() && count != "auto") o.Count = ParseCount(AsciiWide(count));
    o.TargetSeconds = target.empty() ? o.TargetSeconds : *ParseDecimal(AsciiWide(target));
    o.RepetitionsGiven = !repetitions.empty();
    o.Repetitions = Whole(repetitions, 1, 10000).value_or(o.Repetitions);
    o.Warmup = Whole(warmup, 0, 10000).value_or(o.Warmup);
    o.Margin = margin.empty() ? o.Margin : *ParseDecimal(AsciiWide(margin)) / 100;
    o.HighPriority = priority != "normal";
    o.Cpu = Whole(cpu, 0, 63);
    o.Format = format == "csv" ? OutputFormat::Csv : format == "json" ? OutputFormat::Json : OutputFormat::Table;
    if (compare.size() == 2) o.CompareOld = compare[0], o.CompareNew = compare[1];
    // Help wins over version, version over the font list, whatever the order.
    o.Action = help ? CliAction::Help
               : version ? CliAction::Version
               : fonts ? CliAction::ListFonts
               : selfCheck ? CliAction::SelfCheck
               : compare.size() == 2 ? CliAction::Compare : CliAction::Measure;
    result.Options = o;
    return result;
}

std::vector<Configuration> Configurations(const std::vector<std::string>& faces, const std::vector<double>& sizes,
                                          Toggle bold, Toggle italic, Toggle opaque) {
    auto values = [](Toggle t) {
        return t == Toggle::Both ? std::vector<bool>{false, true} : std::vector<bool>{t == Toggle::On};
    };
    std::vector<Configuration> all;
    for (const std::string& face : faces)
        for (double size : sizes)
            for (bool b : values(bold))
                for (bool i : values(italic))
                    for (bool o : values(opaque)) all.push_back({face, size, b, i, o});
    return all;
}

std::optional<std::size_t> FindBaseline(const std::string& given, const std::vector<Configuration>& all,
                                        std::string& error) {
    if (std::optional<int> number = Whole(given, 1, static_cast<int>(all.size()))) return *number - 1;
    std::vector<std::size_t> matches;
    for (std::size_t c = 0; c < all.size(); ++c) {
        const Configuration& k = all[c];
        bool fits = true;
        for (const std::string& part : SplitList(given)) {
            const std::optional<double> size = ParseDecimal(AsciiWide(part));
            fits =
                fits && (part == k.Face || (size && *size == k.Size) || (part == "regular" && !k.Bold && !k.Italic) ||
                         (part == "bold" && k.Bold) || (part == "italic" && k.Italic) ||
                         (part == "opaque" && k.Opaque) || (part == "transparent" && !k.Opaque));
        }
        if (fits) matches.push_back(c);
    }
    if (matches.size() == 1) return matches.front();
    error = "--baseline: \"" + given + (matches.empty() ? "\" matches no configuration" : "\" matches more than one") +
            "; give a row number or face, size, style and background, comma-separated";
    return std::nullopt;
}

std::string CliVersion() {
#ifdef ETB_VERSION
    return ETB_VERSION;
#else
    return "0.0.0";
#endif
}
