// Text tables: columns aligned for a console, and CSV.
#include "cli/output/Reports.h"

#include <algorithm>
#include <cstdio>

#include "cli/text/Utf8.h"

namespace {

// RFC 4180 fields: quoted only when they hold a comma, a quote or a line break.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

}  // namespace

std::string AlignColumns(const std::vector<std::vector<std::string>>& rows, const std::vector<bool>& rightAligned) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        if (row.size() < 2) continue;
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    }
    std::string out;
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (row.size() < 2) {
                out += row[c];
                continue;
            }
            const std::string padding(widths[c] - DisplayWidth(row[c]), ' ');
            const bool right = c < rightAligned.size() && rightAligned[c];
            out += (c ? "  " : "") + (right ? padding + row[c] : row[c] + (c + 1 < row.size() ? padding : ""));
        }
        out += "\n";
    }
    return out;
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
