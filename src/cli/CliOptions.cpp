#include "cli/CliOptions.h"

#include <string>

#include "benchmark/RunInputs.h"

namespace {

constexpr int kMaxRepetitions = 10000;
constexpr double kMinTarget = 0.001;
constexpr double kMaxTarget = 60;

std::wstring Quote(const std::wstring& value) { return L"\"" + value + L"\""; }

std::vector<std::wstring> SplitList(const std::wstring& value) {
    std::vector<std::wstring> items;
    size_t begin = 0;
    for (;;) {
        size_t comma = value.find(L',', begin);
        std::wstring item = value.substr(begin, comma == std::wstring::npos ? std::wstring::npos : comma - begin);
        size_t first = item.find_first_not_of(L" \t");
        size_t last = item.find_last_not_of(L" \t");
        items.push_back(first == std::wstring::npos ? L"" : item.substr(first, last - first + 1));
        if (comma == std::wstring::npos) break;
        begin = comma + 1;
    }
    return items;
}

std::optional<int> ParseWhole(const std::wstring& text, int low, int high) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    if (value < low || value > high) return std::nullopt;
    return value;
}

std::optional<Toggle> ParseToggle(const std::wstring& text) {
    if (text == L"on" || text == L"yes") return Toggle::On;
    if (text == L"off" || text == L"no") return Toggle::Off;
    if (text == L"both") return Toggle::Both;
    return std::nullopt;
}

std::vector<bool> Values(Toggle toggle) {
    switch (toggle) {
    case Toggle::Off: return {false};
    case Toggle::On: return {true};
    case Toggle::Both: break;
    }
    return {false, true};
}

class Parser {
public:
    explicit Parser(const std::vector<std::wstring>& args) : args_(args) {}

    ParsedArguments Run() {
        while (next_ < args_.size() && error_.empty()) Option(args_[next_++]);
        if (error_.empty() && options_.Action == CliAction::Compare && options_.CompareNew.empty())
            Fail(L"--compare", L"needs two files: --compare OLD NEW (each a JSON or CSV output of this program)");
        ParsedArguments result;
        if (error_.empty()) result.Options = options_;
        else result.Error = error_;
        return result;
    }

private:
    void Option(const std::wstring& arg) {
        std::wstring name = arg;
        std::optional<std::wstring> inlineValue;
        if (arg.size() > 2 && arg.compare(0, 2, L"--") == 0) {
            size_t equals = arg.find(L'=');
            if (equals != std::wstring::npos) {
                name = arg.substr(0, equals);
                inlineValue = arg.substr(equals + 1);
            }
        }
        inline_ = inlineValue;

        if (name == L"-h" || name == L"--help") return Flag(name, [&] { help_ = true; SetAction(); });
        if (name == L"-V" || name == L"--version") return Flag(name, [&] { version_ = true; SetAction(); });
        if (name == L"--list-fonts") return Flag(name, [&] { listFonts_ = true; SetAction(); });
        if (name == L"--flush") return Flag(name, [&] { options_.Flush = true; });
        if (name == L"--bold") return Style(name, options_.Bold);
        if (name == L"--italic") return Style(name, options_.Italic);
        if (name == L"--opaque") return Style(name, options_.Opaque);

        if (name == L"-t" || name == L"--text") {
            if (auto value = Value(name, L"the text to draw")) options_.Text = *value;
            return;
        }
        if (name == L"-f" || name == L"--face") return Faces(name);
        if (name == L"-s" || name == L"--size") return Sizes(name);
        if (name == L"-n" || name == L"--count") return Count(name);
        if (name == L"--target") return Target(name);
        if (name == L"-r" || name == L"--repetitions") {
            if (auto value = Value(name, RepetitionsAccepts()))
                if (auto n = Whole(name, *value, 1, kMaxRepetitions, RepetitionsAccepts())) options_.Repetitions = *n;
            return;
        }
        if (name == L"-w" || name == L"--warmup") {
            if (auto value = Value(name, WarmupAccepts()))
                if (auto n = Whole(name, *value, 0, kMaxRepetitions, WarmupAccepts())) options_.Warmup = *n;
            return;
        }
        if (name == L"--format") return Format(name);
        if (name == L"--compare") return Compare(name);

        if (!arg.empty() && arg[0] == L'-')
            Fail(Quote(arg), L"is not an option; see --help");
        else
            Fail(Quote(arg), L"is not expected here: every value follows its option; see --help");
    }

    template <typename F>
    void Flag(const std::wstring& name, F set) {
        if (inline_) return Fail(name, L"takes no value");
        set();
    }

    void SetAction() {
        // Help wins over version, version over the font list, whatever the order.
        if (help_) options_.Action = CliAction::Help;
        else if (version_) options_.Action = CliAction::Version;
        else if (listFonts_) options_.Action = CliAction::ListFonts;
    }

    std::optional<std::wstring> Value(const std::wstring& name, const std::wstring& accepts) {
        if (inline_) return *inline_;
        if (next_ >= args_.size()) {
            Fail(name, L"needs a value: " + accepts);
            return std::nullopt;
        }
        return args_[next_++];
    }

    std::optional<int> Whole(const std::wstring& name, const std::wstring& value, int low, int high,
                             const std::wstring& accepts) {
        std::optional<int> n = ParseWhole(value, low, high);
        if (!n) Fail(name, Quote(value) + L" is not accepted; give " + accepts);
        return n;
    }

    void Style(const std::wstring& name, Toggle& toggle) {
        if (!inline_) {
            toggle = Toggle::On;
            return;
        }
        std::optional<Toggle> value = ParseToggle(*inline_);
        if (!value) return Fail(name, Quote(*inline_) + L" is not accepted; give on, off or both (" + name + L"=both)");
        toggle = *value;
    }

    void Faces(const std::wstring& name) {
        const std::wstring accepts = L"font face names, comma-separated or the option repeated (see --list-fonts)";
        std::optional<std::wstring> value = Value(name, accepts);
        if (!value) return;
        for (const std::wstring& face : SplitList(*value)) {
            // LOGFONT holds 31 characters; a longer name could only match a truncation.
            if (face.empty() || face.size() > 31)
                return Fail(name, Quote(face) + L" is not a face name; give " + accepts);
            options_.Faces.push_back(face);
        }
    }

    void Sizes(const std::wstring& name) {
        const std::wstring accepts = L"point sizes from 1 to 1000, comma-separated (e.g. 9,10.5,12)";
        std::optional<std::wstring> value = Value(name, accepts);
        if (!value) return;
        for (const std::wstring& item : SplitList(*value)) {
            std::optional<double> size = ParseSize(item);
            if (!size) return Fail(name, Quote(item) + L" is not accepted; give " + accepts);
            options_.Sizes.push_back(*size);
        }
    }

    void Count(const std::wstring& name) {
        const std::wstring accepts = L"a number of calls from 1 to 2147483647, or auto";
        std::optional<std::wstring> value = Value(name, accepts);
        if (!value) return;
        if (*value == L"auto") {
            options_.Count.reset();
            return;
        }
        // Read as the interactive count box reads it, but a pass must draw.
        std::optional<std::int32_t> count = ParseCount(*value);
        if (!count || *count < 1) return Fail(name, Quote(*value) + L" is not accepted; give " + accepts);
        options_.Count = *count;
    }

    void Target(const std::wstring& name) {
        const std::wstring accepts = L"the seconds one pass should last when --count is auto, from 0.001 to 60";
        std::optional<std::wstring> value = Value(name, accepts);
        if (!value) return;
        std::optional<double> seconds = ParseDecimal(*value);
        if (!seconds || !(*seconds >= kMinTarget && *seconds <= kMaxTarget))
            return Fail(name, Quote(*value) + L" is not accepted; give " + accepts);
        options_.TargetSeconds = *seconds;
    }

    void Format(const std::wstring& name) {
        std::optional<std::wstring> value = Value(name, L"table, csv or json");
        if (!value) return;
        if (*value == L"table") options_.Format = OutputFormat::Table;
        else if (*value == L"csv") options_.Format = OutputFormat::Csv;
        else if (*value == L"json") options_.Format = OutputFormat::Json;
        else Fail(name, Quote(*value) + L" is not accepted; give table, csv or json");
    }

    void Compare(const std::wstring& name) {
        const std::wstring accepts = L"two files: --compare OLD NEW (each a JSON or CSV output of this program)";
        if (inline_) return Fail(name, L"needs " + accepts);
        std::optional<std::wstring> old = Value(name, accepts);
        if (!old) return;
        std::optional<std::wstring> fresh = Value(name, accepts);
        if (!fresh) return;
        options_.CompareOld = *old;
        options_.CompareNew = *fresh;
        if (options_.Action == CliAction::Measure) options_.Action = CliAction::Compare;
    }

    static std::wstring RepetitionsAccepts() { return L"a whole number of timed passes from 1 to 10000"; }
    static std::wstring WarmupAccepts() { return L"a whole number of untimed passes from 0 to 10000"; }

    void Fail(const std::wstring& subject, const std::wstring& message) {
        if (error_.empty()) error_ = subject + L": " + message;
    }

    const std::vector<std::wstring>& args_;
    size_t next_ = 0;
    std::optional<std::wstring> inline_;
    CliOptions options_;
    std::wstring error_;
    bool help_ = false, version_ = false, listFonts_ = false;
};

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::wstring>& args) { return Parser(args).Run(); }

std::vector<Configuration> Configurations(const std::vector<std::wstring>& faces, const std::vector<double>& sizes,
                                          Toggle bold, Toggle italic, Toggle opaque) {
    std::vector<Configuration> all;
    for (const std::wstring& face : faces)
        for (double size : sizes)
            for (bool b : Values(bold))
                for (bool i : Values(italic))
                    for (bool o : Values(opaque)) all.push_back({face, size, b, i, o});
    return all;
}

std::wstring CliVersion() {
#ifdef ETB_VERSION
    const char* version = ETB_VERSION;
#else
    const char* version = "0.0.0";
#endif
    return std::wstring(version, version + std::char_traits<char>::length(version));
}

std::wstring UsageText() {
    return LR"(Usage: ExtTextOutBenchCli [options]
       ExtTextOutBenchCli --compare OLD NEW [--format table|csv|json]

Times ExtTextOutA on the same canvas and with the same stopwatch as the
interactive ExtTextOutBench, once per configuration of the faces x sizes x
styles given, and reports per-call statistics.

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
  -w, --warmup N           untimed passes first (default 1)
      --flush              call GdiFlush inside the timed interval
      --format FORMAT      table (default), csv or json
      --compare OLD NEW    medians of two earlier JSON or CSV outputs side by side
      --list-fonts         the installed screen fonts, one a line
  -h, --help               this text
  -V, --version            the program's version

Exit status: 0 done, 1 the measurement could not run, 2 bad arguments.
)";
}
