// A comparison of two result files written out: as a table, CSV or JSON.
#include "cli/output/Reports.h"

#include <cmath>

#include "cli/analysis/Schema.h"
#include "cli/compare/Compare.h"
#include "cli/text/Numbers.h"

namespace {

const char* const kTermOrder[] = {"text", "architecture", "ANSI code page", "count mode"};

std::string Note(const Comparisons& compared) {
    std::string note =
        compared.Use == MachineUse::NoReference
            ? "No machine reference of the same kind in both files: ratios are not judged."
        : compared.Use == MachineUse::Adjusted
            ? "Adjusted ratios set each pass against the machine reference beside it; a change is called when it "
              "exceeds the margin plus the machine's own move, adjusted and not."
            : "The machine's speed changed too much for a verdict (more than " +
                  FormatSignificant(kMachineChangeLimit * 100, 2) + "%).";
    if (compared.Withheld) note += " The runs differ in what they measured: no verdicts (--compare-anyway draws them).";
    return note;
}

// Program, commit, architecture, Wine and date, as far as the file says.
std::string Description(const RunContext& c) {
    std::string text = c.Program.empty() ? "" : c.Program + " " + c.Version;
    if (!text.empty() && !c.Commit.empty()) text += " (" + c.Commit + ")";
    const auto add = [&](const std::string& prefix, const std::string& part) {
        if (!part.empty()) text += (text.empty() ? "" : prefix) + part;
    };
    add(", ", c.Bits ? std::to_string(c.Bits) + "-bit" : "");
    add(", Wine ", c.WineVersion);
    add(", ", c.Date);
    return text;
}

double PlainRatio(const ComparedRow& r) {
    const double oldMs = r.Old.value_or(NAN), newMs = r.New.value_or(NAN);
    return oldMs > 0 ? newMs / oldMs : NAN;
}

Json Rows(const Comparisons& compared) {
    Json rows = Json::array();
    for (const ComparedRow& r : compared.Rows) {
        const Comparison a = r.Adjusted.value_or(kNoComparison);
        rows.push_back({{"face", r.Config.Face}, {"size", r.Config.Size}, {"bold", r.Config.Bold},
                        {"italic", r.Config.Italic}, {"opaque", r.Config.Opaque},
                        {"old_median_ms", Precise(r.Old.value_or(NAN))},
                        {"new_median_ms", Precise(r.New.value_or(NAN))},
                        {"ratio", Precise(PlainRatio(r))}, {"adjusted_ratio", Precise(a.Ratio)},
                        {"ratio_low", Precise(a.Low)}, {"ratio_high", Precise(a.High)}, {"p", Precise(a.P)},
                        {"verdict", VerdictName(a)}, {"call", CallName(r.Config.Call)},
                        {"quality", QualityName(r.Config.Quality)},
                        {"length_bytes", r.Config.LengthBytes ? Json(r.Config.LengthBytes) : Json()},
                        {"repeat", r.Config.Repeat}});
    }
    return rows;
}

}  // namespace

std::string CompareCsv(const Comparisons& compared) { return CsvFromRows(Rows(compared)); }

std::string CompareJson(const NamedFile& oldFile, const NamedFile& newFile, const Comparisons& compared) {
    const Json doc = {{"old", oldFile.Name},
                      {"new", newFile.Name},
                      {"machine_ratio", Precise(compared.Machine.value_or(kNoComparison).Ratio)},
                      {"differences", compared.Differences},
                      {"note", Note(compared)},
                      {"rows", Rows(compared)}};
    return doc.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string CompareTable(const NamedFile& oldFile, const NamedFile& newFile, const Comparisons& compared) {
    std::string out;
    for (const NamedFile* f : {&oldFile, &newFile}) {
        const std::string description = Description(f->File.Context);
        out += (f == &oldFile ? "old: " : "new: ") + f->Name + (description.empty() ? "" : " (" + description + ")") +
               "\n";
    }
    // What each run measured, so runs that differ show it where the figures are read.
    const auto oldTerms = MeasuredTerms(oldFile.File.Context), newTerms = MeasuredTerms(newFile.File.Context);
    std::string terms;
    for (const std::string name : kTermOrder) {
        const auto o = oldTerms.find(name), n = newTerms.find(name);
        const bool inOld = o != oldTerms.end(), inNew = n != newTerms.end();
        if (!inOld && !inNew) continue;
        const std::string oldValue = inOld ? o->second : "not recorded", newValue = inNew ? n->second : "not recorded";
        terms += std::string(terms.empty() ? "Runs: " : "; ") + name + " " +
                 (oldValue == newValue ? oldValue : oldValue + " / " + newValue + (inOld && inNew ? " (DIFFERS)" : ""));
    }
    if (!terms.empty()) out += terms + "\n";
    const bool machine = compared.Machine.has_value();
    if (machine)
        out += "Machine reference, new / old: " + FormatSignificant(compared.Machine->Ratio, 3) + " (" +
               IntervalText(compared.Machine->Low, compared.Machine->High) + "). ";
    out += Note(compared) + "\nMedian time per call in ms; ratio is new / old, below 1 is faster. " +
           (machine ? "Adjusted" : "Pairwise") + " is the median of all new / old pass ratios" +
           (machine ? ", each pass in units of the machine reference" : "") +
           ";\nits 95% interval is the one Mann-Whitney's U test gives, and the verdict is read from it.\n\n";

    std::vector<std::vector<std::string>> table = {{"face", "size", "style", "background", "old", "new", "ratio",
                                                    machine ? "adjusted" : "pairwise", "95% interval", "verdict"}};
    for (const ComparedRow& r : compared.Rows) {
        const Comparison a = r.Adjusted.value_or(kNoComparison);
        table.push_back({r.Config.Face, PreciseText(r.Config.Size), StyleName(r.Config.Bold, r.Config.Italic),
                         r.Config.Opaque ? "opaque" : "transparent", FormatSignificant(r.Old.value_or(NAN), 3),
                         FormatSignificant(r.New.value_or(NAN), 3), FormatSignificant(PlainRatio(r), 3),
                         FormatSignificant(a.Ratio, 3), IntervalText(a.Low, a.High), VerdictName(a)});
        if (!DimensionLabel(r.Config).empty()) {
            table.back().push_back(DimensionLabel(r.Config).substr(1));
            table[0].resize(11, "call, quality, length");
        }
    }
    return out + AlignColumns(table, {false, true, false, false, true, true, true, true, true, false});
}
