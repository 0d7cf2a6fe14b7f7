#include "cli/CliOptions.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cmath>

#include "benchmark/RunInputs.h"

namespace {

constexpr int kMaxRepetitions = 10000;

// The number parsers read what the interactive program's boxes hold; any
// byte outside ASCII makes them refuse, as it should.
std::wstring AsciiWide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string Quote(const std::string& value) { return "\"" + value + "\""; }

std::vector<std::string> SplitList(const std::string& value) {
    std::vector<std::string> items;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t comma = value.find(',', begin);
        std::string item = value.substr(begin, comma == std::string::npos ? std::string::npos : comma - begin);
        const std::size_t first = item.find_first_not_of(" \t");
        items.push_back(first == std::string::npos ? "" : item.substr(first, item.find_last_not_of(" \t") - first + 1));
        if (comma == std::string::npos) return items;
        begin = comma + 1;
    }
}

// What LOGFONT's face field counts: UTF-16 units.
std::size_t Utf16Length(const std::string& utf8) {
    std::size_t units = 0;
    for (unsigned char c : utf8) units += (c & 0xC0) != 0x80 ? (c >= 0xF0 ? 2 : 1) : 0;
    return units;
}

std::optional<int> Whole(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int value = std::stoi(text);
    if (value < low || value > high) return std::nullopt;
    return value;
}

std::vector<bool> Values(Toggle toggle) {
    if (toggle == Toggle::Both) return {false, true};
    return {toggle == Toggle::On};
}

// Raw option values as CLI11 collects them; checked afterwards, in one place,
// so every refusal reads the same way.
struct RawOptions {
    std::string text, count, target, repetitions, warmup, format, bold, italic, opaque, margin, priority, cpu;
    std::vector<std::string> faces, sizes, compare;
    bool help = false, version = false, listFonts = false, selfCheck = false;
};

class Checker {
public:
    explicit Checker(CliOptions& options) : o_(options) {}
    std::string error;

    bool Fail(const std::string& name, const std::string& value, const std::string& accepts) {
        if (error.empty()) error = name + ": " + Quote(value) + " is not accepted; give " + accepts;
        return false;
    }

    void Style(const std::string& name, const std::string& value, Toggle& toggle) {
        if (value.empty()) return;
        if (value == "on" || value == "yes") toggle = Toggle::On;
        else if (value == "off" || value == "no") toggle = Toggle::Off;
        else if (value == "both") toggle = Toggle::Both;
        else Fail(name, value, "on, off or both (" + name + "=both)");
    }

    void Faces(const std::vector<std::string>& values) {
        for (const std::string& value : values)
            for (const std::string& face : SplitList(value)) {
                // LOGFONT holds 31 characters; a longer name could only match a truncation.
                if (face.empty() || Utf16Length(face) > 31)
                    return void(Fail("--face", face, "font face names, comma-separated or the option repeated (see --list-fonts)"));
                o_.Faces.push_back(face);
            }
    }

    void Sizes(const std::vector<std::string>& values) {
        for (const std::string& value : values)
            for (const std::string& item : SplitList(value)) {
                std::optional<double> size = ParseSize(AsciiWide(item));
                if (!size) return void(Fail("--size", item, "point sizes from 1 to 1000, comma-separated (e.g. 9,10.5,12)"));
                o_.Sizes.push_back(*size);
            }
    }

    void Count(const std::string& value) {
        if (value.empty() || value == "auto") return;
        // Read as the interactive count box reads it, but a pass must draw.
        std::optional<std::int32_t> count = ParseCount(AsciiWide(value));
        if (!count || *count < 1) return void(Fail("--count", value, "a number of calls from 1 to 2147483647, or auto"));
        o_.Count = *count;
    }

    void Number(const std::string& name, const std::string& value, double low, double high, double scale,
                double& target, const std::string& accepts) {
        if (value.empty()) return;
        std::optional<double> number = ParseDecimal(AsciiWide(value));
        if (!number || !(*number >= low && *number <= high)) return void(Fail(name, value, accepts));
        target = *number * scale;
    }

    void Passes(const std::string& name, const std::string& value, int low, int& target, const char* what) {
        if (value.empty()) return;
        std::optional<int> n = Whole(value, low, kMaxRepetitions);
        if (!n) return void(Fail(name, value, std::string("a whole number of ") + what + " passes from " +
                                                  std::to_string(low) + " to 10000"));
        target = *n;
    }

    void Format(const std::string& value) {
        if (value.empty() || value == "table") o_.Format = OutputFormat::Table;
        else if (value == "csv") o_.Format = OutputFormat::Csv;
        else if (value == "json") o_.Format = OutputFormat::Json;
        else Fail("--format", value, "table, csv or json");
    }

    void Pinning(const std::string& priority, const std::string& cpu) {
        if (priority == "normal") o_.HighPriority = false;
        else if (!priority.empty() && priority != "high") Fail("--priority", priority, "high or normal");
        if (cpu.empty() || cpu == "any") return;
        o_.Cpu = Whole(cpu, 0, 63);
        if (!o_.Cpu) Fail("--cpu", cpu, "a processor number from 0 to 63, or any");
    }

private:
    CliOptions& o_;
};

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
    CLI::App app;
    app.set_help_flag();
    app.allow_extras();
    app.allow_windows_style_options(false);  // /tmp/a.json is a file, not an option
    RawOptions raw;
    CliOptions options;
    app.add_flag("-h,--help", raw.help);
    app.add_flag("-V,--version", raw.version);
    app.add_flag("--list-fonts", raw.listFonts);
    app.add_flag("--self-check", raw.selfCheck);
    app.add_flag("--flush", options.Flush);
    app.add_flag("--bold{on}", raw.bold);
    app.add_flag("--italic{on}", raw.italic);
    app.add_flag("--opaque{on}", raw.opaque);
    app.add_option("-t,--text", raw.text);
    app.add_option("-f,--face", raw.faces)->allow_extra_args(false);
    app.add_option("-s,--size", raw.sizes)->allow_extra_args(false);
    app.add_option("-n,--count", raw.count);
    app.add_option("--target", raw.target);
    app.add_option("-r,--repetitions", raw.repetitions);
    app.add_option("-w,--warmup", raw.warmup);
    app.add_option("--format", raw.format);
    app.add_option("--compare", raw.compare)->expected(2);
    app.add_option("--baseline", options.Baseline);
    app.add_option("--plot", options.PlotFile);
    app.add_option("--margin", raw.margin);
    app.add_option("--priority", raw.priority);
    app.add_option("--cpu", raw.cpu);

    ParsedArguments result;
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last first
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        result.Error = e.what();
        return result;
    }
    if (!app.remaining().empty()) {
        const std::string arg = app.remaining().front();
        result.Error = Quote(arg) + (!arg.empty() && arg[0] == '-'
                                         ? ": is not an option; see --help"
                                         : ": is not expected here: every value follows its option; see --help");
        return result;
    }
    options.Text = app.count("--text") ? raw.text : options.Text;
    options.RepetitionsGiven = !raw.repetitions.empty();
    Checker check(options);
    check.Faces(raw.faces);
    check.Sizes(raw.sizes);
    check.Style("--bold", raw.bold, options.Bold);
    check.Style("--italic", raw.italic, options.Italic);
    check.Style("--opaque", raw.opaque, options.Opaque);
    check.Count(raw.count);
    check.Number("--target", raw.target, 0.001, 60, 1, options.TargetSeconds,
                 "the seconds one pass should last when --count is auto, from 0.001 to 60");
    check.Passes("--repetitions", raw.repetitions, 1, options.Repetitions, "timed");
    check.Passes("--warmup", raw.warmup, 0, options.Warmup, "untimed");
    check.Format(raw.format);
    check.Number("--margin", raw.margin, 0, 50, 0.01, options.Margin, "a percentage from 0 to 50");
    check.Pinning(raw.priority, raw.cpu);
    if (!check.error.empty()) {
        result.Error = check.error;
        return result;
    }
    if (raw.compare.size() == 2) {
        options.CompareOld = raw.compare[0];
        options.CompareNew = raw.compare[1];
    }
    // Help wins over version, version over the font list, whatever the order.
    options.Action = raw.help ? CliAction::Help
                     : raw.version ? CliAction::Version
                     : raw.listFonts ? CliAction::ListFonts
                     : raw.selfCheck ? CliAction::SelfCheck
                     : !options.CompareOld.empty() ? CliAction::Compare
                                                   : CliAction::Measure;
    result.Options = options;
    return result;
}

std::vector<Configuration> Configurations(const std::vector<std::string>& faces, const std::vector<double>& sizes,
                                          Toggle bold, Toggle italic, Toggle opaque) {
    std::vector<Configuration> all;
    for (const std::string& face : faces)
        for (double size : sizes)
            for (bool b : Values(bold))
                for (bool i : Values(italic))
                    for (bool o : Values(opaque)) all.push_back({face, size, b, i, o});
    return all;
}

std::optional<std::size_t> FindBaseline(const std::string& spec, const std::vector<Configuration>& all,
                                        std::string& error) {
    if (std::optional<int> number = Whole(spec, 1, static_cast<int>(all.size())))
        return static_cast<std::size_t>(*number - 1);
    std::vector<std::size_t> matches;
    const std::vector<std::string> parts = SplitList(spec);
    for (std::size_t c = 0; c < all.size(); ++c) {
        const Configuration& config = all[c];
        bool fits = true;
        for (const std::string& part : parts) {
            std::optional<double> size = ParseDecimal(AsciiWide(part));
            fits = fits && (part == config.Face || (size && *size == config.Size) ||
                            (part == "regular" && !config.Bold && !config.Italic) ||
                            (part == "bold" && config.Bold) || (part == "italic" && config.Italic) ||
                            (part == "opaque" && config.Opaque) || (part == "transparent" && !config.Opaque));
        }
        if (fits) matches.push_back(c);
    }
    if (matches.size() == 1) return matches.front();
    error = "--baseline: " + Quote(spec) + (matches.empty() ? " matches no configuration" : " matches more than one") +
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

std::string UsageText() {
    return R"(Usage: ExtTextOutBenchCli [options]
       ExtTextOutBenchCli --compare OLD NEW [--format table|csv|json] [--plot FILE.svg]
       ExtTextOutBenchCli --self-check [--face F] [--size S] [--count N]

Times ExtTextOutA on the same canvas and with the same stopwatch as the
interactive ExtTextOutBench, once per configuration of the faces x sizes x
styles given, and reports per-call statistics. The timed passes of all
configurations take turns, so a machine that slows down slows them alike.

  -t, --text TEXT          text to draw (converted to the ANSI code page)
                           default: "The quick brown fox jumps over the lazy dog."
  -f, --face LIST          faces, comma-separated or repeated
                           default: the face the interactive program opens on
  -s, --size LIST          point sizes 1..1000, comma-separated (default 12)
      --bold[=on|off|both]     bold; both measures each way
      --italic[=on|off|both]   italic
      --opaque[=on|off|both]   opaque background
  -n, --count N|auto       calls per pass (default auto: grow until a pass
                           lasts the target, then round up to one digit)
      --target SECONDS     pass length for --count auto (default 0.5)
  -r, --repetitions N      timed passes per configuration (default 5)
  -w, --warmup N           untimed passes first, more until the time settles (default 1)
      --flush              call GdiFlush inside the timed interval
      --priority high|normal   thread priority during passes (default high)
      --cpu N|any          pin passes to processor N (default any)
      --baseline ROW       judge every configuration against this one: its
                           number, or parts such as "IPAGothic,12,bold"
      --margin PERCENT     smaller changes are no clear difference (default 2)
      --format FORMAT      table (default), csv or json
      --plot FILE.svg      a chart of the medians, or of the ratios after --compare
      --compare OLD NEW    two earlier JSON or CSV outputs side by side, with verdicts
      --self-check         the program's run path against a bare loop of the calls
      --list-fonts         the installed screen fonts, one a line
  -h, --help               this text
  -V, --version            the program's version

Exit status: 0 done, 1 the measurement could not run, 2 bad arguments.
)";
}
