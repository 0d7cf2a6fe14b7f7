// Text tables: columns aligned for a console, and CSV.
#pragma once
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// Columns two spaces apart; those marked in rightAligned (numbers) are padded on the
// left, and the last column is never padded on the right. A row of one cell is a line
// of its own, under the row before it, that the columns do not widen for.
std::string AlignColumns(const std::vector<std::vector<std::string>>& rows, const std::vector<bool>& rightAligned);

// A CSV table of JSON objects that share their members: the members' names
// make the header; arrays are left out, null is an empty field.
std::string CsvFromRows(const nlohmann::ordered_json& rows);
