// A run's finished results written out: as a table, CSV or JSON, and the self-check's table.
#include "cli/output/Reports.h"

#include <algorithm>
#include <cmath>

#include "cli/analysis/Schema.h"
#include "cli/text/Numbers.h"
#include "cli/text/Utf8.h"

namespace {

// Longer texts are shown by their start, so the header stays a line or two.
constexpr std::size_t kTextShown = 60;

std::string Figure(double value) { return FormatSignificant(value, 3); }

std::string Percent(const std::optional<double>& fraction) {
    return fraction ? Figure(*fraction * 100) + "%" : "-";
}

// The table's columns for the dimensions the run sweeps: header, then one row's cells.
std::vector<std::string> DimensionColumns(const CliOptions& options) {
    std::vector<std::string> columns;
    if (!options.Calls.empty()) columns.push_back("call");
    if (!options.Qualities.empty()) columns.insert(columns.end(), {"quality", "drawn"});
    if (!options.Lengths.empty()) columns.insert(columns.end(), {"bytes", "chars"});
    return columns;
}

std::vector<std::string> DimensionCells(const CliOptions& options, const Result& r) {
    std::vector<std::string> cells;
    if (!options.Calls.empty()) cells.push_back(CallName(r.Config.Call));
    if (!options.Qualities.empty())
        cells.insert(cells.end(), {QualityName(r.Config.Quality), r.DrawnQuality.empty() ? "-" : r.DrawnQuality});
    if (!options.Lengths.empty()) cells.insert(cells.end(), {std::to_string(r.TextBytes), std::to_string(r.TextChars)});
    return cells;
}

std::string TextShown(const RunContext& c) {
    const std::string& text = c.Options.Text;
    const std::size_t characters = CharacterCount(text);
    const std::string quoted = Json(Abbreviated(text, kTextShown)).dump(-1, ' ', false, Json::error_handler_t::replace);
    return quoted + " (" + (characters > kTextShown ? std::to_string(characters) + " characters, " : "") +
           std::to_string(c.TextBytes) + " bytes)";
}

std::string Rounds(const RunContext& c) {
    const std::string rounds = Plural(c.Rounds, "round");
    if (c.Stopped == "interrupted") return "INTERRUPTED after " + rounds + ": what was measured until Ctrl+C";
    if (c.Options.MaxSeconds <= 0) return rounds;
    return rounds + " in " + FormatSignificant(c.Seconds, 3) + " s of at most " + PreciseText(c.Options.MaxSeconds) +
           " s, " + (c.Stopped == "decided" ? "stopped when every configuration was decided"
                     : c.Stopped == "time"  ? "stopped when the time was spent"
                                            : "stopped at the rounds asked for");
}

std::string Header(const RunContext& c) {
    const CliOptions& o = c.Options;
    const std::string system = c.WineVersion.empty()
                                   ? "Windows " + c.WindowsVersion
                                   : "Wine " + c.WineVersion + " (reports Windows " + c.WindowsVersion + ")";
    const Summary reference = Summarize(c.ReferenceMs);
    return c.Program + " " + c.Version + " (" + std::to_string(c.Bits) + "-bit) on " + system + ", ANSI code page " +
           std::to_string(c.AnsiCodePage) + ", " + std::to_string(c.Dpi) + " dpi, counter " +
           std::to_string(c.CounterFrequency) + " Hz, " + c.Date + "\nText " + TextShown(c) + ", " +
           (o.Count ? "count " + std::to_string(*o.Count)
                    : "count auto (" + PreciseText(o.TargetSeconds) + " s a pass)") + ", " +
           (o.MaxSeconds > 0 ? std::string("timed passes until decided")
                             : Plural(static_cast<std::size_t>(o.Repetitions), "timed pass")) +
           " after " + std::to_string(o.Warmup) + " warm-up, GdiFlush " + (o.Flush ? "on" : "off") +
           "; times per call in ms\nPasses take turns across " +
           "configurations, " + (o.HighPriority ? "high" : "normal") + " priority, " +
           (o.Cpu ? "processor " + std::to_string(*o.Cpu) : "any processor") + "; machine reference " +
           FormatSignificant(reference.Median, 3) + " ms (cv " + Percent(reference.Cv) +
           "), adj. cv with each pass scaled by it\n" + Rounds(c) + "\n\n";
}

}  // namespace

std::string TableReport(const RunResults& results) {
    const CliOptions& o = results.Context.Options;
    std::vector<std::vector<std::string>> rows = {{"face", "size", "style", "background", "count", "reps", "min",
                                                   "median", "mean", "sd", "cv", "adj. cv", "calls/s", "bytes/s"}};
    const std::vector<std::string> dimensions = DimensionColumns(o);
    rows[0].insert(rows[0].begin() + 4, dimensions.begin(), dimensions.end());
    if (results.Judged) rows[0].insert(rows[0].end(), {"ratio", "95% interval", "verdict"});
    rows[0].push_back("drawn with");
    std::vector<bool> right;  // numbers
    for (const std::string& name : rows[0])
        right.push_back(name != "face" && name != "style" && name != "background" && name != "verdict" &&
                        name != "drawn with" && name != "call" && name != "quality" && name != "drawn");
    bool anySubstituted = false, anyMisread = false, anyClipped = false;
    for (std::size_t i = 0; i < results.Rows.size(); ++i) {
        const Result& r = results.Rows[i];
        const Summary& s = r.Stats;
        const Comparison c = r.VsBaseline.value_or(kNoComparison);
        anySubstituted |= r.Substituted;
        anyMisread |= !r.Misread.empty();
        anyClipped |= r.Clipped;
        rows.push_back({r.Config.Face + (r.Config.Repeat ? " #" + std::to_string(r.Config.Repeat) : ""),
                        PreciseText(r.Config.Size), StyleName(r.Config.Bold, r.Config.Italic),
                        r.Config.Opaque ? "opaque" : "transparent", std::to_string(r.Count), std::to_string(s.N),
                        Figure(s.Min), Figure(s.Median), Figure(s.Mean), Figure(s.StdDev.value_or(NAN)),
                        Percent(s.Cv), Percent(r.AdjustedCv), Figure(r.CallsPerSecond()), Figure(r.BytesPerSecond())});
        const std::vector<std::string> cells = DimensionCells(o, r);
        rows.back().insert(rows.back().begin() + 4, cells.begin(), cells.end());
        if (results.Judged)
            rows.back().insert(rows.back().end(), {Figure(c.Ratio), IntervalText(c.Low, c.High), r.Verdict});
        rows.back().push_back(r.RealizedFace + (r.Substituted ? " *" : "") + (r.Misread.empty() ? "" : " !") +
                              (r.Clipped ? " >" : ""));
        // A configuration's fit under its last length.
        for (const LengthFit& fit : results.Fits) {
            if (fit.Rows.back() != i) continue;
            rows.push_back({"    " + (fit.Model ? CostModelText(*fit.Model) : "no fit: " + fit.Reason)});
            if (fit.ClippedFrom)
                rows.push_back({"    from " + std::to_string(fit.ClippedFrom) +
                                " bytes the text runs past the canvas, which cuts its glyphs off"});
        }
    }
    std::string out = Header(results.Context) + AlignColumns(rows, right);
    if (results.Judged)
        out += "\nratio: each round's pass over the baseline's pass of the same round, their Hodges-Lehmann estimate;\n"
               "below 1 is faster. The interval inverts Wilcoxon's signed-rank test at " +
               Percent(results.Context.Confidence) +
               (results.Context.Options.MaxSeconds > 0 ? " (each look at the rounds spends a share of the 5%)" : "") +
               ";\nthe verdict is read from it alone: faster or slower beyond --margin, within margin wholly "
               "inside it.\n";
    if (anySubstituted) out += "\n* the font mapper drew another face than the one asked for\n";
    if (anyMisread) out += "\n! the font's character set cannot show some of the text: other characters are drawn\n";
    if (anyClipped) out += "\n> the text runs past the canvas, which cuts its glyphs off: they cost less\n";
    return out;
}

std::string CsvReport(const RunResults& results) { return CsvFromRows(Json(results.Rows)); }

std::string JsonReport(const RunResults& results) { return Json(results).dump(2) + "\n"; }

std::string SelfCheckReport(const Configuration& config, int pairs, const std::vector<SelfCheckRow>& rows) {
    std::string out = "Self-check: the program's run (RunBenchmark, as a press of Test) against a bare loop of\n"
                      "QueryPerformanceCounter and ExtTextOutA on the same canvas, alternating; " +
                      ConfigLabel(config) + ", " + std::to_string(pairs) +
                      " pairs a count.\nTimes are medians per call in microseconds; ratio = median of run / loop.\n\n";
    std::vector<std::vector<std::string>> table = {{"count", "run", "loop", "ratio", "95% interval"}};
    for (const SelfCheckRow& r : rows)
        table.push_back({std::to_string(r.Count), FormatSignificant(r.RunUs, 4), FormatSignificant(r.LoopUs, 4),
                         FormatSignificant(r.Ratio.Median, 4),
                         std::isfinite(r.Ratio.Low) ? FormatSignificant(r.Ratio.Low, 4) + "-" +
                                                          FormatSignificant(r.Ratio.High, 4)
                                                    : "too few passes"});
    return out + AlignColumns(table, {true, true, true, true, true});
}
