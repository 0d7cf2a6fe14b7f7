// Any file given to --compare: read as --compare reads it, then compared with itself and
// written in every form. Nothing may throw, and what reads writes back out.
#include <string>
#include <vector>

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
    // As one run a side, or as the same run made several times a side.
    const std::vector<RunResults> runs(1 + size % 3, *file);
    const Comparisons compared = CompareRuns(runs, runs, 0.02, size % 2);
    FUZZ_CHECK(compared.InCommon);
    const RunSide side{std::vector<std::string>(runs.size(), "f"), runs};
    OutOfOrder(runs, runs);
    FUZZ_CHECK(!CompareTable(side, side, compared).empty() && !CompareCsv(compared).empty() &&
               !CompareJson(side, side, compared).empty() && !CompareChart(compared).empty());
    return 0;
}
