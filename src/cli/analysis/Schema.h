// The result files' schema, once: what the JSON (and so the CSV) output writes, and what --compare reads back.
#pragma once
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/analysis/Results.h"

using Json = nlohmann::ordered_json;

// A value that is there but is not what the schema says; the message names the field.
struct SchemaError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Six significant digits, as the machine-readable forms keep them; null where there is no figure.
Json Precise(double value);

void to_json(Json& j, const RunContext& context);
void to_json(Json& j, const Result& row);
void to_json(Json& j, const LengthFit& fit);
void to_json(Json& j, const RunResults& results);  // {"context", "results", "fits"}

// Fields an earlier file lacks read as the defaults; a field of the wrong kind throws SchemaError.
void from_json(const Json& j, RunContext& context);
void from_json(const Json& j, Result& row);
// The rows of a file, with their length a key only where the file holds more than one.
void from_json(const Json& j, RunResults& results);
