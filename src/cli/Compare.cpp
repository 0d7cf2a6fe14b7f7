#include "cli/Compare.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "cli/Dimensions.h"
#include "cli/Report.h"

using Json = nlohmann::ordered_json;

namespace {

// The context fields that decide what was measured, and their names in messages.
constexpr std::pair<const char*, const char*> kTerms[] = {
    {"text", "text"}, {"architecture", "architecture"}, {"ansi_code_page", "ANSI code page"}, {"count", "count mode"}};

bool IsCall(Verdict v) { return v == Verdict::Faster || v == Verdict::Slower; }

// A CSV table's lines under its header as JSON objects, figures and flags typed as JSON holds
// them, and the line each starts on; accepts LF or CRLF line ends and quoted fields spanning
// lines, and skips blank lines.
Json CsvRecords(const std::string& text, std::vector<std::size_t>& lines) {
    std::vector<std::vector<std::string>> cells(1, std::vector<std::string>(1));
    std::vector<std::size_t> starts(1, 1);
    std::size_t line = 1;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i], next = i + 1 < text.size() ? text[i + 1] : '\0';
        line += c == '\n' || (c == '\r' && next != '\n');
        if (quoted && c == '"' && next == '"') cells.back().back() += text[++i];
        else if (c == '"') quoted = !quoted;
        else if (quoted || (c != ',' && c != '\n' && c != '\r')) cells.back().back() += c;
        else if (c == ',') cells.back().emplace_back();
        else if (c == '\n' || next != '\n') cells.emplace_back(1), starts.push_back(line);  // CR LF ends at its LF
    }
    Json records = Json::array();
    for (std::size_t i = 1; i < cells.size(); ++i) {
        if (cells[i].size() == 1 && cells[i][0].empty()) continue;
        Json record = Json::object();
        for (std::size_t c = 0; c < cells[0].size() && c < cells[i].size(); ++c) {
            // A face may be named like a figure or a flag.
            const Json typed = Json::parse(cells[i][c], nullptr, false);
            const bool keep = cells[0][c] != "face" && (typed.is_number() || typed.is_boolean());
            record[cells[0][c]] = keep ? typed : Json(cells[i][c]);
        }
        records.push_back(record);
        lines.push_back(starts[i]);
    }
    return records;
}

std::string Text(const Json& record, const char* name) {
    const auto it = record.find(name);
    return it != record.end() && it->is_string() ? it->get<std::string>() : "";
}

// A record of this program's output: a JSON object, or a CSV row typed alike when read.
std::optional<ResultRow> ReadRow(const Json& o, std::string& error) {
    const auto number = [&](const char* name) { return o.contains(name) && o[name].is_number(); };
    error = !o.is_object()         ? "not an object"
            : !o.contains("face")  ? "no face"
            : !number("size")      ? "no size"
            : !number("median_ms") ? "no median_ms"
                                   : "";
    if (!error.empty()) return std::nullopt;
    try {
        return ResultRow{
            {o["face"], o["size"], o.value("bold", false), o.value("italic", false), o.value("opaque", false)},
            o["median_ms"],
            o.value("samples_ms", std::vector<double>()),
            o.value("reference_ms", std::vector<double>())};
    } catch (const Json::exception& e) {
        error = e.what();
        return std::nullopt;
    }
}

std::optional<ResultFile> ReadRows(const Json& rows, const Json& context,
                                   const std::function<std::string(std::size_t)>& where, std::string& error) {
    ResultFile file;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::optional<ResultRow> row = ReadRow(rows[i], error);
        if (row && !ReadDimensionFields(rows[i], context, row->Config, error)) row.reset();
        if (!row) {
            error = where(i) + ": " + error;
            return std::nullopt;
        }
        file.Rows.push_back(*row);
    }
    if (file.Rows.empty()) {
        error = "no result row";
        return std::nullopt;
    }
    if (!context.is_object()) return file;
    file.Description = Text(context, "program") + " " + Text(context, "version");
    for (const auto& [name, prefix] : {std::pair{"architecture", ", "}, {"wine_version", ", Wine "}, {"date", ", "}})
        if (!Text(context, name).empty()) file.Description += prefix + Text(context, name);
    for (const auto& [field, term] : kTerms) {
        const auto it = context.find(field);
        // Under auto the counts differ from run to run as well; whether the count was fixed tells runs apart.
        if (it != context.end() && (it->is_string() || it->is_number()))
            file.Terms[term] = std::string(field) == "text" ? it->dump()
                               : std::string(field) == "count" ? (it->is_number() ? "fixed" : it->get<std::string>())
                               : it->is_string()               ? it->get<std::string>()
                                                               : it->dump();
    }
    file.ReferenceMs = context.value("machine_reference_ms", std::vector<double>());
    // Every slice's reference is thousands in a long sweep, and the machine's comparison
    // pairs them all; the passes' own tell the same.
    if (!file.Rows.front().ReferenceMs.empty()) {
        file.ReferenceMs.clear();
        for (const ResultRow& row : file.Rows)
            file.ReferenceMs.insert(file.ReferenceMs.end(), row.ReferenceMs.begin(), row.ReferenceMs.end());
    }
    file.ReferenceKind = Text(context, "machine_reference");
    return file;
}

// Each pass in units of the machine reference it saw, or of the file's typical one where
// the file kept no reference beside its passes.
std::vector<double> InReferenceUnits(const ResultRow& row, double typical) {
    std::vector<double> units = row.SamplesMs;
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] /= row.ReferenceMs.size() == units.size() ? row.ReferenceMs[i] : typical;
    return units;
}

}  // namespace

std::optional<ResultFile> ReadResults(const std::string& text, std::string& error) {
    const std::string body = text.substr(text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0);
    const std::size_t first = body.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        error = "empty file";
        return std::nullopt;
    }
    if (body[first] == '{' || body[first] == '[') {
        Json document;
        try {
            document = Json::parse(body);
        } catch (const Json::parse_error& e) {
            const auto end = body.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(e.byte, body.size()));
            error = "not valid JSON at line " + std::to_string(1 + std::count(body.begin(), end, '\n'));
            return std::nullopt;
        }
        if (!document.is_object() || !document.contains("results") || !document["results"].is_array())
            error = "no \"results\" array";
        else
            return ReadRows(document["results"], document.value("context", Json()),
                            [](std::size_t i) { return "result " + std::to_string(i + 1); }, error);
        return std::nullopt;
    }
    std::vector<std::size_t> lines;
    const Json records = CsvRecords(body, lines);
    return ReadRows(records, Json(), [&](std::size_t i) { return "line " + std::to_string(lines[i]); }, error);
}

Comparisons CompareFiles(const ResultFile& oldFile, const ResultFile& newFile, double margin,
                         bool despiteDifferences) {
    Comparisons result;
    for (const auto& [name, value] : oldFile.Terms) {
        const auto other = newFile.Terms.find(name);
        if (other != newFile.Terms.end() && other->second != value) result.Differences.push_back(name);
    }
    if (oldFile.ReferenceKind == newFile.ReferenceKind)
        result.Machine = CompareSamples(oldFile.ReferenceMs, newFile.ReferenceMs, 0);
    const bool judge = result.Machine && std::fabs(result.Machine->Ratio - 1) <= kMachineChangeLimit;
    result.Note = !result.Machine ? "No machine reference of the same kind in both files: ratios are not judged."
                  : judge ? "Adjusted ratios set each pass against the machine reference beside it; a change is "
                            "called when it exceeds the margin plus the machine's own move, adjusted and not."
                          : "The machine's speed changed too much for a verdict (more than " +
                                FormatSignificant(kMachineChangeLimit * 100, 2) + "%).";
    const bool withheld = !result.Differences.empty() && !despiteDifferences;
    if (withheld) result.Note += " The runs differ in what they measured: no verdicts (--compare-anyway draws them).";

    const double oldTypical = Summarize(oldFile.ReferenceMs).Median;
    const double newTypical = Summarize(newFile.ReferenceMs).Median;
    for (const ResultRow& row : oldFile.Rows) result.Rows.push_back({row.Config, row.MedianMs, std::nullopt, {}});
    for (const ResultRow& row : newFile.Rows) {
        std::size_t i = 0;
        while (i < result.Rows.size() &&
               (result.Rows[i].New || !SameConfiguration(result.Rows[i].Config, row.Config)))
            ++i;
        if (i == result.Rows.size()) result.Rows.push_back({row.Config, std::nullopt, std::nullopt, {}});
        result.Rows[i].New = row.MedianMs;
        if (i >= oldFile.Rows.size()) continue;
        result.InCommon = true;
        auto& judged = result.Rows[i].Adjusted;
        if (!result.Machine) {
            judged = CompareSamples(oldFile.Rows[i].SamplesMs, row.SamplesMs, margin);
            if (judged && judged->Call != Verdict::TooFew) judged->Call = Verdict::None;
            continue;
        }
        // The reference follows the drawing's speed only in part, and between runs it has moved
        // where the drawing did not: a change is called when it holds with the reference taken
        // out and without, beyond the margin and the reference's own move.
        const double allowance = margin + std::fabs(result.Machine->Ratio - 1);
        judged = CompareSamples(InReferenceUnits(oldFile.Rows[i], oldTypical), InReferenceUnits(row, newTypical),
                                allowance);
        const std::optional<Comparison> plain = CompareSamples(oldFile.Rows[i].SamplesMs, row.SamplesMs, allowance);
        if (!judged || judged->Call == Verdict::TooFew) continue;
        if (plain && IsCall(judged->Call) && plain->Call != judged->Call) judged->Call = Verdict::Unconfirmed;
        if (!judge) judged->Call = Verdict::MachineChanged;
        if (withheld) judged->Call = Verdict::ContextDiffers;
    }
    return result;
}

std::vector<std::string> CompareWarnings(const ResultFile& oldFile, const ResultFile& newFile,
                                         const Comparisons& compared, bool despiteDifferences) {
    std::vector<std::string> lines;
    if (!compared.Differences.empty()) {
        std::string what;
        for (const std::string& name : compared.Differences)
            what += (what.empty() ? "" : ", ") + name + " (" + oldFile.Terms.at(name) + " / " +
                    newFile.Terms.at(name) + ")";
        lines.push_back("the runs differ in " + what + ": they measured different things" +
                        (despiteDifferences ? "; verdicts are drawn all the same, as --compare-anyway asks"
                                            : ", so no verdict is drawn (--compare-anyway draws them)"));
    }
    std::size_t fewest = 0;
    for (const ComparedRow& row : compared.Rows)
        if (row.Adjusted && row.Adjusted->Call == Verdict::TooFew) fewest = row.Adjusted->Passes;
    if (fewest)
        lines.push_back("too few passes for a verdict (n = " + std::to_string(fewest) + "; at least " +
                        std::to_string(PassesNeeded()) + " a side needed): measure both runs with --repetitions " +
                        std::to_string(PassesNeeded()) + " or more");
    return lines;
}

std::string CompareReport(const std::string& oldName, const ResultFile& oldFile, const std::string& newName,
                          const ResultFile& newFile, const Comparisons& compared, OutputFormat format) {
    const Comparison none{NAN, NAN, NAN, NAN};
    Json rows = Json::array();
    std::vector<std::vector<std::string>> table = {{"face", "size", "style", "background", "old", "new", "ratio",
                                                    compared.Machine ? "adjusted" : "pairwise", "95% interval",
                                                    "verdict"}};
    for (const ComparedRow& r : compared.Rows) {
        const Comparison a = r.Adjusted.value_or(none);
        const double oldMs = r.Old.value_or(NAN), newMs = r.New.value_or(NAN);
        const double ratio = oldMs > 0 ? newMs / oldMs : NAN;
        rows.push_back({{"face", r.Config.Face}, {"size", r.Config.Size}, {"bold", r.Config.Bold},
                        {"italic", r.Config.Italic}, {"opaque", r.Config.Opaque},
                        {"old_median_ms", Precise(oldMs)}, {"new_median_ms", Precise(newMs)},
                        {"ratio", Precise(ratio)}, {"adjusted_ratio", Precise(a.Ratio)},
                        {"ratio_low", Precise(a.Low)}, {"ratio_high", Precise(a.High)},
                        {"p", Precise(a.P)}, {"verdict", VerdictName(a)}});
        table.push_back({r.Config.Face, PreciseText(r.Config.Size), StyleName(r.Config.Bold, r.Config.Italic),
                         r.Config.Opaque ? "opaque" : "transparent", FormatSignificant(oldMs, 3),
                         FormatSignificant(newMs, 3), FormatSignificant(ratio, 3), FormatSignificant(a.Ratio, 3),
                         IntervalText(a.Low, a.High), VerdictName(a)});
        rows.back().update({{"call", CallName(r.Config.Call)}, {"quality", QualityName(r.Config.Quality)},
                            {"length_bytes", r.Config.LengthBytes ? Json(r.Config.LengthBytes) : Json()}});
        if (!DimensionLabel(r.Config).empty()) {
            table.back().push_back(DimensionLabel(r.Config).substr(1));
            table[0].resize(11, "call, quality, length");
        }
    }
    if (format == OutputFormat::Csv) return CsvFromRows(rows);
    if (format == OutputFormat::Json) {
        const Json doc = {{"old", oldName},
                          {"new", newName},
                          {"machine_ratio", Precise(compared.Machine.value_or(none).Ratio)},
                          {"differences", compared.Differences},
                          {"note", compared.Note},
                          {"rows", rows}};
        return doc.dump(2) + "\n";
    }
    std::string out = "old: " + oldName + (oldFile.Description.empty() ? "" : " (" + oldFile.Description + ")") +
                      "\nnew: " + newName + (newFile.Description.empty() ? "" : " (" + newFile.Description + ")") +
                      "\n";
    // What each run measured, so runs that differ show it where the figures are read.
    std::string terms;
    for (const auto& [field, name] : kTerms) {
        const auto o = oldFile.Terms.find(name), n = newFile.Terms.find(name);
        const bool both = o != oldFile.Terms.end() && n != newFile.Terms.end();
        if (o == oldFile.Terms.end() && n == newFile.Terms.end()) continue;
        const std::string oldValue = o != oldFile.Terms.end() ? o->second : "not recorded";
        const std::string newValue = n != newFile.Terms.end() ? n->second : "not recorded";
        terms += std::string(terms.empty() ? "Runs: " : "; ") + name + " " +
                 (oldValue == newValue ? oldValue : oldValue + " / " + newValue + (both ? " (DIFFERS)" : ""));
    }
    if (!terms.empty()) out += terms + "\n";
    if (compared.Machine)
        out += "Machine reference, new / old: " + FormatSignificant(compared.Machine->Ratio, 3) + " (" +
               IntervalText(compared.Machine->Low, compared.Machine->High) + "). ";
    out += compared.Note + "\nMedian time per call in ms; ratio is new / old, below 1 is faster. " +
           (compared.Machine ? "Adjusted" : "Pairwise") +
           " is the median of all new / old pass ratios" +
           (compared.Machine ? ", each pass in units of the machine reference" : "") +
           ";\nits 95% interval is the one Mann-Whitney's U test gives, and the verdict is read from it.\n\n";
    return out + AlignColumns(table, {false, true, false, false, true, true, true, true, true, false});
}
