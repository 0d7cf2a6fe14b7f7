// The cost model: time per call against text length, fitted as a line with bootstrap intervals.
#include "cli/analysis/CostModel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <utility>

#include "cli/text/Numbers.h"

namespace {

constexpr int kResamples = 1000;
constexpr std::uint64_t kSeed = 0x5eed;
// Pairs grow as its square: 4000 passes make 8 million, some 160 MB.
constexpr std::size_t kMaxPasses = 4000;

// Median of values, which it reorders; values must not be empty.
double MedianOf(std::vector<double>& values) {
    const auto mid = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), mid, values.end());
    if (values.size() % 2) return *mid;
    return (*std::max_element(values.begin(), mid) + *mid) / 2;
}

// The line through the passes, with any pass counted any number of times:
// a bootstrap replicate is the same passes with other counts, so the
// pairwise slopes are sorted once and each replicate only walks them.
class TheilSen {
public:
    TheilSen(std::vector<double> x, std::vector<double> y) : x_(std::move(x)), y_(std::move(y)) {
        std::map<double, std::size_t> groups;
        for (double v : x_) groups.emplace(v, groups.size());
        for (double v : x_) group_.push_back(groups[v]);
        groupCount_ = groups.size();
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
        // Pairs of drawn passes at different x: all pairs less those within a group.
        std::uint64_t total = 0;
        std::vector<std::uint64_t> inGroup(groupCount_);
        for (std::size_t i = 0; i < count.size(); ++i) total += count[i], inGroup[group_[i]] += count[i];
        std::uint64_t pairs = total * total;
        for (std::uint64_t g : inGroup) pairs -= g * g;
        pairs /= 2;

        const std::uint64_t lowRank = (pairs - 1) / 2, highRank = pairs / 2;
        std::uint64_t seen = 0;
        double low = 0, slope = 0;
        const std::uint32_t* drawn = count.data();
        const auto* ends = ends_.data();
        for (std::size_t k = 0, n = ends_.size(); k < n; ++k) {
            const std::uint64_t before = seen;
            seen += std::uint64_t{drawn[ends[k].first]} * drawn[ends[k].second];
            if (before <= lowRank && seen > lowRank) low = pairs_[k].Slope;
            if (seen > highRank) {
                slope = (low + pairs_[k].Slope) / 2;
                break;
            }
        }
        std::vector<double> intercepts;
        intercepts.reserve(static_cast<std::size_t>(total));
        for (std::size_t i = 0; i < count.size(); ++i) intercepts.insert(intercepts.end(), count[i], y_[i] - slope * x_[i]);
        return {MedianOf(intercepts), slope};
    }

    std::size_t Passes() const { return x_.size(); }

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
    std::vector<std::size_t> group_;
    std::size_t groupCount_ = 0;
    std::vector<Pair> pairs_;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> ends_;
};

// The 2.5% and 97.5% points of the replicates, interpolated between order statistics.
Estimate Percentile95(double value, std::vector<double> replicates) {
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
    const TheilSen line(std::move(x), std::move(y));
    std::mt19937_64 random(kSeed);  // the same draws whichever unit is fitted
    std::vector<double> fixed, perUnit;
    std::vector<std::pair<double, double>> replicates;
    std::vector<std::uint32_t> count(line.Passes());
    for (int r = 0; r < kResamples; ++r) {
        std::fill(count.begin(), count.end(), 0);
        for (const auto& [length, passes] : byLength)
            for (std::size_t k = 1; k < passes.size(); ++k) {
                const double unit = static_cast<double>(random() >> 11) * 0x1p-53;  // same on every compiler
                ++count[passes[static_cast<std::size_t>(unit * static_cast<double>(passes.size()))]];
            }
        const auto [a, b] = line.Fit(count);
        fixed.push_back(a);
        perUnit.push_back(b);
        replicates.emplace_back(a, b);
    }
    const auto [a, b] = line.Fit(std::vector<std::uint32_t>(line.Passes(), 1));
    return {Percentile95(a, fixed), Percentile95(b, perUnit), line.R2(a, b), std::move(replicates)};
}

std::string Interval(const Estimate& e) {
    return FormatSignificant(e.Value, 3) + " [" + FormatSignificant(e.Low, 3) + ", " + FormatSignificant(e.High, 3) +
           "]";
}

}  // namespace

Estimate LineFit::Predict(double units) const {
    std::vector<double> at;
    for (const auto& [fixed, perUnit] : Replicates) at.push_back(fixed + perUnit * units);
    return Percentile95(At(units), std::move(at));
}

std::optional<CostModel> FitCostModel(const std::vector<LengthSample>& samples, std::string& reason) {
    if (samples.size() > kMaxPasses) {
        reason = "a fit takes at most " + std::to_string(kMaxPasses) + " passes";
        return std::nullopt;
    }
    std::map<std::size_t, std::vector<std::size_t>> byLength;  // bytes -> the passes measured there
    std::vector<double> chars, bytes, ms;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (!std::isfinite(samples[i].Ms)) {
            reason = "a pass has no finite time";
            return std::nullopt;
        }
        byLength[samples[i].Bytes].push_back(i);
        chars.push_back(static_cast<double>(samples[i].Chars));
        bytes.push_back(static_cast<double>(samples[i].Bytes));
        ms.push_back(samples[i].Ms);
    }
    const std::size_t charLengths = std::set<double>(chars.begin(), chars.end()).size();
    if (byLength.size() < 3 || charLengths < 3) {
        reason = "a fit needs three or more lengths" + std::string(byLength.size() < 3 ? "" : " in characters") +
                 " and has " + std::to_string(std::min(byLength.size(), charLengths));
        return std::nullopt;
    }
    for (const auto& [length, passes] : byLength)
        if (passes.size() < 2) {
            reason = "an interval needs two or more passes at each length, and " + std::to_string(length) +
                     " bytes has one";
            return std::nullopt;
        }

    CostModel model;
    const bool sameUnits = chars == bytes;
    model.PerChar = FitLine(std::move(chars), ms, byLength);
    model.PerByte = sameUnits ? model.PerChar : FitLine(std::move(bytes), std::move(ms), byLength);
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
