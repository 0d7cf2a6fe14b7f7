#include <gtest/gtest.h>

#include "cli/chart/Plot.h"
#include "cli/compare/Compare.h"
#include "cli/output/Reports.h"

namespace {

RunResults File(const char* only, double scale, std::vector<double> reference, double machine) {
    RunResults file;
    file.Context.Unrecorded = {"text", "architecture", "ANSI code page", "count mode"};
    for (const char* face : {"A", only}) {
        Result row;
        row.Config.Face = face;
        for (double ms : {0.0100, 0.0101, 0.0099, 0.0102, 0.0098}) row.PerCallMs.push_back(ms * scale);
        for (double ms : reference) row.ReferenceMs.push_back(ms * machine);
        row.Stats.Median = 0.01 * scale;
        file.Rows.push_back(row);
    }
    return file;
}

// The machine's own change is taken out, or stops the verdict when large.
TEST(Compare, MachineReferenceAdjustsOrWithholdsTheVerdict) {
    const std::vector<double> ref = {3, 3.01, 2.99, 3.02, 2.98};
    const struct { double scale, machine; bool referenced; Verdict call; } cases[] = {
        {1.2, 1.0, true, Verdict::Slower}, {1.05, 1.05, true, Verdict::Same}, {0.9, 1.0, true, Verdict::Faster},
        {1.0, 0.8, true, Verdict::Unconfirmed},  // the reference alone moved
        {1.3, 1.3, true, Verdict::MachineChanged}, {1.2, 1.0, false, Verdict::None}};
    for (const auto& c : cases) {
        const std::vector<double> reference = c.referenced ? ref : std::vector<double>{};
        const RunResults before = File("Only old", 1, reference, 1), after = File("Only new", c.scale, reference, c.machine);
        const Comparisons compared = CompareFiles(before, after, 0.02);
        ASSERT_EQ(compared.Rows.size(), 3u);  // A paired, one only in each
        EXPECT_EQ(compared.Rows[0].Adjusted->Call, c.call) << c.scale << " " << c.machine;
        EXPECT_FALSE(compared.Rows[1].New || compared.Rows[2].Old);
        const std::string csv = CompareCsv(compared);
        EXPECT_EQ(csv.find("A,12,false,false,false,0.01,"), csv.find('\n') + 1) << csv;
        const std::string chart = CompareChart(compared);
        EXPECT_NE(chart.find("stroke-dasharray"), std::string::npos);  // the line at 1
        // The legend names what the points are: adjusted only where a reference adjusted them.
        EXPECT_NE(chart.find(c.referenced ? ">adjusted ratio" : ">median of new / old pass ratios"), std::string::npos);
    }
    // References of different kinds say nothing about each other.
    RunResults older = File("Only new", 1.2, ref, 1);
    older.Context.ReferenceKind = "an integer loop";
    EXPECT_EQ(CompareFiles(older, File("Only new", 1.2, ref, 1), 0.02).Rows[0].Adjusted->Call, Verdict::None);
}

// Runs that measured different things, too few passes, nothing in common: said, and no verdict drawn.
TEST(Compare, WithholdsVerdictsTheRunsCannotCarry) {
    const std::vector<double> ref = {3, 3.01, 2.99, 3.02, 2.98};
    RunResults latin = File("Only old", 1, ref, 1), japanese = File("Only new", 1.2, ref, 1);
    latin.Context.Options.Text = "abc";
    latin.Context.Unrecorded = {"architecture", "ANSI code page", "count mode"};
    japanese.Context.Options.Text = "日本語";
    japanese.Context.Unrecorded = {"architecture", "ANSI code page"};
    for (bool anyway : {false, true}) {
        const Comparisons differ = CompareFiles(latin, japanese, 0.02, anyway);
        EXPECT_EQ(differ.Rows[0].Adjusted->Call, anyway ? Verdict::Slower : Verdict::ContextDiffers);
        const std::vector<std::string> warnings = CompareWarnings(latin, japanese, differ, anyway);
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0].rfind("the runs differ in text (\"abc\" / \"日本語\")", 0), 0u) << warnings[0];
        const std::string table = CompareTable({"o", latin}, {"n", japanese}, differ);
        EXPECT_NE(table.find("Runs: text \"abc\" / \"日本語\" (DIFFERS); count mode not recorded / auto\n"),
                  std::string::npos) << table;
    }
    RunResults fewer = File("Only new", 1.2, ref, 1), fewest = latin;
    fewest.Rows[0].PerCallMs.resize(3);
    fewest.Rows[1].Config.Face = "Only new";
    fewest.Rows[1].PerCallMs.resize(2);
    fewer.Rows[0].PerCallMs.resize(3);
    const Comparisons few = CompareFiles(fewest, fewer, 0.02);
    EXPECT_EQ(VerdictName(*few.Rows[0].Adjusted), "too few passes (n = 3; at least 4 needed)");
    EXPECT_EQ(CompareWarnings(latin, latin, few, false).at(0).rfind("too few passes for a verdict (n = 2;", 0), 0u);
    RunResults other = File("Y", 1, ref, 1);
    other.Rows[0].Config.Face = "X";
    EXPECT_FALSE(CompareFiles(latin, other, 0.02).InCommon);
    EXPECT_TRUE(few.InCommon);
}

// Texts of 3 and 6 bytes: one configuration each, paired, and no length shown where none was swept.
TEST(Compare, RunsOfTextsOfOtherLengthsPair) {
    RunResults files[2];
    for (int i = 0; i < 2; ++i) {
        RunResults run = File("B", 1 + i * 0.2, {3, 3.01, 2.99, 3.02, 2.98}, 1);
        run.Context.Unrecorded.clear();
        run.Context.Options.Text = i ? "abcabc" : "abc";
        run.Context.TextBytes = 3 * (i + 1);
        for (Result& row : run.Rows) row.TextBytes = run.Context.TextBytes;
        std::string error;
        files[i] = ReadResults(JsonReport(run), error).value();
    }
    for (bool anyway : {false, true}) {
        const Comparisons compared = CompareFiles(files[0], files[1], 0.02, anyway);
        ASSERT_TRUE(compared.InCommon);
        EXPECT_EQ(compared.Rows.size(), 2u);
        EXPECT_EQ(compared.Rows[0].Adjusted->Call, anyway ? Verdict::Slower : Verdict::ContextDiffers);
        EXPECT_EQ(CompareTable({"o", files[0]}, {"n", files[1]}, compared).find(" B\n"), std::string::npos);
    }
}

}  // namespace
