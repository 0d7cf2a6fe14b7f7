#include "cli/Report.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli/Csv.h"

using Json = nlohmann::ordered_json;

namespace {

std::string Percent(const std::optional<double>& fraction) {
    return fraction ? FormatSignificant(*fraction * 100, 3) + "%" : "-";
}

std::string Optional(const std::optional<double>& value) { return value ? FormatSignificant(*value, 3) : "-"; }

Json PreciseOrNull(const std::optional<double>& value) { return value ? Json(Precise(*value)) : Json(); }

Json Rate(double value) { return std::isfinite(value) ? Json(std::stod(FormatSignificant(value, 3))) : Json(); }

std::string SystemText(const RunContext& context) {
    if (context.WineVersion.empty()) return "Windows " + context.WindowsVersion;
    return "Wine " + context.WineVersion + " (reports Windows " + context.WindowsVersion + ")";
}

std::string CountText(const RunContext& context) {
    if (context.Count) return "count " + std::to_string(*context.Count);
    return "count auto (" + PreciseText(context.TargetSeconds) + " s a pass)";
}

std::string PinningText(const RunContext& context) {
    return std::string(context.HighPriority ? "high" : "normal") + " priority, " +
           (context.Cpu ? "processor " + std::to_string(*context.Cpu) : "any processor");
}

bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
           (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

std::string VerdictCell(const Measurement& m) {
    return m.IsBaseline ? "baseline" : m.VsBaseline ? VerdictName(m.VsBaseline->Call) : "-";
}

}  // namespace

void JudgeAgainstBaseline(std::vector<Measurement>& results, std::size_t baseline, double margin) {
    for (std::size_t i = 0; i < results.size(); ++i) {
        results[i].IsBaseline = i == baseline;
        if (i != baseline) results[i].VsBaseline = CompareSamples(results[baseline].PerCallMs, results[i].PerCallMs, margin);
    }
}

std::string FormatSignificant(double value, int digits) {
    if (!std::isfinite(value)) return "-";
    if (value == 0) return "0";
    // Let printf do the rounding, then read back where the digits start.
    char scientific[40];
    std::snprintf(scientific, sizeof scientific, "%.*e", digits - 1, value);
    const double rounded = std::strtod(scientific, nullptr);
    const int exponent = std::atoi(std::strchr(scientific, 'e') + 1);
    const int decimals = digits - 1 - exponent;
    char plain[400];
    std::snprintf(plain, sizeof plain, "%.*f", decimals > 0 ? decimals : 0, rounded);
    return plain;
}

double Precise(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.5e", value);
    return std::strtod(text, nullptr);
}

std::string PreciseText(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::size_t DisplayWidth(const std::string& text) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        char32_t c = extra ? lead & (0x3F >> extra) : lead;
        for (int k = 1; k <= extra && i + k < text.size(); ++k) c = (c << 6) | (text[i + k] & 0x3F);
        i += 1 + extra;
        width += IsWide(c) ? 2 : 1;
    }
    return width;
}

std::string StyleName(bool bold, bool italic) {
    if (bold && italic) return "bold italic";
    if (bold) return "bold";
    if (italic) return "italic";
    return "regular";
}

std::string ConfigLabel(const Configuration& config) {
    return config.Face + " " + PreciseText(config.Size) + " " + StyleName(config.Bold, config.Italic) +
           (config.Opaque ? " opaque" : "");
}

std::string IntervalText(double low, double high) {
    return FormatSignificant(low, 3) + "-" + FormatSignificant(high, 3);
}

std::string AlignColumns(const std::vector<std::vector<std::string>>& rows, const std::vector<bool>& rightAligned) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        if (widths.size() < row.size()) widths.resize(row.size());
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::string padding(widths[c] - DisplayWidth(row[c]), ' ');
            const bool right = c < rightAligned.size() && rightAligned[c];
            if (c > 0) line += "  ";
            if (right) line += padding + row[c];
            else line += row[c] + (c + 1 < row.size() ? padding : "");
        }
        out += line + "\n";
    }
    return out;
}

std::string TableReport(const RunContext& context, const std::vector<Measurement>& results) {
    std::string out = std::string(kCliProgramName) + " " + context.Version + " (" + std::to_string(context.Bits) +
                      "-bit) on " + SystemText(context) + ", ANSI code page " + std::to_string(context.AnsiCodePage) +
                      ", " + std::to_string(context.Dpi) + " dpi, counter " + std::to_string(context.CounterFrequency) +
                      " Hz, " + context.Date + "\n";
    out += "Text " + Json(context.Text).dump() + " (" + std::to_string(context.TextBytes) + " bytes), " +
           CountText(context) + ", " + std::to_string(context.Repetitions) + " timed passes after " +
           std::to_string(context.Warmup) + " warm-up, GdiFlush " + (context.Flush ? "on" : "off") +
           "; times per call in ms\n";
    const Summary reference = Summarize(context.ReferenceMs);
    out += "Passes take turns across configurations, " + PinningText(context) + "; machine reference " +
           FormatSignificant(reference.Median, 3) + " ms (cv " + Percent(reference.Cv) + ")\n\n";

    const bool judged = std::any_of(results.begin(), results.end(), [](const Measurement& m) { return m.IsBaseline; });
    std::vector<std::vector<std::string>> rows = {{"face", "size", "style", "background", "count", "reps", "min",
                                                   "median", "mean", "sd", "cv", "calls/s", "bytes/s"}};
    if (judged) rows[0].insert(rows[0].end(), {"ratio", "95% interval", "verdict"});
    rows[0].push_back("drawn with");
    bool anySubstituted = false;
    for (const Measurement& m : results) {
        anySubstituted = anySubstituted || m.Substituted;
        std::vector<std::string> row = {
            m.Config.Face, PreciseText(m.Config.Size), StyleName(m.Config.Bold, m.Config.Italic),
            m.Config.Opaque ? "opaque" : "transparent", std::to_string(m.Count), std::to_string(m.Stats.N),
            FormatSignificant(m.Stats.Min, 3), FormatSignificant(m.Stats.Median, 3), FormatSignificant(m.Stats.Mean, 3),
            Optional(m.Stats.StdDev), Percent(m.Stats.Cv), FormatSignificant(m.CallsPerSecond(), 3),
            FormatSignificant(m.CallsPerSecond() * static_cast<double>(context.TextBytes), 3)};
        if (judged) {
            const auto& c = m.VsBaseline;
            row.insert(row.end(), {c ? FormatSignificant(c->Ratio, 3) : "-", c ? IntervalText(c->Low, c->High) : "-",
                                   VerdictCell(m)});
        }
        row.push_back(m.RealizedFace + (m.Substituted ? " *" : ""));
        rows.push_back(row);
    }
    std::vector<bool> right(rows[0].size(), true);
    right[0] = right[2] = right[3] = right.back() = false;
    if (judged) right[right.size() - 2] = false;
    out += AlignColumns(rows, right);
    if (judged) out += "\nratio: median / the baseline's, below 1 is faster; verdict from Mann-Whitney's U (p < 0.05)\n";
    if (anySubstituted) out += "\n* the font mapper drew another face than the one asked for\n";
    return out;
}

std::string CsvReport(const std::vector<Measurement>& results, std::size_t textBytes) {
    const bool judged = std::any_of(results.begin(), results.end(), [](const Measurement& m) { return m.IsBaseline; });
    std::string out =
        "face,realized_face,substituted,size,bold,italic,opaque,count,repetitions,min_ms,median_ms,mean_ms,"
        "stddev_ms,cv,calls_per_second,bytes_per_second";
    out += judged ? ",ratio,ratio_low,ratio_high,p,verdict\n" : "\n";
    auto flag = [](bool on) { return on ? "true" : "false"; };
    auto optional = [](const std::optional<double>& v) { return v ? PreciseText(*v) : ""; };
    for (const Measurement& m : results) {
        out += CsvField(m.Config.Face) + "," + CsvField(m.RealizedFace) + "," + flag(m.Substituted) + "," +
               PreciseText(m.Config.Size) + "," + flag(m.Config.Bold) + "," + flag(m.Config.Italic) + "," +
               flag(m.Config.Opaque) + "," + std::to_string(m.Count) + "," + std::to_string(m.Stats.N) + "," +
               PreciseText(m.Stats.Min) + "," + PreciseText(m.Stats.Median) + "," + PreciseText(m.Stats.Mean) + "," +
               optional(m.Stats.StdDev) + "," + optional(m.Stats.Cv) + "," + FormatSignificant(m.CallsPerSecond(), 3) +
               "," + FormatSignificant(m.CallsPerSecond() * static_cast<double>(textBytes), 3);
        if (judged) {
            const auto& c = m.VsBaseline;
            out += c ? "," + PreciseText(c->Ratio) + "," + PreciseText(c->Low) + "," + PreciseText(c->High) + "," +
                           PreciseText(c->P) + ","
                     : std::string(",,,,,");
            out += CsvField(VerdictCell(m));
        }
        out += "\n";
    }
    return out;
}

std::string JsonReport(const RunContext& context, const std::vector<Measurement>& results) {
    Json c;
    c["program"] = kCliProgramName;
    c["version"] = context.Version;
    c["architecture"] = std::to_string(context.Bits) + "-bit";
    c["windows_version"] = context.WindowsVersion;
    c["wine_version"] = context.WineVersion.empty() ? Json() : Json(context.WineVersion);
    c["ansi_code_page"] = context.AnsiCodePage;
    c["screen_dpi"] = context.Dpi;
    c["counter_frequency"] = context.CounterFrequency;
    c["date"] = context.Date;
    c["text"] = context.Text;
    c["text_bytes"] = context.TextBytes;
    c["count"] = context.Count ? Json(*context.Count) : Json("auto");
    c["target_seconds"] = context.TargetSeconds;
    c["repetitions"] = context.Repetitions;
    c["warmup"] = context.Warmup;
    c["flush"] = context.Flush;
    c["priority"] = context.HighPriority ? "high" : "normal";
    c["cpu"] = context.Cpu ? Json(*context.Cpu) : Json();
    Json reference = Json::array();
    for (double ms : context.ReferenceMs) reference.push_back(Precise(ms));
    c["machine_reference_ms"] = reference;

    Json rows = Json::array();
    for (const Measurement& m : results) {
        Json r;
        r["face"] = m.Config.Face;
        r["realized_face"] = m.RealizedFace;
        r["substituted"] = m.Substituted;
        r["size"] = m.Config.Size;
        r["bold"] = m.Config.Bold;
        r["italic"] = m.Config.Italic;
        r["opaque"] = m.Config.Opaque;
        r["count"] = m.Count;
        r["repetitions"] = m.Stats.N;
        r["min_ms"] = Precise(m.Stats.Min);
        r["median_ms"] = Precise(m.Stats.Median);
        r["mean_ms"] = Precise(m.Stats.Mean);
        r["stddev_ms"] = PreciseOrNull(m.Stats.StdDev);
        r["cv"] = PreciseOrNull(m.Stats.Cv);
        r["max_ms"] = Precise(m.Stats.Max);
        r["calls_per_second"] = Rate(m.CallsPerSecond());
        r["bytes_per_second"] = Rate(m.CallsPerSecond() * static_cast<double>(context.TextBytes));
        Json samples = Json::array();
        for (double ms : m.PerCallMs) samples.push_back(Precise(ms));
        r["samples_ms"] = samples;
        if (m.IsBaseline) r["baseline"] = true;
        if (m.VsBaseline)
            r["vs_baseline"] = {{"ratio", Precise(m.VsBaseline->Ratio)}, {"low", Precise(m.VsBaseline->Low)},
                                {"high", Precise(m.VsBaseline->High)}, {"p", Precise(m.VsBaseline->P)},
                                {"verdict", VerdictName(m.VsBaseline->Call)}};
        rows.push_back(r);
    }
    return Json{{"context", c}, {"results", rows}}.dump(2) + "\n";
}
