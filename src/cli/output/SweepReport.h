// A run's finished results written out: as a table, CSV or JSON, and the self-check's table.
#pragma once
#include <string>
#include <vector>

#include "cli/analysis/Results.h"

std::string TableReport(const RunResults& results);
std::string CsvReport(const RunResults& results);
std::string JsonReport(const RunResults& results);
std::string SelfCheckReport(const Configuration& config, int pairs, const std::vector<SelfCheckRow>& rows);
