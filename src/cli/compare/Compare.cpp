// Two result files set against each other: rows paired by configuration, each pair judged.
#include "cli/compare/Compare.h"

#include <cmath>


namespace {

bool IsCall(Verdict v) { return v == Verdict::Faster || v == Verdict::Slower; }

// Each pass in units of the machine reference it saw, or of the file's typical one where
// the file kept no reference beside its passes.
std::vector<double> InReferenceUnits(const Result& row, double typical) {
    std::vector<double> units = row.PerCallMs;
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] /= row.ReferenceMs.size() == units.size() ? row.ReferenceMs[i] : typical;
    return units;
}

// The old row a new one pairs with: the same configuration, at the same length where both swept it.
std::optional<std::size_t> Partner(const std::vector<ComparedRow>& rows, std::size_t oldRows, const Configuration& k) {
    std::optional<std::size_t> any;
    for (std::size_t i = 0; i < oldRows; ++i) {
        if (rows[i].New || !SameConfiguration(rows[i].Config, k)) continue;
        if (rows[i].Config == k) return i;
        if (!any) any = i;
    }
    return any;
}

}  // namespace

Comparisons CompareFiles(const RunResults& oldFile, const RunResults& newFile, double margin,
                         bool despiteDifferences) {
    Comparisons result;
    const auto oldTerms = MeasuredTerms(oldFile.Context), newTerms = MeasuredTerms(newFile.Context);
    for (const auto& [name, value] : oldTerms) {
        const auto other = newTerms.find(name);
        if (other != newTerms.end() && other->second != value) result.Differences.push_back(name);
    }
    const std::vector<double> oldReference = PassReferences(oldFile), newReference = PassReferences(newFile);
    if (oldFile.Context.ReferenceKind == newFile.Context.ReferenceKind)
        result.Machine = CompareSamples(oldReference, newReference, 0);
    const bool judge = result.Machine && std::fabs(result.Machine->Ratio - 1) <= kMachineChangeLimit;
    result.Use = !result.Machine ? MachineUse::NoReference : judge ? MachineUse::Adjusted : MachineUse::ChangedTooMuch;
    result.Withheld = !result.Differences.empty() && !despiteDifferences;

    const double oldTypical = Summarize(oldReference).Median, newTypical = Summarize(newReference).Median;
    const std::size_t oldRows = oldFile.Rows.size();
    for (const Result& row : oldFile.Rows) result.Rows.push_back({row.Config, row.Stats.Median, std::nullopt, {}});
    for (const Result& row : newFile.Rows) {
        const std::optional<std::size_t> partner = Partner(result.Rows, oldRows, row.Config);
        if (!partner) {
            result.Rows.push_back({row.Config, std::nullopt, row.Stats.Median, {}});
            continue;
        }
        const Result& old = oldFile.Rows[*partner];
        ComparedRow& paired = result.Rows[*partner];
        paired.New = row.Stats.Median;
        result.InCommon = true;
        auto& judged = paired.Adjusted;
        if (!result.Machine) {
            judged = CompareSamples(old.PerCallMs, row.PerCallMs, margin);
            if (judged && judged->Call != Verdict::TooFew) judged->Call = Verdict::None;
            continue;
        }
        // The reference follows the drawing's speed only in part, and between runs it has moved
        // where the drawing did not: a change is called when it holds with the reference taken
        // out and without, beyond the margin and the reference's own move.
        const double allowance = margin + std::fabs(result.Machine->Ratio - 1);
        judged = CompareSamples(InReferenceUnits(old, oldTypical), InReferenceUnits(row, newTypical), allowance);
        const std::optional<Comparison> plain = CompareSamples(old.PerCallMs, row.PerCallMs, allowance);
        if (!judged || judged->Call == Verdict::TooFew) continue;
        if (plain && IsCall(judged->Call) && plain->Call != judged->Call) judged->Call = Verdict::Unconfirmed;
        if (!judge) judged->Call = Verdict::MachineChanged;
        if (result.Withheld) judged->Call = Verdict::ContextDiffers;
    }
    return result;
}
