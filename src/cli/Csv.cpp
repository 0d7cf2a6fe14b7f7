#include "cli/Csv.h"

#include <cstdio>

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i], next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (quoted && c == '"' && next == '"') rows.back().back() += text[++i];
        else if (c == '"') quoted = !quoted;
        else if (quoted || (c != ',' && c != '\n' && c != '\r')) rows.back().back() += c;
        else if (c == ',') rows.back().emplace_back();
        else if (c == '\n' || next != '\n') rows.emplace_back(1);  // CR LF ends the row at its LF
    }
    // The last line end starts no row.
    if (rows.back().size() == 1 && rows.back()[0].empty()) rows.pop_back();
    return rows;
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
