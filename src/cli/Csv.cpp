#include "cli/Csv.h"

#include <cstdio>

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false, started = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') field += text[++i];
        else if (c == '"') quoted = !quoted;
        else if (quoted || (c != ',' && c != '\n' && c != '\r')) field += c;
        else {
            row.push_back(std::move(field));
            field.clear();
            if (c == ',') continue;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            rows.push_back(std::move(row));
            row.clear();
            started = false;
            continue;
        }
        started = true;
    }
    if (started || !row.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
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
