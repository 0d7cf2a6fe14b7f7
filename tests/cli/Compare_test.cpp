#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "cli/chart/Plot.h"
#include "cli/compare/Compare.h"
#include "cli/output/Reports.h"

namespace {

// A run of faces "A" and only: passes around 0.01 ms times scale, dated at second.
RunResults File(const char* only, double scale, int second = 0, std::size_t passes = 5) {
    RunResults file;
    file.Context.Unrecorded = {"text", "architecture", "ANSI code page", "count mode"};
    file.Context.Date = "2026-12-09T10:00:" + std::string(second < 10 ? "0" : "") + std::to_string(second) + ".250Z";
    for (const char* face : {"A", only}) {
        Result row;
        row.Config.Face = face;
        const double ms[] = {0.0100, 0.0101, 0.0099, 0.0102, 0.0098, 0.0100, 0.0103, 0.0097};
        for (std::size_t i = 0; i < passes; ++i) row.PerCallMs.push_back(ms[i % 8] * scale);
        row.Stats = Summarize(row.PerCallMs);
        file.Rows.push_back(row);
    }
    return file;
}

std::string Table(const std::vector<RunResults>& a, const std::vector<RunResults>& b, const Comparisons& c) {
    return CompareTable({std::vector<std::string>(a.size(), "o"), a}, {std::vector<std::string>(b.size(), "n"), b}, c);
}

// One run a side: the drift between runs is not in the passes' interval, so only a change beyond it is called.
TEST(Compare, OneRunASideCallsOnlyWhatDriftCannotExplain) {
    const struct {
        double scale;
        Verdict call;
    } cases[] = {{1.0, Verdict::Same}, {1.2, Verdict::Drift}, {0.8, Verdict::Drift}, {2.5, Verdict::Slower},
                 {0.4, Verdict::Faster}};
    for (const auto& c : cases) {
        const std::vector<RunResults> before = {File("Only old", 1)}, after = {File("Only new", c.scale)};
        const Comparisons compared = CompareRuns(before, after, 0.02);
        ASSERT_EQ(compared.Rows.size(), 3u);  // A paired, one only in each
        EXPECT_EQ(compared.Rows[0].Change->Call, c.call) << c.scale;
        EXPECT_FALSE(compared.Rows[1].New || compared.Rows[2].Old);
        const std::string csv = CompareCsv(compared);
        EXPECT_EQ(csv.find("A,12,false,false,false,0.01,"), csv.find('\n') + 1) << csv;
        EXPECT_NE(Table(before, after, compared).find("One run a side"), std::string::npos);
        EXPECT_NE(CompareChart(compared).find(">median of new / old pass ratios"), std::string::npos);
    }
    // A CSV holds no passes: the ratio of the medians, and no verdict.
    std::vector<RunResults> csv = {File("Only old", 1)}, later = {File("Only new", 3)};
    csv[0].Rows[0].PerCallMs.clear();
    const Comparisons compared = CompareRuns(csv, later, 0.02);
    EXPECT_FALSE(compared.Rows[0].Change);
    EXPECT_NEAR(*compared.Rows[0].New / *compared.Rows[0].Old, 3, 1e-9);
}

// Several runs a side: run i of each is a pair, and a drift both runs of a pair share cancels.
TEST(Compare, PairedRunsCancelTheDriftBetweenPairs) {
    const double drift[] = {1.0, 1.6, 0.9, 1.3, 1.0, 2.0, 1.1, 0.8};
    for (double change : {1.0, 1.05}) {
        std::vector<RunResults> before, after;
        for (int i = 0; i < 8; ++i) {
            before.push_back(File("Only old", drift[i], 2 * i));
            after.push_back(File("Only new", drift[i] * change * (1 + 0.002 * (i % 3)), 2 * i + 1));
        }
        const Comparisons compared = CompareRuns(before, after, 0.02);
        EXPECT_EQ(compared.Runs, 8u);
        const Comparison& c = *compared.Rows[0].Change;
        EXPECT_EQ(c.Call, change == 1 ? Verdict::WithinMargin : Verdict::Slower) << c.Low << " " << c.High;
        EXPECT_EQ(c.Passes, 8u);
        EXPECT_NE(Table(before, after, compared).find("8 pairs of runs"), std::string::npos);
        EXPECT_FALSE(OutOfOrder(before, after));
        std::swap(before[3], after[3]);  // new before old in one pair still keeps the pairs in order
        EXPECT_FALSE(OutOfOrder(before, after));
        std::swap(before[3], before[4]);
        EXPECT_EQ(OutOfOrder(before, after), 4u);
    }
    // Too few pairs carry no verdict, said in runs; undated runs are not said to be out of order.
    std::vector<RunResults> before(3, File("Only old", 1)), after(3, File("Only new", 1.5));
    for (RunResults* run : {&before[2], &after[0]}) run->Context.Date.clear();
    const Comparisons few = CompareRuns(before, after, 0.02);
    EXPECT_EQ(few.Rows[0].Change->Call, Verdict::TooFew);
    EXPECT_NE(Table(before, after, few).find("too few runs (n = 3; at least 6 needed)"), std::string::npos);
    EXPECT_EQ(CompareWarnings({{"o", "o", "o"}, before}, {{"n", "n", "n"}, after}, few, false).at(0).rfind(
                  "too few runs for a verdict (n = 3 pairs", 0), 0u);
    EXPECT_FALSE(OutOfOrder(before, after));
}

// Over random passes and drifts, one run a side and paired: a verdict never says what its interval does not.
TEST(Compare, NoVerdictContradictsItsInterval) {
    std::mt19937 random(7);
    std::lognormal_distribution<double> noise(0, 0.05), drift(0, 0.3), change(0, 0.1);
    const double margin = 0.02;
    int calls = 0;
    for (int trial = 0; trial < 300; ++trial) {
        const std::size_t runs = trial % 2 ? 1 : 6 + trial % 7;
        const double truth = change(random);
        std::vector<RunResults> before, after;
        for (std::size_t i = 0; i < runs; ++i) {
            const double d = drift(random);
            before.push_back(File("X", d * noise(random), 0, 5 + trial % 6));
            after.push_back(File("X", d * truth * noise(random), 0, 5 + trial % 4));
        }
        for (const ComparedRow& row : CompareRuns(before, after, margin).Rows) {
            const Comparison& c = *row.Change;
            const double beyond = runs == 1 ? (1 + margin) * (1 + kRunDrift) : 1 + margin;
            switch (c.Call) {
            case Verdict::Faster: EXPECT_LT(c.High, runs == 1 ? 1 / beyond : 1 - margin); break;
            case Verdict::Slower: EXPECT_GT(c.Low, beyond); break;
            case Verdict::WithinMargin: EXPECT_TRUE(runs > 1 && c.Low >= 1 - margin && c.High <= 1 + margin); break;
            case Verdict::Same: EXPECT_TRUE(c.Low <= beyond && c.High >= (runs == 1 ? 1 / beyond : 1 - margin)); break;
            case Verdict::Drift: EXPECT_TRUE(runs == 1 && (c.Low > 1 || c.High < 1)); break;
            case Verdict::TooFew: EXPECT_TRUE(std::isnan(c.Low)); break;
            default: ADD_FAILURE() << VerdictName(c);
            }
            calls += c.Call == Verdict::Faster || c.Call == Verdict::Slower;
        }
    }
    EXPECT_GT(calls, 30);  // the checks above were met by calls, not only by their absence
}

// Texts of 3 and 6 bytes: "runs differ", said, unless asked; paired all the same, with no length shown
// where none was swept. Nothing in common: nothing to pair.
TEST(Compare, RunsThatMeasuredOtherTextsPairButAreNotJudged) {
    std::vector<RunResults> files[2];
    for (int i = 0; i < 2; ++i) {
        RunResults run = File("B", 1 + i * 2);
        run.Context.Unrecorded = {"architecture", "ANSI code page"};
        run.Context.Options.Text = i ? "abcabc" : "abc";
        run.Context.TextBytes = 3 * (i + 1);
        for (Result& row : run.Rows) row.TextBytes = run.Context.TextBytes;
        std::string error;
        files[i].push_back(ReadResults(JsonReport(run), error).value());
    }
    files[0][0].Context.Unrecorded.push_back("count mode");
    for (bool anyway : {false, true}) {
        const Comparisons compared = CompareRuns(files[0], files[1], 0.02, anyway);
        EXPECT_EQ(compared.Rows.size(), 2u);
        EXPECT_EQ(compared.Rows[0].Change->Call, anyway ? Verdict::Slower : Verdict::ContextDiffers);
        const std::string table = Table(files[0], files[1], compared);
        EXPECT_EQ(table.find(" B\n"), std::string::npos);
        EXPECT_NE(table.find("Runs: text \"abc\" / \"abcabc\" (DIFFERS); ANSI code page 0; count mode not recorded "
                             "/ auto\n"), std::string::npos) << table;
        const auto warnings = CompareWarnings({{"o"}, files[0]}, {{"n"}, files[1]}, compared, anyway);
        EXPECT_EQ(warnings.at(0).rfind("the runs differ in text (\"abc\" / \"abcabc\")", 0), 0u) << warnings[0];
    }
    std::vector<RunResults> other = {File("Y", 1)};
    other[0].Rows[0].Config.Face = "X";
    EXPECT_FALSE(CompareRuns(files[0], other, 0.02).InCommon);
}

}  // namespace
