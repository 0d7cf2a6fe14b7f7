// Paired comparison of configurations timed in the same rounds, and when a run has seen enough rounds.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "cli/analysis/Statistics.h"

// How other stands against baseline when pass i of both was drawn in round i: from the log
// ratios d_i of the rounds both have, the Hodges-Lehmann estimate (the median of the Walsh
// averages (d_i + d_j) / 2, i <= j), the interval that inverts Wilcoxon's signed-rank test at
// 1 - alpha and the test's two-sided p, at most alpha exactly when the interval leaves out 1.
// Passes counts the rounds. The verdict is read from the interval and the margin alone:
// faster or slower beyond it, within it, or no clear difference; too few when no interval
// reaches 1 - alpha. None when a time is not positive or there are no rounds.
std::optional<Comparison> ComparePaired(const std::vector<double>& baseline, const std::vector<double>& other,
                                        double margin, double alpha);

// The rank k (from each end) of the interval's ends among the n(n + 1) / 2 Walsh averages; 0
// when no interval reaches 1 - alpha. Counted exactly up to kExactRounds, from the normal
// distribution beyond, whose rank is never above the exact one.
constexpr std::size_t kExactRounds = 200;
std::size_t SignedRankIntervalRank(std::size_t rounds, double alpha);
std::size_t NormalSignedRankIntervalRank(std::size_t rounds, double alpha);

// The r-th smallest (from 1) of the Walsh averages of sorted values, none of them stored.
double WalshAverage(const std::vector<double>& sorted, std::uint64_t r);

// A run looks at its rounds at these counts and no others, the last at maxRounds.
std::vector<std::size_t> LookSchedule(std::size_t maxRounds);
// Which look (from 1) falls at this many rounds of a run of maxRounds, if any.
std::optional<int> LookAt(std::size_t rounds, std::size_t maxRounds);
// The alpha a look is judged at; over all looks they add up to 1 - kConfidence.
double LookAlpha(int look);

// Faster, slower or within the margin: a configuration needs no more rounds.
bool Decided(Verdict call);
// A run without a baseline: the median pass is known when its interval at 1 - alpha lies
// within the fraction within of it.
bool MedianKnown(const std::vector<double>& passes, double alpha, double within = 0.01);
