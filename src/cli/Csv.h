#pragma once
#include <string>
#include <vector>

// RFC 4180 fields: quoted only when they hold a comma, a quote or a line break.
std::string CsvField(const std::string& text);

// Rows of fields; accepts LF or CRLF line ends and quoted fields spanning
// lines. A trailing line end adds no empty row.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text);

#include <nlohmann/json.hpp>

// A CSV table of JSON objects that share their members: the members' names
// make the header; arrays are left out, null is an empty field.
std::string CsvFromRows(const nlohmann::ordered_json& rows);
