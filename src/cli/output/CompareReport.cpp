// A comparison of two result files written out: as a table, CSV or JSON.
#include "cli/output/Reports.h"

#include <algorithm>
#include <cmath>

#include "cli/analysis/Schema.h"
#include "cli/compare/Compare.h"
#include "cli/text/Numbers.h"

namespace {

const char* const kTermOrder[] = {"text", "architecture", "ANSI code page", "count mode"};

std::string Method(const Comparisons& compared) {
    std::string method =
        compared.Runs == 1
            ? "One run a side: an interval holds the passes' spread within the two runs, not the drift between "
              "runs, which moved medians by up to a factor of " + FormatSignificant(1 + kRunDrift, 1) +
              " on the machine measured, so only a change beyond it is called; alternate several runs a side "
              "(scripts/alternate.sh) for verdicts."
            : std::to_string(compared.Runs) + " pairs of runs: the estimate is the Hodges-Lehmann median of the "
              "pairs' new / old ratios, its 95% interval the exact Wilcoxon signed-rank one (at least " +
              std::to_string(RoundsNeeded(kConfidence)) + " pairs), and the verdict is read from it and the margin.";
    if (compared.Withheld)
        method += " The runs differ in what they measured: no verdicts (--compare-anyway draws them).";
    return method;
}

std::string VerdictText(const Comparisons& compared, const Comparison& c) {
    if (c.Call != Verdict::TooFew || compared.Runs == 1) return VerdictName(c);
    return "too few runs (n = " + std::to_string(c.Passes) + "; at least " + std::to_string(RoundsNeeded(kConfidence)) +
           " needed)";
}

// The files of a side with program, commit, architecture, Wine and dates, as far as the first and last say.
std::string Description(const RunSide& side) {
    const RunContext &c = side.Runs.front().Context, &last = side.Runs.back().Context;
    std::string text = c.Program.empty() ? "" : c.Program + " " + c.Version;
    if (!text.empty() && !c.Commit.empty()) text += " (" + c.Commit + ")";
    const auto add = [&](const std::string& prefix, const std::string& part) {
        if (!part.empty()) text += (text.empty() ? "" : prefix) + part;
    };
    add(", ", c.Bits ? std::to_string(c.Bits) + "-bit" : "");
    add(", Wine ", c.WineVersion);
    add(", ", c.Date);
    if (side.Runs.size() > 1) add(" to ", last.Date);
    const std::string names = side.Names.size() == 1 ? side.Names[0]
                              : side.Names.front() + " to " + side.Names.back() + ", " +
                                    std::to_string(side.Names.size()) + " runs";
    return names + (text.empty() ? "" : " (" + text + ")");
}

double PlainRatio(const ComparedRow& r) {
    const double oldMs = r.Old.value_or(NAN), newMs = r.New.value_or(NAN);
    return oldMs > 0 ? newMs / oldMs : NAN;
}

Json Rows(const Comparisons& compared) {
    Json rows = Json::array();
    for (const ComparedRow& r : compared.Rows) {
        const Comparison a = r.Change.value_or(kNoComparison);
        rows.push_back({{"face", r.Config.Face}, {"size", r.Config.Size}, {"bold", r.Config.Bold},
                        {"italic", r.Config.Italic}, {"opaque", r.Config.Opaque},
                        {"old_median_ms", Precise(r.Old.value_or(NAN))},
                        {"new_median_ms", Precise(r.New.value_or(NAN))},
                        {"ratio", Precise(PlainRatio(r))}, {"estimate", Precise(a.Ratio)},
                        {"ratio_low", Precise(a.Low)}, {"ratio_high", Precise(a.High)}, {"p", Precise(a.P)},
                        {"verdict", r.Change ? VerdictText(compared, a) : "-"}, {"call", CallName(r.Config.Call)},
                        {"quality", QualityName(r.Config.Quality)}, {"surface", SurfaceName(r.Config.Surface)},
                        {"canvas_width", r.Config.Canvas.Width}, {"canvas_height", r.Config.Canvas.Height},
                        {"length_bytes", r.Config.LengthBytes ? Json(r.Config.LengthBytes) : Json()},
                        {"repeat", r.Config.Repeat}});
    }
    return rows;
}

}  // namespace

std::string TermValues(const std::vector<const RunSide*>& sides, const std::string& name) {
    std::vector<std::string> values;
    for (const RunSide* side : sides)
        for (const RunResults& run : side->Runs) {
            const auto terms = MeasuredTerms(run.Context);
            const auto value = terms.find(name);
            if (value != terms.end() && std::find(values.begin(), values.end(), value->second) == values.end())
                values.push_back(value->second);
        }
    std::string list;
    for (const std::string& v : values) list += (list.empty() ? "" : " / ") + v;
    return list;
}

std::string CompareCsv(const Comparisons& compared) { return CsvFromRows(Rows(compared)); }

std::string CompareJson(const RunSide& oldSide, const RunSide& newSide, const Comparisons& compared) {
    const Json doc = {{"old", oldSide.Names},   {"new", newSide.Names},
                      {"runs", compared.Runs},  {"differences", compared.Differences},
                      {"method", Method(compared)}, {"rows", Rows(compared)}};
    return doc.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string CompareTable(const RunSide& oldSide, const RunSide& newSide, const Comparisons& compared) {
    std::string out = "old: " + Description(oldSide) + "\nnew: " + Description(newSide) + "\n";
    // What each side measured, so runs that differ show it where the figures are read.
    std::string terms;
    for (const std::string name : kTermOrder) {
        const std::string o = TermValues({&oldSide}, name), n = TermValues({&newSide}, name);
        if (o.empty() && n.empty()) continue;
        const std::string oldValue = o.empty() ? "not recorded" : o, newValue = n.empty() ? "not recorded" : n;
        const bool differs =
            std::find(compared.Differences.begin(), compared.Differences.end(), name) != compared.Differences.end();
        terms += std::string(terms.empty() ? "Runs: " : "; ") + name + " " +
                 (oldValue == newValue ? oldValue : oldValue + " / " + newValue) + (differs ? " (DIFFERS)" : "");
    }
    if (!terms.empty()) out += terms + "\n";
    out += Method(compared) + "\nMedian time per call in ms; ratio is new / old, below 1 is faster.\n\n";

    std::vector<std::vector<std::string>> table = {{"face", "size", "style", "background", "old", "new", "ratio",
                                                    compared.Runs > 1 ? "paired" : "pairwise", "95% interval",
                                                    "verdict"}};
    for (const ComparedRow& r : compared.Rows) {
        const Comparison a = r.Change.value_or(kNoComparison);
        table.push_back({r.Config.Face, PreciseText(r.Config.Size), StyleName(r.Config.Bold, r.Config.Italic),
                         r.Config.Opaque ? "opaque" : "transparent", FormatSignificant(r.Old.value_or(NAN), 3),
                         FormatSignificant(r.New.value_or(NAN), 3), FormatSignificant(PlainRatio(r), 3),
                         FormatSignificant(a.Ratio, 3), IntervalText(a.Low, a.High),
                         r.Change ? VerdictText(compared, a) : "-"});
        if (!DimensionLabel(r.Config).empty()) {
            table.back().push_back(DimensionLabel(r.Config).substr(1));
            table[0].resize(11, "call, quality, surface, canvas, length");
        }
    }
    return out + AlignColumns(table, {false, true, false, false, true, true, true, true, true, false});
}
