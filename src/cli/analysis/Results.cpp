// Analysis: every figure, verdict and fit a run's outputs show, computed once from its measurements.
#include "cli/analysis/Results.h"

#include <cmath>
#include <map>

namespace {

Configuration WithoutLength(Configuration config) {
    config.LengthBytes = 0;
    return config;
}

std::vector<LengthFit> FitLengths(const std::vector<Result>& rows, std::size_t textBytes) {
    std::vector<LengthFit> fits;
    std::map<std::size_t, std::vector<LengthSample>> passes;  // by fit
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Result& r = rows[i];
        if (!r.Config.LengthBytes) continue;
        std::size_t f = 0;
        while (f < fits.size() && !(fits[f].Config == WithoutLength(r.Config))) ++f;
        if (f == fits.size()) fits.push_back({WithoutLength(r.Config), std::nullopt, "", i, {}, 0});
        fits[f].Last = i;
        if (r.Clipped && (!fits[f].ClippedFrom || r.TextBytes < fits[f].ClippedFrom)) fits[f].ClippedFrom = r.TextBytes;
        for (double ms : r.PerCallMs) passes[f].push_back({r.TextBytes, r.TextChars, ms});
    }
    for (std::size_t f = 0; f < fits.size(); ++f)
        if ((fits[f].Model = FitCostModel(passes[f], fits[f].Reason)))
            fits[f].AtText = fits[f].Model->PerByte.Predict(static_cast<double>(textBytes));
    return fits;
}

}  // namespace

SelfCheckRow AnalyseSelfCheck(const SelfCheckPairs& pairs) {
    std::vector<double> ratios;
    for (std::size_t p = 0; p < pairs.RunUs.size() && p < pairs.LoopUs.size(); ++p)
        ratios.push_back(pairs.RunUs[p] / pairs.LoopUs[p]);
    if (ratios.empty()) return {pairs.Count, NAN, NAN, {NAN, NAN, NAN}};
    return {pairs.Count, Summarize(pairs.RunUs).Median, Summarize(pairs.LoopUs).Median, MedianWithInterval(ratios)};
}

RunResults Analyse(RunContext context, std::vector<Measurement> measured, std::optional<std::size_t> baseline) {
    RunResults results;
    // Each pass as it would have taken with the machine at its typical speed of the run.
    const double typical = Summarize(context.ReferenceMs).Median;
    for (Measurement& m : measured) {
        Result r;
        static_cast<Measurement&>(r) = std::move(m);
        r.Stats = Summarize(r.PerCallMs);
        for (std::size_t i = 0; i < r.PerCallMs.size() && i < r.ReferenceMs.size(); ++i)
            r.AdjustedMs.push_back(r.PerCallMs[i] * typical / r.ReferenceMs[i]);
        r.AdjustedCv = Summarize(r.AdjustedMs).Cv;
        results.Rows.push_back(std::move(r));
    }
    if (baseline && *baseline < results.Rows.size()) {
        results.Judged = true;
        const std::vector<double>& base = results.Rows[*baseline].AdjustedMs;
        for (std::size_t i = 0; i < results.Rows.size(); ++i) {
            results.Rows[i].Judged = true;
            results.Rows[i].IsBaseline = i == *baseline;
            if (i != *baseline)
                results.Rows[i].VsBaseline =
                    CompareSamples(base, results.Rows[i].AdjustedMs, context.Options.Margin);
        }
    }
    results.Fits = FitLengths(results.Rows, context.TextBytes);
    results.Context = std::move(context);
    return results;
}
