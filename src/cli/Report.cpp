#include "cli/Report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli/Dimensions.h"

using Json = nlohmann::ordered_json;

namespace {

// RFC 4180 fields: quoted only when they hold a comma, a quote or a line break.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string Percent(const std::optional<double>& fraction) {
    return fraction ? FormatSignificant(*fraction * 100, 3) + "%" : "-";
}

// Rates keep three digits, as whole numbers where they are.
Json Rate(double value) {
    if (!std::isfinite(value)) return Json();
    const double rounded = std::stod(FormatSignificant(value, 3));
    return rounded >= 1000 ? Json(static_cast<std::int64_t>(rounded)) : Json(rounded);
}

bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
           (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

Json PreciseList(const std::vector<double>& values) {
    Json list = Json::array();
    for (double v : values) list.push_back(Precise(v));
    return list;
}

bool Judged(const std::vector<Measurement>& results) {
    return std::any_of(results.begin(), results.end(), [](const Measurement& m) { return m.IsBaseline; });
}

std::string VerdictText(const Measurement& m) {
    return m.IsBaseline ? "baseline" : m.VsBaseline ? VerdictName(*m.VsBaseline) : "-";
}

std::string Plural(std::size_t n, const std::string& noun) {
    return std::to_string(n) + " " + noun + (n == 1 ? "" : noun.back() == 's' ? "es" : "s");
}

// At the length the configuration drew, where it says.
double BytesPerSecond(const Measurement& m, std::size_t textBytes) {
    return m.CallsPerSecond() * static_cast<double>(m.TextBytes ? m.TextBytes : textBytes);
}

// The table's columns for the dimensions the run sweeps: header, then one row's cells.
std::vector<std::string> DimensionColumns(const CliOptions& options) {
    std::vector<std::string> columns;
    if (!options.Calls.empty()) columns.push_back("call");
    if (!options.Qualities.empty()) columns.insert(columns.end(), {"quality", "drawn"});
    if (!options.Lengths.empty()) columns.insert(columns.end(), {"bytes", "chars"});
    return columns;
}

std::vector<std::string> DimensionCells(const CliOptions& options, const Measurement& m) {
    std::vector<std::string> cells;
    if (!options.Calls.empty()) cells.push_back(CallName(m.Config.Call));
    if (!options.Qualities.empty())
        cells.insert(cells.end(), {QualityName(m.Config.Quality), m.DrawnQuality.empty() ? "-" : m.DrawnQuality});
    if (!options.Lengths.empty()) cells.insert(cells.end(), {std::to_string(m.TextBytes), std::to_string(m.TextChars)});
    return cells;
}

// One configuration as the JSON and CSV forms hold it; the samples only in JSON.
Json JsonRow(const Measurement& m, std::size_t textBytes, bool judged) {
    const Summary& s = m.Stats;
    Json r = {{"face", m.Config.Face}, {"realized_face", m.RealizedFace}, {"substituted", m.Substituted},
              {"text_fits_font", m.Misread.empty()}, {"size", m.Config.Size}, {"bold", m.Config.Bold},
              {"italic", m.Config.Italic}, {"opaque", m.Config.Opaque}, {"count", m.Count}, {"repetitions", s.N},
              {"min_ms", Precise(s.Min)}, {"median_ms", Precise(s.Median)}, {"mean_ms", Precise(s.Mean)},
              {"stddev_ms", Precise(s.StdDev.value_or(NAN))}, {"cv", Precise(s.Cv.value_or(NAN))},
              {"adjusted_cv", Precise(m.AdjustedCv.value_or(NAN))},
              {"calls_per_second", Rate(m.CallsPerSecond())},
              {"bytes_per_second", Rate(BytesPerSecond(m, textBytes))},
              {"max_ms", Precise(s.Max)}};
    r.update({{"call", CallName(m.Config.Call)}, {"quality", QualityName(m.Config.Quality)},
              {"drawn_quality", m.DrawnQuality.empty() ? Json() : Json(m.DrawnQuality)},
              {"length_bytes", m.TextBytes}, {"length_chars", m.TextChars}, {"clipped", m.Clipped}});
    const std::optional<Comparison>& c = m.VsBaseline;
    if (judged)
        r.update({{"ratio", Precise(c ? c->Ratio : NAN)}, {"ratio_low", Precise(c ? c->Low : NAN)},
                  {"ratio_high", Precise(c ? c->High : NAN)}, {"p", Precise(c ? c->P : NAN)},
                  {"verdict", VerdictText(m)}});
    r["samples_ms"] = PreciseList(m.PerCallMs);
    r["reference_ms"] = PreciseList(m.ReferenceMs);
    return r;
}

// The code point of UTF-8 text at i, and i moved past it.
char32_t NextCodePoint(const std::string& text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t c = extra ? lead & (0x3F >> extra) : lead;
    for (int k = 1; k <= extra && i + k < text.size(); ++k) c = (c << 6) | (text[i + k] & 0x3F);
    i = std::min(text.size(), i + 1 + extra);
    return c;
}

// Columns a console gives UTF-8 text: East Asian wide characters take two.
std::size_t DisplayWidth(const std::string& text) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size();) width += IsWide(NextCodePoint(text, i)) ? 2 : 1;
    return width;
}

}  // namespace

void JudgeAgainstBaseline(std::vector<Measurement>& results, std::size_t baseline, double margin) {
    for (std::size_t i = 0; i < results.size(); ++i) {
        results[i].IsBaseline = i == baseline;
        if (i != baseline)
            results[i].VsBaseline = CompareSamples(results[baseline].AdjustedMs, results[i].AdjustedMs, margin);
    }
}

std::string FormatSignificant(double value, int digits) {
    if (!std::isfinite(value)) return "-";
    if (value == 0) return "0";
    // Let printf do the rounding, then read back where the digits start.
    char scientific[40], plain[400];
    std::snprintf(scientific, sizeof scientific, "%.*e", digits - 1, value);
    const int decimals = digits - 1 - std::atoi(std::strchr(scientific, 'e') + 1);
    std::snprintf(plain, sizeof plain, "%.*f", std::max(decimals, 0), std::strtod(scientific, nullptr));
    return plain;
}

Json Precise(double value) {
    return std::isfinite(value) ? Json(std::strtod(PreciseText(value).c_str(), nullptr)) : Json();
}

std::string PreciseText(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string StyleName(bool bold, bool italic) {
    return bold && italic ? "bold italic" : bold ? "bold" : italic ? "italic" : "regular";
}

std::string ConfigLabel(const Configuration& config) {
    return config.Face + " " + PreciseText(config.Size) + " " + StyleName(config.Bold, config.Italic) +
           (config.Opaque ? " opaque" : "") + DimensionLabel(config);
}

std::string IntervalText(double low, double high) {
    if (!std::isfinite(low)) return "-";
    const auto keepsSide = [](double value, int digits) {
        const double shown = std::strtod(FormatSignificant(value, digits).c_str(), nullptr);
        return (value < 1) == (shown < 1) && (value > 1) == (shown > 1);
    };
    int digits = 3;
    while (digits < 17 && !(keepsSide(low, digits) && keepsSide(high, digits))) ++digits;
    return FormatSignificant(low, digits) + "-" + FormatSignificant(high, digits);
}

std::vector<std::string> CharactersRefused(const std::string& text,
                                           const std::function<bool(const std::string&)>& keeps) {
    std::vector<std::string> refused;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        NextCodePoint(text, i);
        const std::string character = text.substr(start, i - start);
        if (std::find(refused.begin(), refused.end(), character) == refused.end() && !keeps(character))
            refused.push_back(character);
    }
    return refused;
}

std::string CharacterList(const std::vector<std::string>& characters) {
    std::string list;
    for (const std::string& character : characters) {
        std::size_t i = 0;
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(NextCodePoint(character, i)));
        list += (list.empty() ? "" : ", ") + Json(character).dump() + " (" + code + ")";
    }
    return list;
}

std::vector<std::string> SweepWarnings(const RunContext& context, const std::vector<Measurement>& results) {
    std::vector<std::string> lines;
    const auto add = [&](const std::string& line) {
        if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(line);
    };
    if (!context.NotInCodePage.empty())
        add("the ANSI code page " + std::to_string(context.AnsiCodePage) + " cannot hold " +
            CharacterList(context.NotInCodePage) +
            " of the text: the code page's default character or a look-alike is drawn in their place");
    for (const Measurement& m : results) {
        if (m.Substituted)
            add("\"" + m.Config.Face + "\" is drawn with \"" + m.RealizedFace + "\", the face the font mapper chose");
        std::vector<std::string> misread;
        for (const std::string& c : m.Misread)
            if (std::find(context.NotInCodePage.begin(), context.NotInCodePage.end(), c) == context.NotInCodePage.end())
                misread.push_back(c);
        if (!misread.empty())
            add("\"" + m.RealizedFace + "\" cannot show " + CharacterList(misread) +
                ": its character set reads their bytes as other characters, and those are drawn");
        if (m.VsBaseline && m.VsBaseline->Call == Verdict::TooFew)
            add("--baseline: " + Plural(m.VsBaseline->Passes, "pass") +
                " a configuration cannot carry a verdict (at least " + std::to_string(PassesNeeded()) +
                " needed); pass --repetitions " + std::to_string(PassesNeeded()) + " or more");
    }
    return lines;
}

std::string CsvFromRows(const nlohmann::ordered_json& rows) {
    std::string out;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::string header, line, comma;
        for (const auto& [name, value] : rows[r].items()) {
            if (value.is_array()) continue;
            header += comma + CsvField(name);
            char number[32] = "";
            if (value.is_number_float()) std::snprintf(number, sizeof number, "%.15g", value.get<double>());
            line += comma + (value.is_string()         ? CsvField(value.get<std::string>())
                             : value.is_number_float() ? std::string(number)
                             : value.is_null()         ? ""
                                                       : value.dump());
            comma = ",";
        }
        if (r == 0) out += header + "\n";
        out += line + "\n";
    }
    return out;
}

std::string AlignColumns(const std::vector<std::vector<std::string>>& rows, const std::vector<bool>& rightAligned) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    }
    std::string out;
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::string padding(widths[c] - DisplayWidth(row[c]), ' ');
            const bool right = c < rightAligned.size() && rightAligned[c];
            out += (c ? "  " : "") + (right ? padding + row[c] : row[c] + (c + 1 < row.size() ? padding : ""));
        }
        out += "\n";
    }
    return out;
}

std::string TableReport(const RunContext& context, const std::vector<Measurement>& results) {
    const CliOptions& o = context.Options;
    const std::string system = context.WineVersion.empty() ? "Windows " + context.WindowsVersion
                                                           : "Wine " + context.WineVersion + " (reports Windows " +
                                                                 context.WindowsVersion + ")";
    const Summary reference = Summarize(context.ReferenceMs);
    std::string out =
        std::string(kCliProgramName) + " " + context.Version + " (" + std::to_string(context.Bits) + "-bit) on " +
        system + ", ANSI code page " + std::to_string(context.AnsiCodePage) + ", " + std::to_string(context.Dpi) +
        " dpi, counter " + std::to_string(context.CounterFrequency) + " Hz, " + context.Date + "\nText " +
        Json(o.Text).dump() + " (" + std::to_string(context.TextBytes) + " bytes), " +
        (o.Count ? "count " + std::to_string(*o.Count) : "count auto (" + PreciseText(o.TargetSeconds) + " s a pass)") +
        ", " + Plural(static_cast<std::size_t>(o.Repetitions), "timed pass") + " after " + std::to_string(o.Warmup) +
        " warm-up, GdiFlush " + (o.Flush ? "on" : "off") + "; times per call in ms\nPasses take turns across " +
        "configurations, " + (o.HighPriority ? "high" : "normal") + " priority, " +
        (o.Cpu ? "processor " + std::to_string(*o.Cpu) : "any processor") + "; machine reference " +
        FormatSignificant(reference.Median, 3) + " ms (cv " + Percent(reference.Cv) +
        "), adj. cv with each pass scaled by it\n\n";

    const bool judged = Judged(results);
    std::vector<std::vector<std::string>> rows = {{"face", "size", "style", "background", "count", "reps", "min",
                                                   "median", "mean", "sd", "cv", "adj. cv", "calls/s", "bytes/s"}};
    const std::vector<std::string> dimensions = DimensionColumns(o);
    rows[0].insert(rows[0].begin() + 4, dimensions.begin(), dimensions.end());
    if (judged) rows[0].insert(rows[0].end(), {"ratio", "95% interval", "verdict"});
    rows[0].push_back("drawn with");
    bool anySubstituted = false, anyMisread = false;
    for (const Measurement& m : results) {
        const Summary& s = m.Stats;
        const std::optional<Comparison>& c = m.VsBaseline;
        anySubstituted = anySubstituted || m.Substituted;
        anyMisread = anyMisread || !m.Misread.empty();
        rows.push_back({m.Config.Face, PreciseText(m.Config.Size), StyleName(m.Config.Bold, m.Config.Italic),
                        m.Config.Opaque ? "opaque" : "transparent", std::to_string(m.Count), std::to_string(s.N),
                        FormatSignificant(s.Min, 3), FormatSignificant(s.Median, 3), FormatSignificant(s.Mean, 3),
                        FormatSignificant(s.StdDev.value_or(NAN), 3), Percent(s.Cv), Percent(m.AdjustedCv),
                        FormatSignificant(m.CallsPerSecond(), 3),
                        FormatSignificant(BytesPerSecond(m, context.TextBytes), 3)});
        const std::vector<std::string> cells = DimensionCells(o, m);
        rows.back().insert(rows.back().begin() + 4, cells.begin(), cells.end());
        if (judged)
            rows.back().insert(rows.back().end(), {FormatSignificant(c ? c->Ratio : NAN, 3),
                                                   c ? IntervalText(c->Low, c->High) : "-", VerdictText(m)});
        rows.back().push_back(m.RealizedFace + (m.Substituted ? " *" : "") + (m.Misread.empty() ? "" : " !"));
    }
    std::vector<bool> right;  // numbers
    for (const std::string& name : rows[0])
        right.push_back(name != "face" && name != "style" && name != "background" && name != "verdict" &&
                        name != "drawn with" && name != "call" && name != "quality" && name != "drawn");
    out += WithFitLines(AlignColumns(rows, right), FitLengths(results, context.TextBytes));
    if (judged)
        out += "\nratio: the median of every pass's time over every baseline pass's, each scaled by the machine\n"
               "reference; below 1 is faster. The 95% interval is the one Mann-Whitney's U test gives, and the\n"
               "verdict is read from it; a change inside --margin is \"within margin\".\n";
    if (anySubstituted) out += "\n* the font mapper drew another face than the one asked for\n";
    if (anyMisread) out += "\n! the font's character set cannot show some of the text: other characters are drawn\n";
    return out;
}

std::string CsvReport(const std::vector<Measurement>& results, std::size_t textBytes) {
    Json rows = Json::array();
    for (const Measurement& m : results) rows.push_back(JsonRow(m, textBytes, Judged(results)));
    return CsvFromRows(rows);
}

std::string JsonReport(const RunContext& context, const std::vector<Measurement>& results) {
    const CliOptions& o = context.Options;
    Json rows = Json::array();
    for (const Measurement& m : results) rows.push_back(JsonRow(m, context.TextBytes, Judged(results)));
    const Json c = {{"program", kCliProgramName},
                    {"version", context.Version},
                    {"architecture", std::to_string(context.Bits) + "-bit"},
                    {"windows_version", context.WindowsVersion},
                    {"wine_version", context.WineVersion.empty() ? Json() : Json(context.WineVersion)},
                    {"ansi_code_page", context.AnsiCodePage},
                    {"screen_dpi", context.Dpi},
                    {"counter_frequency", context.CounterFrequency},
                    {"date", context.Date},
                    {"text", o.Text},
                    {"text_bytes", context.TextBytes},
                    {"count", o.Count ? Json(*o.Count) : Json("auto")},
                    {"target_seconds", o.TargetSeconds},
                    {"repetitions", o.Repetitions},
                    {"warmup", o.Warmup},
                    {"flush", o.Flush},
                    {"priority", o.HighPriority ? "high" : "normal"},
                    {"cpu", o.Cpu ? Json(*o.Cpu) : Json()},
                    {"machine_reference", kMachineReference},
                    {"machine_reference_ms", PreciseList(context.ReferenceMs)}};
    return Json{{"context", c}, {"results", rows}, {"fits", FitsJson(FitLengths(results, context.TextBytes))}}
               .dump(2) +
           "\n";
}
