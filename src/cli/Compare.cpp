#include "cli/Compare.h"

#include <cmath>
#include <cstdlib>

#include "cli/Csv.h"
#include "cli/Json.h"
#include "cli/Report.h"

namespace {

// A record of this program's output; filled from a JSON object or a CSV row.
class Fields {
public:
    virtual ~Fields() = default;
    virtual bool Has(const wchar_t* name) const = 0;
    virtual std::optional<std::wstring> Text(const wchar_t* name) const = 0;
    virtual std::optional<double> Number(const wchar_t* name) const = 0;
    virtual std::optional<bool> Flag(const wchar_t* name) const = 0;
};

class JsonFields : public Fields {
public:
    explicit JsonFields(const JsonValue& object) : object_(object) {}
    bool Has(const wchar_t* name) const override { return object_.Find(name) != nullptr; }
    std::optional<std::wstring> Text(const wchar_t* name) const override {
        const JsonValue* v = object_.Find(name);
        if (!v || v->Kind != JsonValue::Type::String) return std::nullopt;
        return v->String;
    }
    std::optional<double> Number(const wchar_t* name) const override {
        const JsonValue* v = object_.Find(name);
        if (!v || v->Kind != JsonValue::Type::Number) return std::nullopt;
        return v->Number;
    }
    std::optional<bool> Flag(const wchar_t* name) const override {
        const JsonValue* v = object_.Find(name);
        if (!v || v->Kind != JsonValue::Type::Bool) return std::nullopt;
        return v->Bool;
    }

private:
    const JsonValue& object_;
};

class CsvFields : public Fields {
public:
    CsvFields(const std::vector<std::wstring>& header, const std::vector<std::wstring>& row)
        : header_(header), row_(row) {}
    bool Has(const wchar_t* name) const override { return Cell(name) != nullptr; }
    std::optional<std::wstring> Text(const wchar_t* name) const override {
        const std::wstring* cell = Cell(name);
        if (!cell) return std::nullopt;
        return *cell;
    }
    std::optional<double> Number(const wchar_t* name) const override {
        const std::wstring* cell = Cell(name);
        if (!cell || cell->empty()) return std::nullopt;
        std::string ascii;
        for (wchar_t c : *cell) {
            if (c > 0x7F) return std::nullopt;
            ascii += static_cast<char>(c);
        }
        char* end = nullptr;
        double value = std::strtod(ascii.c_str(), &end);
        if (*end != '\0' || !std::isfinite(value)) return std::nullopt;
        return value;
    }
    std::optional<bool> Flag(const wchar_t* name) const override {
        const std::wstring* cell = Cell(name);
        if (!cell) return std::nullopt;
        if (*cell == L"true") return true;
        if (*cell == L"false") return false;
        return std::nullopt;
    }

private:
    const std::wstring* Cell(const wchar_t* name) const {
        for (size_t i = 0; i < header_.size() && i < row_.size(); ++i)
            if (header_[i] == name) return &row_[i];
        return nullptr;
    }
    const std::vector<std::wstring>& header_;
    const std::vector<std::wstring>& row_;
};

bool ReadRow(const Fields& fields, ResultRow& row, std::wstring& error) {
    std::optional<std::wstring> face = fields.Text(L"face");
    std::optional<double> size = fields.Number(L"size");
    std::optional<double> median = fields.Number(L"median_ms");
    if (!face || !size || !median) {
        error = !face ? L"no face" : !size ? L"no size" : L"no median_ms";
        return false;
    }

    row.Config.Face = *face;
    row.Config.Size = *size;
    row.Config.Bold = fields.Flag(L"bold").value_or(false);
    row.Config.Italic = fields.Flag(L"italic").value_or(false);
    row.Config.Opaque = fields.Flag(L"opaque").value_or(false);
    row.RealizedFace = fields.Text(L"realized_face").value_or(L"");
    row.Substituted = fields.Flag(L"substituted").value_or(false);
    // Range-checked before the conversion: a hand-edited file can hold anything.
    const double count = fields.Number(L"count").value_or(0);
    row.Count = count >= 0 && count <= 2147483647.0 ? static_cast<std::int32_t>(count) : 0;
    const double repetitions = fields.Number(L"repetitions").value_or(0);
    row.Repetitions = repetitions >= 0 && repetitions <= 1e9 ? static_cast<int>(repetitions) : 0;
    row.MinMs = fields.Number(L"min_ms").value_or(0);
    row.MedianMs = *median;
    row.MeanMs = fields.Number(L"mean_ms").value_or(0);
    row.StdDevMs = fields.Number(L"stddev_ms");
    row.Cv = fields.Number(L"cv");
    row.CallsPerSecond = fields.Number(L"calls_per_second").value_or(0);
    row.BytesPerSecond = fields.Number(L"bytes_per_second").value_or(0);
    return true;
}

std::optional<ResultFile> ReadJson(const std::wstring& text, std::wstring& error) {
    std::optional<JsonValue> document = ParseJson(text, error);
    if (!document) return std::nullopt;
    const JsonValue* results = document->Find(L"results");
    if (!results || results->Kind != JsonValue::Type::Array) {
        error = L"no \"results\" array";
        return std::nullopt;
    }
    ResultFile file;
    for (size_t i = 0; i < results->Items.size(); ++i) {
        ResultRow row;
        if (!ReadRow(JsonFields(results->Items[i]), row, error)) {
            error = L"result " + std::to_wstring(i + 1) + L": " + error;
            return std::nullopt;
        }
        file.Rows.push_back(row);
    }
    if (const JsonValue* context = document->Find(L"context")) {
        JsonFields c(*context);
        std::wstring description = c.Text(L"program").value_or(L"") + L" " + c.Text(L"version").value_or(L"");
        if (auto bits = c.Text(L"architecture")) description += L", " + *bits;
        if (auto wine = c.Text(L"wine_version")) description += L", Wine " + *wine;
        else if (auto windows = c.Text(L"windows_version")) description += L", Windows " + *windows;
        if (auto date = c.Text(L"date")) description += L", " + *date;
        file.Description = description;
    }
    return file;
}

std::optional<ResultFile> ReadCsv(const std::wstring& text, std::wstring& error) {
    std::vector<std::vector<std::wstring>> rows = ParseCsv(text);
    if (rows.empty()) {
        error = L"empty file";
        return std::nullopt;
    }
    const std::vector<std::wstring>& header = rows.front();
    ResultFile file;
    for (size_t i = 1; i < rows.size(); ++i) {
        if (rows[i].size() == 1 && rows[i][0].empty()) continue;  // a blank line
        ResultRow row;
        if (!ReadRow(CsvFields(header, rows[i]), row, error)) {
            error = L"line " + std::to_wstring(i + 1) + L": " + error;
            return std::nullopt;
        }
        file.Rows.push_back(row);
    }
    return file;
}

bool SameConfiguration(const Configuration& a, const Configuration& b) {
    return a.Face == b.Face && a.Size == b.Size && a.Bold == b.Bold && a.Italic == b.Italic && a.Opaque == b.Opaque;
}

struct Pair {
    Configuration Config;
    std::optional<double> Old;
    std::optional<double> New;
    std::optional<double> Ratio() const {
        if (!Old || !New || *Old <= 0) return std::nullopt;
        return *New / *Old;
    }
};

std::vector<Pair> Match(const ResultFile& oldFile, const ResultFile& newFile) {
    std::vector<Pair> pairs;
    for (const ResultRow& row : oldFile.Rows) pairs.push_back({row.Config, row.MedianMs, std::nullopt});
    for (const ResultRow& row : newFile.Rows) {
        bool matched = false;
        for (Pair& pair : pairs) {
            if (!pair.New && SameConfiguration(pair.Config, row.Config)) {
                pair.New = row.MedianMs;
                matched = true;
                break;
            }
        }
        if (!matched) pairs.push_back({row.Config, std::nullopt, row.MedianMs});
    }
    return pairs;
}

std::wstring Optional(const std::optional<double>& value, int digits) {
    return value ? FormatSignificant(*value, digits) : L"-";
}

std::wstring JsonOptional(const std::optional<double>& value) { return value ? JsonNumber(*value, 6) : L"null"; }

}  // namespace

std::optional<ResultFile> ReadResults(const std::wstring& text, std::wstring& error) {
    size_t start = 0;
    if (!text.empty() && text[0] == 0xFEFF) start = 1;
    size_t first = text.find_first_not_of(L" \t\r\n", start);
    const std::wstring body = text.substr(start);
    if (first != std::wstring::npos && (text[first] == L'{' || text[first] == L'[')) return ReadJson(body, error);
    return ReadCsv(body, error);
}

std::wstring CompareReport(const std::wstring& oldName, const ResultFile& oldFile, const std::wstring& newName,
                           const ResultFile& newFile, OutputFormat format) {
    const std::vector<Pair> pairs = Match(oldFile, newFile);
    auto flag = [](bool on) { return on ? L"true" : L"false"; };
    std::wstring out;
    switch (format) {
    case OutputFormat::Table: {
        out += L"old: " + oldName + (oldFile.Description.empty() ? L"" : L" (" + oldFile.Description + L")") + L"\n";
        out += L"new: " + newName + (newFile.Description.empty() ? L"" : L" (" + newFile.Description + L")") + L"\n";
        out += L"Median time per call in ms; ratio is new / old, below 1 is faster.\n\n";
        std::vector<std::vector<std::wstring>> rows = {
            {L"face", L"size", L"style", L"background", L"old", L"new", L"ratio"}};
        for (const Pair& p : pairs)
            rows.push_back({p.Config.Face, JsonNumber(p.Config.Size, 6), StyleName(p.Config.Bold, p.Config.Italic),
                            p.Config.Opaque ? L"opaque" : L"transparent", Optional(p.Old, 3), Optional(p.New, 3),
                            Optional(p.Ratio(), 3)});
        out += AlignColumns(rows, {false, true, false, false, true, true, true});
        break;
    }
    case OutputFormat::Csv:
        out = L"face,size,bold,italic,opaque,old_median_ms,new_median_ms,ratio\n";
        for (const Pair& p : pairs) {
            auto cell = [](const std::optional<double>& v) { return v ? JsonNumber(*v, 6) : L""; };
            out += CsvField(p.Config.Face) + L"," + JsonNumber(p.Config.Size) + L"," + flag(p.Config.Bold) + L"," +
                   flag(p.Config.Italic) + L"," + flag(p.Config.Opaque) + L"," + cell(p.Old) + L"," + cell(p.New) +
                   L"," + cell(p.Ratio()) + L"\n";
        }
        break;
    case OutputFormat::Json:
        out = L"{\n  \"old\": " + JsonQuote(oldName) + L",\n  \"new\": " + JsonQuote(newName) + L",\n  \"rows\": [";
        for (size_t i = 0; i < pairs.size(); ++i) {
            const Pair& p = pairs[i];
            out += (i ? L",\n    {" : L"\n    {");
            out += L"\"face\": " + JsonQuote(p.Config.Face) + L", \"size\": " + JsonNumber(p.Config.Size) +
                   L", \"bold\": " + flag(p.Config.Bold) + L", \"italic\": " + flag(p.Config.Italic) +
                   L", \"opaque\": " + flag(p.Config.Opaque) + L", \"old_median_ms\": " + JsonOptional(p.Old) +
                   L", \"new_median_ms\": " + JsonOptional(p.New) + L", \"ratio\": " + JsonOptional(p.Ratio()) + L"}";
        }
        out += pairs.empty() ? L"]\n}\n" : L"\n  ]\n}\n";
        break;
    }
    return out;
}
