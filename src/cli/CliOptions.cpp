#include "cli/CliOptions.h"

#include <cmath>
#include <sstream>

#include <CLI/CLI.hpp>

#include "benchmark/RunInputs.h"
#include "cli/Dimensions.h"

namespace {

// The number parsers read what the interactive program's boxes hold; a byte
// outside ASCII makes them refuse, as it should.
std::wstring AsciiWide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::optional<double> Decimal(const std::string& text, double low, double high) {
    const std::optional<double> value = ParseDecimal(AsciiWide(text));
    return value && *value >= low && *value <= high ? value : std::nullopt;
}

// Items of a comma list, trimmed; an empty one is kept, for the reader to refuse.
std::vector<std::string> SplitList(const std::string& value) {
    std::vector<std::string> items;
    std::istringstream in(value + ",");  // the comma added ends the last item, so "12," reads "12" and ""
    for (std::string item; std::getline(in, item, ',');) items.push_back(CLI::detail::trim_copy(item, " \t"));
    return items;
}

std::optional<int> Whole(const std::string& text, int low, int high) {
    const std::optional<double> value = Decimal(text, low, high);
    return value && *value == std::floor(*value) ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
}

std::optional<Toggle> ReadToggle(const std::string& text) {
    if (text == "on" || text == "yes" || text == "off" || text == "no" || text == "both")
        return text == "both" ? Toggle::Both : text == "on" || text == "yes" ? Toggle::On : Toggle::Off;
    return std::nullopt;
}

template <typename T, typename V>
bool Store(T& target, const std::optional<V>& value) {
    if (value) target = *value;
    return value.has_value();
}

// An option whose every value (each item of a comma list, for lists) is read
// straight into its place; one that does not read is refused with the help's
// word on what the option accepts, and CLI11 puts the option's name in front.
void Add(CLI::App& app, const std::string& names, const std::string& accepts,
         std::function<bool(const std::string&)> read, bool list = false) {
    CLI::Option* option = names.back() == '}' ? app.add_flag(names, accepts) : app.add_option(names, accepts);
    auto check = [=](std::string& value) {
        for (const std::string& item : list ? SplitList(value) : std::vector<std::string>{value})
            if (!read(item)) return "\"" + item + "\" is not accepted; give " + accepts;
        return std::string();
    };
    if (list) option->take_all();
    option->type_name(option->get_expected_min() ? "VALUE" : "")->check(CLI::Validator(check, ""));
}

std::optional<std::string> Face(const std::string& face) {
    // LOGFONT holds 31 UTF-16 units; a longer name could only match a truncation.
    std::size_t units = 0;
    for (unsigned char c : face) units += (c & 0xC0) != 0x80 ? (c >= 0xF0 ? 2 : 1) : 0;
    return !face.empty() && units <= 31 ? std::optional<std::string>(face) : std::nullopt;
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
    CLI::App app(
        "Times ExtTextOutA on the interactive ExtTextOutBench's canvas, with its stopwatch, once per "
        "configuration of the faces x sizes x styles given; the timed passes of all configurations take "
        "turns. Exit status: 0 done, 1 the measurement could not run, 2 bad arguments.",
        kCliProgramName);
    app.set_help_flag();
    app.allow_windows_style_options(false);  // "/tmp/a.json" is a file, not an option
    CliOptions o;
    bool help = false, version = false, fonts = false, selfCheck = false;
    std::vector<std::string> compare;
    const auto toggle = [](Toggle& t) { return [&t](const std::string& v) { return Store(t, ReadToggle(v)); }; };
    const std::string onOff = "on, off or both (measured each way)";
    app.add_option("-t,--text", o.Text, "text to draw (converted to the ANSI code page)");
    Add(
        app, "-f,--face", "faces, comma-separated or repeated (default: the interactive program's; see --list-fonts)",
        [&](const std::string& v) { return Store(o.Faces.emplace_back(), Face(v)); }, true);
    Add(
        app, "-s,--size", "point sizes from 1 to 1000, comma-separated (e.g. 9,10.5,12; default 12)",
        [&](const std::string& v) { return Store(o.Sizes.emplace_back(), Decimal(v, kMinFontSize, kMaxFontSize)); },
        true);
    Add(app, "--bold{on}", onOff, toggle(o.Bold));
    Add(app, "--italic{on}", onOff, toggle(o.Italic));
    Add(app, "--opaque{on}", onOff, toggle(o.Opaque));
    // Read as the interactive count box reads it, but a pass must draw.
    Add(app, "-n,--count", "calls per pass from 1 to 2147483647, or auto (default; grown to last --target)",
        [&](const std::string& v) {
            o.Count = ParseCount(AsciiWide(v));
            if (o.Count < 1) o.Count.reset();
            return v == "auto" || o.Count;
        });
    Add(app, "--target", "the seconds a pass should last with --count auto, from 0.001 to 60 (default 0.5)",
        [&](const std::string& v) { return Store(o.TargetSeconds, Decimal(v, 0.001, 60)); });
    Add(app, "-r,--repetitions", "timed passes per configuration, a whole number from 1 to 10000 (default 5)",
        [&](const std::string& v) { return o.RepetitionsGiven = Store(o.Repetitions, Whole(v, 1, 10000)); });
    Add(app, "-w,--warmup", "untimed passes first, 0 to 10000 (default 1; more follow until the time settles)",
        [&](const std::string& v) { return Store(o.Warmup, Whole(v, 0, 10000)); });
    app.add_flag("--flush", o.Flush, "call GdiFlush inside the timed interval");
    Add(app, "--priority", "the thread's priority during passes: high (default) or normal",
        [&](const std::string& v) { return (o.HighPriority = v == "high") || v == "normal"; });
    Add(app, "--cpu", "a processor from 0 to 63 to pin the passes to, or any (default)",
        [&](const std::string& v) { return (o.Cpu = Whole(v, 0, 63)) || v == "any"; });
    app.add_option("--baseline", o.Baseline,
                   "judge all against one configuration: its number, or e.g. \"IPAGothic,12,bold\"");
    Add(app, "--margin", "the percentage from 0 to 50 below which a change is no clear difference (default 2)",
        [&](const std::string& v) {
            const std::optional<double> percent = Decimal(v, 0, 50);
            return Store(o.Margin, percent ? std::optional<double>(*percent / 100) : std::nullopt);
        });
    Add(app, "--format", "table (default), csv or json", [&](const std::string& v) {
        o.Format = v == "csv" ? OutputFormat::Csv : v == "json" ? OutputFormat::Json : OutputFormat::Table;
        return v == "table" || v == "csv" || v == "json";
    });
    app.add_option("--plot", o.PlotFile, "write an SVG chart of the medians, or of the ratios after --compare");
    app.add_option("--compare", compare, "OLD NEW: two earlier JSON or CSV outputs, with verdicts")->expected(2);
    DimensionWords dimensions;  // read once CLI11 is done
    AddDimensionOptions(app, dimensions);
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
    if (!ReadDimensions(dimensions, o, result.Error)) return result;
    if (compare.size() == 2) o.CompareOld = compare[0], o.CompareNew = compare[1];
    // Help wins over version, version over the font list, whatever the order.
    o.Action = help                  ? CliAction::Help
               : version             ? CliAction::Version
               : fonts               ? CliAction::ListFonts
               : selfCheck           ? CliAction::SelfCheck
               : compare.size() == 2 ? CliAction::Compare
                                     : CliAction::Measure;
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
            fits = fits && (part == k.Face || size == k.Size || (part == "regular" && !k.Bold && !k.Italic) ||
                            (part == "bold" && k.Bold) || (part == "italic" && k.Italic) ||
                            (part == "opaque" && k.Opaque) || (part == "transparent" && !k.Opaque) ||
                            NamesDimension(part, k));
        }
        if (fits) matches.push_back(c);
    }
    if (matches.size() == 1) return matches.front();
    error = "--baseline: \"" + given + (matches.empty() ? "\" matches no configuration" : "\" matches more than one") +
            "; give a row number or face, size, style, background, call, quality and length (\"64 bytes\"), "
            "comma-separated";
    return std::nullopt;
}

std::string CliVersion() { return ETB_VERSION; }
