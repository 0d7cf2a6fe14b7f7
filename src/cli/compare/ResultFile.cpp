// Reading result files back: this program's JSON or CSV output, into the run's own result model.
#include "cli/compare/Compare.h"

#include <algorithm>

#include "cli/analysis/Schema.h"
#include "cli/text/Utf8.h"

namespace {

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

std::size_t LineOf(const std::string& text, std::size_t byte) {
    const auto end = text.begin() + static_cast<std::ptrdiff_t>(std::min(byte, text.size()));
    return 1 + static_cast<std::size_t>(std::count(text.begin(), end, '\n'));
}

// The file as a JSON document; a CSV table's rows go under "results", and lines gets where each starts.
Json Document(const std::string& text, std::vector<std::size_t>& lines) {
    const std::string body = text.substr(text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0);
    const std::size_t first = body.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) throw SchemaError("empty file");
    if (body[first] == '{' || body[first] == '[') {
        try {
            Json document = Json::parse(body);
            return document.is_object() ? std::move(document) : Json::object();
        } catch (const Json::parse_error& e) {
            throw SchemaError("not valid JSON at line " + std::to_string(LineOf(body, e.byte)));
        }
    }
    // A spreadsheet may save it in the ANSI code page; its faces would not read back as named.
    if (const std::size_t good = Utf8Prefix(body); good < body.size())
        throw SchemaError("line " + std::to_string(LineOf(body, good)) + " is not UTF-8 text; save the file as UTF-8");
    return {{"results", CsvRecords(body, lines)}};
}

}  // namespace

std::optional<RunResults> ReadResults(const std::string& text, std::string& error) {
    std::vector<std::size_t> lines;  // where each CSV row starts; none for JSON
    try {
        RunResults results = Document(text, lines).get<RunResults>();
        if (results.Rows.empty()) throw SchemaError("no result row");
        return results;
    } catch (const SchemaError& e) {
        error = e.what();
        // A CSV row is named by its line.
        const std::string prefix = "result ";
        if (!lines.empty() && error.compare(0, prefix.size(), prefix) == 0)
            error = "line " + std::to_string(lines.at(std::stoul(error.substr(prefix.size())) - 1)) +
                    error.substr(error.find(':'));
    } catch (const std::exception& e) {
        error = std::string("cannot be read (") + e.what() + ")";
    }
    return std::nullopt;
}

std::map<std::string, std::string> MeasuredTerms(const RunContext& c) {
    std::map<std::string, std::string> terms = {
        {"text", Json(c.Options.Text).dump(-1, ' ', false, Json::error_handler_t::replace)},
        {"architecture", std::to_string(c.Bits) + "-bit"},
        {"ANSI code page", std::to_string(c.AnsiCodePage)},
        // Under auto the counts differ from run to run as well; whether the count was fixed tells runs apart.
        {"count mode", c.Options.Count ? "fixed" : "auto"}};
    for (const std::string& missing : c.Unrecorded) terms.erase(missing);
    return terms;
}

std::vector<double> PassReferences(const RunResults& file) {
    // Every slice's reference is thousands in a long sweep, and the machine's comparison
    // pairs them all; the passes' own tell the same.
    if (file.Rows.empty() || file.Rows.front().ReferenceMs.empty()) return file.Context.ReferenceMs;
    std::vector<double> all;
    for (const Result& row : file.Rows) all.insert(all.end(), row.ReferenceMs.begin(), row.ReferenceMs.end());
    return all;
}
