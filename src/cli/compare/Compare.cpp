// The runs of two sides set against each other: rows paired by configuration, each pair judged.
#include "cli/compare/Compare.h"

#include <algorithm>
#include <cmath>

#include "cli/analysis/Paired.h"

namespace {

// The row of a run that measured configuration k: the same one, else one at any length where
// one side did not sweep lengths.
const Result* Find(const RunResults& run, const Configuration& k) {
    const Result* any = nullptr;
    for (const Result& row : run.Rows) {
        if (row.Config == k) return &row;
        if (!any && SameConfiguration(row.Config, k)) any = &row;
    }
    return any;
}

double Median(std::vector<double> values) { return Summarize(std::move(values)).Median; }

// One run a side: the interval holds the passes' spread, not the drift between the runs, so a
// change inside that drift is not called.
Comparison OneRunEach(const Comparison& passes, double margin) {
    Comparison c = passes;
    if (c.Call == Verdict::TooFew) return c;
    const double beyond = (1 + margin) * (1 + kRunDrift);
    c.Call = c.High < 1 / beyond ? Verdict::Faster
             : c.Low > beyond    ? Verdict::Slower
             : c.Low <= 1 && 1 <= c.High ? Verdict::Same
                                         : Verdict::Drift;
    return c;
}

// A run's date as seconds-and-fraction text that sorts in time order; empty when not recorded.
std::string DateKey(const RunContext& c) {
    if (c.Date.size() < 19) return "";
    const std::size_t dot = c.Date.find('.', 19);
    return c.Date.substr(0, 19) + (dot == 19 ? c.Date.substr(19, c.Date.find('Z', 19) - 19) : "");
}

}  // namespace

Comparisons CompareRuns(const std::vector<RunResults>& oldRuns, const std::vector<RunResults>& newRuns, double margin,
                        bool despiteDifferences) {
    Comparisons result;
    result.Runs = std::min(oldRuns.size(), newRuns.size());
    const auto first = MeasuredTerms(oldRuns.front().Context);
    for (const auto* side : {&oldRuns, &newRuns})
        for (const RunResults& run : *side)
            for (const auto& [name, value] : MeasuredTerms(run.Context)) {
                const auto there = first.find(name);
                if (there != first.end() && there->second != value &&
                    std::find(result.Differences.begin(), result.Differences.end(), name) == result.Differences.end())
                    result.Differences.push_back(name);
            }
    result.Withheld = !result.Differences.empty() && !despiteDifferences;

    // The first pair's rows set the order; a new row pairs with an old one not yet taken.
    const RunResults &oldFirst = oldRuns.front(), &newFirst = newRuns.front();
    for (const Result& row : oldFirst.Rows) result.Rows.push_back({row.Config, {}, {}, {}});
    std::vector<const Result*> newOf(result.Rows.size());
    for (const Result& row : newFirst.Rows) {
        std::size_t at = 0, any = newOf.size();
        for (; at < newOf.size() && (newOf[at] || !(result.Rows[at].Config == row.Config)); ++at)
            if (any == newOf.size() && !newOf[at] && SameConfiguration(result.Rows[at].Config, row.Config)) any = at;
        if (at == newOf.size()) at = any;
        if (at == newOf.size()) result.Rows.push_back({row.Config, {}, {}, {}}), newOf.push_back(nullptr);
        newOf[at] = &row;
    }
    for (std::size_t at = 0; at < result.Rows.size(); ++at) {
        ComparedRow& paired = result.Rows[at];
        const Result* const oldRow = at < oldFirst.Rows.size() ? &oldFirst.Rows[at] : nullptr;
        const Result* const newRow = newOf[at];
        // Every run's median of this configuration, and the pairs whose two runs both measured it.
        std::vector<double> oldAll, newAll, oldMs, newMs;
        for (std::size_t i = 0; i < result.Runs; ++i) {
            const Result* o = i ? (oldRow ? Find(oldRuns[i], oldRow->Config) : nullptr) : oldRow;
            const Result* n = i ? (newRow ? Find(newRuns[i], newRow->Config) : nullptr) : newRow;
            if (o) oldAll.push_back(o->Stats.Median);
            if (n) newAll.push_back(n->Stats.Median);
            if (o && n) oldMs.push_back(o->Stats.Median), newMs.push_back(n->Stats.Median);
        }
        if (!oldAll.empty()) paired.Old = Median(oldAll);
        if (!newAll.empty()) paired.New = Median(newAll);
        if (!oldRow || !newRow) continue;
        result.InCommon = true;
        std::optional<Comparison>& change = paired.Change;
        if (result.Runs == 1) {
            const std::optional<Comparison> passes = CompareSamples(oldRow->PerCallMs, newRow->PerCallMs, margin);
            if (passes) change = OneRunEach(*passes, margin);
        } else {
            change = ComparePaired(oldMs, newMs, margin, 1 - kConfidence);
        }
        if (change && change->Call != Verdict::TooFew && result.Withheld) change->Call = Verdict::ContextDiffers;
    }
    return result;
}

std::optional<std::size_t> OutOfOrder(const std::vector<RunResults>& oldRuns, const std::vector<RunResults>& newRuns) {
    std::string last;
    for (std::size_t i = 0; i < std::min(oldRuns.size(), newRuns.size()); ++i) {
        const std::string a = DateKey(oldRuns[i].Context), b = DateKey(newRuns[i].Context);
        if ((!a.empty() && a < last) || (!b.empty() && b < last)) return i;
        last = std::max({last, a, b});
    }
    return std::nullopt;
}
