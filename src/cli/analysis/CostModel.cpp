// The cost model: time per call against text length, fitted as a line with bootstrap intervals.
#include "cli/analysis/CostModel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <random>
#include <set>

#include "cli/analysis/Statistics.h"
#include "cli/text/Numbers.h"

namespace {

constexpr int kResamples = 1000;
constexpr std::uint64_t kSeed = 0x5eed;
// Pairs grow as its square: 4000 passes make 8 million, some 160 MB.
constexpr std::size_t kMaxPasses = 4000;

// The line through the passes, with any pass counted any number of times:
// a bootstrap replicate is the same passes with other counts, so the
// pairwise slopes are sorted once and each replicate only walks them.
class TheilSen {
public:
    TheilSen(std::vector<double> x, std::vector<double> y) : x_(std::move(x)), y_(std::move(y)) {
        pairs_.reserve(x_.size() * (x_.size() - 1) / 2);
        for (std::uint16_t i = 0; i < x_.size(); ++i)
            for (std::uint16_t j = i + 1; j < x_.size(); ++j)
                if (x_[i] != x_[j]) pairs_.push_back({(y_[j] - y_[i]) / (x_[j] - x_[i]), i, j});
        std::sort(pairs_.begin(), pairs_.end(), [](const Pair& a, const Pair& b) { return a.Slope < b.Slope; });
        // Replicates walk the ends alone: a quarter of the memory to read.
        for (const Pair& p : pairs_) ends_.push_back({p.I, p.J});
    }

    // {fixed, per unit}; count[i] is how often pass i is drawn, and passes
    // at two or more distinct x must be drawn.
    std::pair<double, double> Fit(const std::vector<std::uint32_t>& count) const {
        // Pairs of drawn passes at different x: each draw with those at every smaller x.
        std::map<double, std::uint64_t> inGroup;  // draws at each x
        for (std::size_t i = 0; i < count.size(); ++i) inGroup[x_[i]] += count[i];
        std::uint64_t pairs = 0, below = 0;
        for (const auto& [x, drawn] : inGroup) pairs += drawn * below, below += drawn;

        const std::uint64_t lowRank = (pairs - 1) / 2, highRank = pairs / 2;
        std::uint64_t seen = 0;
        double low = 0, slope = 0;
        for (std::size_t k = 0; k < ends_.size() && seen <= highRank; ++k) {
            const std::uint64_t before = seen;
            seen += std::uint64_t{count[ends_[k].first]} * count[ends_[k].second];
            if (before <= lowRank && seen > lowRank) low = pairs_[k].Slope;
            if (seen > highRank) slope = (low + pairs_[k].Slope) / 2;
        }
        std::vector<double> intercepts;
        for (std::size_t i = 0; i < count.size(); ++i)
            intercepts.insert(intercepts.end(), count[i], y_[i] - slope * x_[i]);
        return {Summarize(std::move(intercepts)).Median, slope};
    }

    double R2(double fixed, double perUnit) const {
        double mean = 0, total = 0, residual = 0;
        for (double v : y_) mean += v / static_cast<double>(y_.size());
        for (std::size_t i = 0; i < y_.size(); ++i) {
            total += (y_[i] - mean) * (y_[i] - mean);
            residual += (y_[i] - fixed - perUnit * x_[i]) * (y_[i] - fixed - perUnit * x_[i]);
        }
        return total > 0 ? 1 - residual / total : NAN;
    }

private:
    struct Pair {
        double Slope;
        std::uint16_t I, J;
    };
    std::vector<double> x_, y_;
    std::vector<Pair> pairs_;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> ends_;
};

// The 2.5% and 97.5% points of what the replicates give, interpolated between order statistics.
template <typename Of>
Estimate Percentile95(double value, const std::vector<std::pair<double, double>>& fits, Of of) {
    std::vector<double> replicates;
    for (const std::pair<double, double>& fit : fits) replicates.push_back(of(fit));
    std::sort(replicates.begin(), replicates.end());
    auto at = [&](double p) {
        const double h = p * static_cast<double>(replicates.size() - 1);
        const auto k = static_cast<std::size_t>(h);
        const double next = replicates[std::min(k + 1, replicates.size() - 1)];
        return replicates[k] + (h - static_cast<double>(k)) * (next - replicates[k]);
    };
    return {value, at(0.025), at(0.975)};
}

// The line with a bootstrap over the passes, drawn within each length as they
// were measured. Drawing n - 1 of a length's n passes, not n, gives its spread
// without the (n - 1) / n shrink that makes intervals from five passes too narrow.
LineFit FitLine(std::vector<double> x, std::vector<double> y,
                const std::map<std::size_t, std::vector<std::size_t>>& byLength) {
    std::vector<std::uint32_t> count(x.size());
    const TheilSen line(std::move(x), std::move(y));
    std::mt19937_64 random(kSeed);  // the same draws whichever unit is fitted
    std::vector<std::pair<double, double>> replicates;
    for (int r = 0; r < kResamples; ++r) {
        std::fill(count.begin(), count.end(), 0);
        for (const auto& [length, passes] : byLength)
            for (std::size_t k = 1; k < passes.size(); ++k) {
                const double unit = static_cast<double>(random() >> 11) * 0x1p-53;  // same on every compiler
                ++count[passes[static_cast<std::size_t>(unit * static_cast<double>(passes.size()))]];
            }
        replicates.push_back(line.Fit(count));
    }
    const auto [a, b] = line.Fit(std::vector<std::uint32_t>(count.size(), 1));
    return {Percentile95(a, replicates, [](const auto& fit) { return fit.first; }),
            Percentile95(b, replicates, [](const auto& fit) { return fit.second; }), line.R2(a, b),
            std::move(replicates)};
}

std::string Interval(const Estimate& e) {
    return FormatSignificant(e.Value, 3) + " [" + FormatSignificant(e.Low, 3) + ", " + FormatSignificant(e.High, 3) +
           "]";
}

}  // namespace

Estimate LineFit::Predict(double units) const {
    return Percentile95(At(units), Replicates, [units](const auto& fit) { return fit.first + fit.second * units; });
}

std::optional<CostModel> FitCostModel(const std::vector<LengthSample>& samples, std::string& reason) {
    const auto refuse = [&reason](std::string why) {
        reason = std::move(why);
        return std::nullopt;
    };
    if (samples.size() > kMaxPasses) return refuse("a fit takes at most " + std::to_string(kMaxPasses) + " passes");
    std::map<std::size_t, std::vector<std::size_t>> byLength;  // bytes -> the passes measured there
    std::vector<double> chars, bytes, ms;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (!std::isfinite(samples[i].Ms)) return refuse("a pass has no finite time");
        byLength[samples[i].Bytes].push_back(i);
        chars.push_back(static_cast<double>(samples[i].Chars));
        bytes.push_back(static_cast<double>(samples[i].Bytes));
        ms.push_back(samples[i].Ms);
    }
    const std::size_t charLengths = std::set<double>(chars.begin(), chars.end()).size();
    if (byLength.size() < 3 || charLengths < 3)
        return refuse("a fit needs three or more lengths" + std::string(byLength.size() < 3 ? "" : " in characters") +
                      " and has " + std::to_string(std::min(byLength.size(), charLengths)));
    for (const auto& [length, passes] : byLength)
        if (passes.size() < 2)
            return refuse("an interval needs two or more passes at each length, and " + std::to_string(length) +
                          " bytes has one");

    CostModel model;
    model.PerChar = FitLine(chars, ms, byLength);
    model.PerByte = chars == bytes ? model.PerChar : FitLine(std::move(bytes), std::move(ms), byLength);
    for (const auto& [length, passes] : byLength) model.Lengths.push_back(length);
    return model;
}
std::string CostModelText(const CostModel& model) {
    const LineFit& c = model.PerChar;
    const bool sameUnits = model.PerByte.PerUnit.Value == c.PerUnit.Value && model.PerByte.Fixed.Value == c.Fixed.Value;
    return "fit: " + Interval(c.Fixed) + " ms + " + Interval(c.PerUnit) + " ms/char" +
           (sameUnits ? "" : " (" + Interval(model.PerByte.PerUnit) + " ms/byte)") + ", R^2 " +
           FormatSignificant(c.R2, 3) + "; lengths " + std::to_string(model.Lengths.front()) + "-" +
           std::to_string(model.Lengths.back()) + " bytes, 95% intervals";
}
