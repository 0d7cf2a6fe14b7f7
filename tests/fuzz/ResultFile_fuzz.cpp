// Any file given to --compare: read as --compare reads it, then compared with itself and
// written in every form. Nothing may throw, and what reads writes back out.
#include <string>

#include "FuzzInput.h"
#include "cli/chart/Plot.h"
#include "cli/compare/Compare.h"
#include "cli/output/Reports.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const std::optional<RunResults> file = ReadResults(text, error);
    FUZZ_CHECK(file.has_value() == error.empty());
    if (!file) return 0;
    FUZZ_CHECK(!file->Rows.empty());
    const Comparisons compared = CompareFiles(*file, *file, 0.02, size % 2);
    FUZZ_CHECK(compared.InCommon);
    const NamedFile named{"f", *file};
    FUZZ_CHECK(!CompareTable(named, named, compared).empty() && !CompareCsv(compared).empty() &&
               !CompareJson(named, named, compared).empty() && !CompareChart(compared).empty());
    return 0;
}
