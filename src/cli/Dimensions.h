#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/CliOptions.h"
#include "cli/CostModel.h"
#include "cli/Report.h"

// A --length value: a whole number of bytes from 1 to 65535, in digits.
std::optional<std::size_t> ReadLength(const std::string& text);

// Each configuration once per call, quality and length, lengths innermost.
std::vector<Configuration> WithDimensions(const std::vector<Configuration>& configs, const CliOptions& options);

// A --baseline part that names the configuration's call, quality or length ("64 bytes").
bool NamesDimension(const std::string& part, const Configuration& config);
// The call, quality and length where they are not the defaults, for labels.
std::string DimensionLabel(const Configuration& config);

// Two files' rows are the same configuration; a row whose file does not say its length
// (CSV before lengths were swept) pairs with any.
bool SameConfiguration(const Configuration& a, const Configuration& b);

// Reads them back; a field an earlier file lacks reads as the default, a length as the
// context's text_bytes. False, with the reason, for a value that does not read.
bool ReadDimensionFields(const nlohmann::ordered_json& row, const nlohmann::ordered_json& context,
                         Configuration& config, std::string& error);

// A configuration swept over lengths, and what its passes fit.
struct LengthFit {
    Configuration Config;  // LengthBytes 0
    std::optional<CostModel> Model;
    std::string Reason;           // why there is no model
    std::size_t Last = 0;         // the last of its results
    Estimate AtText;              // the fitted time at the length of the text as given
    std::size_t ClippedFrom = 0;  // the shortest length whose text runs past the canvas; 0: none
};
// One a configuration measured at given lengths; none without a length sweep. textBytes: the
// text as given, where each fit is also read.
std::vector<LengthFit> FitLengths(const std::vector<Measurement>& results, std::size_t textBytes);
// The table with each fit's line under its configuration's last row (table: header, then a line a result).
std::string WithFitLines(const std::string& table, const std::vector<LengthFit>& fits);
nlohmann::ordered_json FitsJson(const std::vector<LengthFit>& fits);
