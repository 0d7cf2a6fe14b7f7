#include "cli/Compare.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdlib>

#include "cli/Csv.h"
#include "cli/Report.h"

using Json = nlohmann::json;

namespace {

// A record of this program's output: a JSON object, or a CSV row as an
// object of strings.
class Fields {
public:
    explicit Fields(const Json& object) : object_(object) {}

    std::optional<std::string> Text(const char* name) const {
        auto it = object_.find(name);
        if (it == object_.end() || !it->is_string()) return std::nullopt;
        return it->get<std::string>();
    }
    std::optional<double> Number(const char* name) const {
        auto it = object_.find(name);
        if (it != object_.end() && it->is_number()) return it->get<double>();
        std::optional<std::string> text = Text(name);
        if (!text || text->empty()) return std::nullopt;
        char* end = nullptr;
        const double value = std::strtod(text->c_str(), &end);
        if (*end != '\0' || !std::isfinite(value)) return std::nullopt;
        return value;
    }
    std::optional<bool> Flag(const char* name) const {
        auto it = object_.find(name);
        if (it != object_.end() && it->is_boolean()) return it->get<bool>();
        std::optional<std::string> text = Text(name);
        if (text == "true" || text == "false") return text == "true";
        return std::nullopt;
    }
    std::vector<double> Numbers(const char* name) const {
        std::vector<double> values;
        auto it = object_.find(name);
        if (it != object_.end() && it->is_array())
            for (const Json& v : *it)
                if (v.is_number()) values.push_back(v.get<double>());
        return values;
    }

private:
    const Json& object_;
};

bool ReadRow(const Fields& fields, ResultRow& row, std::string& error) {
    std::optional<std::string> face = fields.Text("face");
    std::optional<double> size = fields.Number("size");
    std::optional<double> median = fields.Number("median_ms");
    if (!face || !size || !median) {
        error = !face ? "no face" : !size ? "no size" : "no median_ms";
        return false;
    }
    row.Config = {*face, *size, fields.Flag("bold").value_or(false), fields.Flag("italic").value_or(false),
                  fields.Flag("opaque").value_or(false)};
    row.RealizedFace = fields.Text("realized_face").value_or("");
    row.Substituted = fields.Flag("substituted").value_or(false);
    // Range-checked before the conversion: a hand-edited file can hold anything.
    const double count = fields.Number("count").value_or(0);
    row.Count = count >= 0 && count <= 2147483647.0 ? static_cast<std::int32_t>(count) : 0;
    const double repetitions = fields.Number("repetitions").value_or(0);
    row.Repetitions = repetitions >= 0 && repetitions <= 1e9 ? static_cast<int>(repetitions) : 0;
    row.MinMs = fields.Number("min_ms").value_or(0);
    row.MedianMs = *median;
    row.MeanMs = fields.Number("mean_ms").value_or(0);
    row.StdDevMs = fields.Number("stddev_ms");
    row.Cv = fields.Number("cv");
    row.CallsPerSecond = fields.Number("calls_per_second").value_or(0);
    row.BytesPerSecond = fields.Number("bytes_per_second").value_or(0);
    row.SamplesMs = fields.Numbers("samples_ms");
    return true;
}

std::optional<ResultFile> ReadJson(const std::string& text, std::string& error) {
    const Json document = Json::parse(text, nullptr, false);
    if (document.is_discarded()) {
        error = "not valid JSON";
        return std::nullopt;
    }
    if (!document.is_object() || !document.contains("results") || !document["results"].is_array()) {
        error = "no \"results\" array";
        return std::nullopt;
    }
    ResultFile file;
    const Json& results = document["results"];
    for (std::size_t i = 0; i < results.size(); ++i) {
        ResultRow row;
        if (!results[i].is_object() || !ReadRow(Fields(results[i]), row, error)) {
            error = "result " + std::to_string(i + 1) + ": " + (error.empty() ? "not an object" : error);
            return std::nullopt;
        }
        file.Rows.push_back(row);
    }
    if (document.contains("context") && document["context"].is_object()) {
        Fields c(document["context"]);
        std::string description = c.Text("program").value_or("") + " " + c.Text("version").value_or("");
        if (auto bits = c.Text("architecture")) description += ", " + *bits;
        if (auto wine = c.Text("wine_version")) description += ", Wine " + *wine;
        else if (auto windows = c.Text("windows_version")) description += ", Windows " + *windows;
        if (auto date = c.Text("date")) description += ", " + *date;
        file.Description = description;
        file.ReferenceMs = c.Numbers("machine_reference_ms");
    }
    return file;
}

std::optional<ResultFile> ReadCsv(const std::string& text, std::string& error) {
    std::vector<std::vector<std::string>> rows = ParseCsv(text);
    if (rows.empty()) {
        error = "empty file";
        return std::nullopt;
    }
    const std::vector<std::string>& header = rows.front();
    ResultFile file;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if (rows[i].size() == 1 && rows[i][0].empty()) continue;  // a blank line
        Json object = Json::object();
        for (std::size_t c = 0; c < header.size() && c < rows[i].size(); ++c) object[header[c]] = rows[i][c];
        ResultRow row;
        if (!ReadRow(Fields(object), row, error)) {
            error = "line " + std::to_string(i + 1) + ": " + error;
            return std::nullopt;
        }
        file.Rows.push_back(row);
    }
    return file;
}

bool SameConfiguration(const Configuration& a, const Configuration& b) {
    return a.Face == b.Face && a.Size == b.Size && a.Bold == b.Bold && a.Italic == b.Italic && a.Opaque == b.Opaque;
}

std::string Cell(const std::optional<double>& value) { return value ? PreciseText(*value) : ""; }

}  // namespace

std::optional<ResultFile> ReadResults(const std::string& text, std::string& error) {
    const std::size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    const std::string body = text.substr(start);
    const std::size_t first = body.find_first_not_of(" \t\r\n");
    if (first != std::string::npos && (body[first] == '{' || body[first] == '[')) return ReadJson(body, error);
    return ReadCsv(body, error);
}

Comparisons CompareFiles(const ResultFile& oldFile, const ResultFile& newFile, double margin) {
    Comparisons result;
    double factor = 1;
    bool judge = false;
    result.Machine = CompareSamples(oldFile.ReferenceMs, newFile.ReferenceMs, 0);
    if (!result.Machine) {
        result.Note = "No machine reference in both files: ratios are not judged.";
    } else if (std::fabs(result.Machine->Ratio - 1) > kMachineChangeLimit) {
        result.Note = "The machine's speed changed too much for a verdict (more than " +
                      FormatSignificant(kMachineChangeLimit * 100, 2) + "%).";
    } else {
        factor = result.Machine->Ratio;
        judge = true;
        result.Note = "Adjusted ratios are divided by the machine reference's.";
    }

    for (const ResultRow& row : oldFile.Rows) result.Rows.push_back({row.Config, row.MedianMs, std::nullopt, {}});
    for (const ResultRow& row : newFile.Rows) {
        ComparedRow* match = nullptr;
        for (ComparedRow& pair : result.Rows)
            if (!match && !pair.New && SameConfiguration(pair.Config, row.Config)) match = &pair;
        if (!match) {
            result.Rows.push_back({row.Config, std::nullopt, std::nullopt, {}});
            match = &result.Rows.back();
        }
        match->New = row.MedianMs;
        const std::size_t index = static_cast<std::size_t>(match - result.Rows.data());
        if (index >= oldFile.Rows.size()) continue;
        std::vector<double> adjusted = row.SamplesMs;
        for (double& ms : adjusted) ms /= factor;
        match->Adjusted = CompareSamples(oldFile.Rows[index].SamplesMs, adjusted, margin);
        if (match->Adjusted && !judge)
            match->Adjusted->Call = result.Machine ? Verdict::MachineChanged : Verdict::None;
    }
    return result;
}

std::string CompareReport(const std::string& oldName, const ResultFile& oldFile, const std::string& newName,
                          const ResultFile& newFile, const Comparisons& compared, OutputFormat format) {
    auto flag = [](bool on) { return on ? "true" : "false"; };
    std::string out;
    switch (format) {
    case OutputFormat::Table: {
        out += "old: " + oldName + (oldFile.Description.empty() ? "" : " (" + oldFile.Description + ")") + "\n";
        out += "new: " + newName + (newFile.Description.empty() ? "" : " (" + newFile.Description + ")") + "\n";
        if (compared.Machine)
            out += "Machine reference, new / old: " + FormatSignificant(compared.Machine->Ratio, 3) + " (" +
                   IntervalText(compared.Machine->Low, compared.Machine->High) + "). ";
        out += compared.Note + "\nMedian time per call in ms; ratio is new / old, below 1 is faster; verdict from "
               "Mann-Whitney's U (p < 0.05).\n\n";
        std::vector<std::vector<std::string>> rows = {{"face", "size", "style", "background", "old", "new", "ratio",
                                                       "adjusted", "95% interval", "verdict"}};
        for (const ComparedRow& r : compared.Rows) {
            auto three = [](const std::optional<double>& v) { return v ? FormatSignificant(*v, 3) : "-"; };
            const auto& a = r.Adjusted;
            rows.push_back({r.Config.Face, PreciseText(r.Config.Size), StyleName(r.Config.Bold, r.Config.Italic),
                            r.Config.Opaque ? "opaque" : "transparent", three(r.Old), three(r.New), three(r.Ratio()),
                            a ? FormatSignificant(a->Ratio, 3) : "-", a ? IntervalText(a->Low, a->High) : "-",
                            a ? VerdictName(a->Call) : "-"});
        }
        out += AlignColumns(rows, {false, true, false, false, true, true, true, true, true, false});
        break;
    }
    case OutputFormat::Csv:
        out = "face,size,bold,italic,opaque,old_median_ms,new_median_ms,ratio,adjusted_ratio,ratio_low,ratio_high,p,"
              "verdict\n";
        for (const ComparedRow& r : compared.Rows) {
            const auto& a = r.Adjusted;
            out += CsvField(r.Config.Face) + "," + PreciseText(r.Config.Size) + "," + flag(r.Config.Bold) + "," +
                   flag(r.Config.Italic) + "," + flag(r.Config.Opaque) + "," + Cell(r.Old) + "," + Cell(r.New) + "," +
                   Cell(r.Ratio()) + "," +
                   (a ? PreciseText(a->Ratio) + "," + PreciseText(a->Low) + "," + PreciseText(a->High) + "," +
                            PreciseText(a->P) + "," + CsvField(VerdictName(a->Call))
                      : std::string(",,,,")) +
                   "\n";
        }
        break;
    case OutputFormat::Json: {
        nlohmann::ordered_json rows = nlohmann::ordered_json::array();
        auto number = [](const std::optional<double>& v) { return v ? Json(Precise(*v)) : Json(); };
        for (const ComparedRow& r : compared.Rows) {
            nlohmann::ordered_json row = {{"face", r.Config.Face}, {"size", r.Config.Size}, {"bold", r.Config.Bold},
                                          {"italic", r.Config.Italic}, {"opaque", r.Config.Opaque},
                                          {"old_median_ms", number(r.Old)}, {"new_median_ms", number(r.New)},
                                          {"ratio", number(r.Ratio())}};
            if (const auto& a = r.Adjusted)
                row.update({{"adjusted_ratio", Precise(a->Ratio)}, {"ratio_low", Precise(a->Low)},
                            {"ratio_high", Precise(a->High)}, {"p", Precise(a->P)}, {"verdict", VerdictName(a->Call)}});
            rows.push_back(row);
        }
        nlohmann::ordered_json doc = {{"old", oldName}, {"new", newName}};
        if (compared.Machine) doc["machine_ratio"] = Precise(compared.Machine->Ratio);
        doc["note"] = compared.Note;
        doc["rows"] = rows;
        out = doc.dump(2) + "\n";
        break;
    }
    }
    return out;
}
