// Analysis: every figure, verdict and fit a run's outputs show, computed once from its measurements.
#include "cli/analysis/Results.h"

#include <cmath>
#include <map>

#include "cli/analysis/Paired.h"
#include "cli/text/Numbers.h"

namespace {

// What a length fit groups by: a repeated configuration's passes are more passes of the same line.
Configuration WithoutLength(Configuration config) {
    config.LengthBytes = 0;
    config.Repeat = 0;
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
        if (f == fits.size()) fits.push_back({WithoutLength(r.Config), std::nullopt, "", {}, {}, 0});
        fits[f].Rows.push_back(i);
        if (r.Clipped && (!fits[f].ClippedFrom || r.TextBytes < fits[f].ClippedFrom)) fits[f].ClippedFrom = r.TextBytes;
        for (double ms : r.PerCallMs) passes[f].push_back({r.TextBytes, r.TextChars, ms});
    }
    for (std::size_t f = 0; f < fits.size(); ++f)
        if ((fits[f].Model = FitCostModel(passes[f], fits[f].Reason)))
            fits[f].AtText = fits[f].Model->PerByte.Predict(static_cast<double>(textBytes));
    return fits;
}

}  // namespace

std::size_t RoundsNeeded(double confidence) {
    std::size_t n = 1;
    while (SignedRankIntervalRank(n, 1 - confidence) == 0) ++n;
    return n;
}

std::size_t Undecided(const std::vector<std::vector<double>>& perCallMs, std::optional<std::size_t> baseline,
                      double margin, double confidence) {
    std::size_t open = 0;
    for (std::size_t c = 0; c < perCallMs.size(); ++c) {
        if (!baseline) {
            open += !MedianKnown(perCallMs[c], 1 - confidence);
        } else if (c != *baseline) {
            const auto vs = ComparePaired(perCallMs[*baseline], perCallMs[c], margin, 1 - confidence);
            open += !vs || !Decided(vs->Call);
        }
    }
    return open;
}

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
        std::vector<double> adjusted;
        for (std::size_t i = 0; i < r.PerCallMs.size() && i < r.ReferenceMs.size(); ++i)
            adjusted.push_back(r.PerCallMs[i] * typical / r.ReferenceMs[i]);
        r.AdjustedCv = Summarize(adjusted).Cv;
        results.Rows.push_back(std::move(r));
    }
    results.Judged = baseline && *baseline < results.Rows.size();
    for (std::size_t i = 0; results.Judged && i < results.Rows.size(); ++i) {
        Result& r = results.Rows[i];
        r.Judged = true;
        r.Verdict = "baseline";
        if (i == *baseline) continue;
        // Pass against pass of the same round: the machine's changes between rounds cancel.
        r.VsBaseline = ComparePaired(results.Rows[*baseline].PerCallMs, r.PerCallMs, context.Options.Margin,
                                     1 - context.Confidence);
        // "undecided": the rounds ran out of time before this one was decided.
        r.Verdict = !r.VsBaseline ? "-"
                    : r.VsBaseline->Call == Verdict::Same && context.Stopped == "time"
                        ? "undecided after " + PreciseText(context.Options.MaxSeconds) + " s"
                        : VerdictName(*r.VsBaseline, RoundsNeeded(context.Confidence));
    }
    results.Fits = FitLengths(results.Rows, context.TextBytes);
    results.Context = std::move(context);
    return results;
}
