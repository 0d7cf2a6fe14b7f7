#include <gtest/gtest.h>

#include <limits>

#include "cli/Compare.h"
#include "cli/Dimensions.h"
#include "cli/Plot.h"
#include "cli/Report.h"

namespace {

Measurement Sample(const std::string& face, double size, std::vector<double> perCall) {
    Measurement m;
    m.Config.Face = m.RealizedFace = face;
    m.Config.Size = size;
    m.Count = 1000;
    m.PerCallMs = perCall;
    m.Stats = Summarize(perCall);
    return m;
}

// Two configurations, the second substituted and judged against the first.
std::vector<Measurement> SampleResults() {
    std::vector<Measurement> results = {Sample("IPAゴシック", 10.5, {0.004, 0.006, 0.005}),
                                        Sample("Odd, \"Face\"", 12, {0.002})};
    results[1].Config.Bold = results[1].Config.Opaque = results[1].Substituted = true;
    results[1].RealizedFace = "DejaVu Sans";
    JudgeAgainstBaseline(results, 0, 0.02);
    return results;
}

RunContext SampleContext() {
    RunContext c;
    c.WindowsVersion = "6.1.7601";
    c.WineVersion = "8.0";
    c.Options.Text = "say \"hi\"\\\n\x01";
    c.ReferenceMs = {3, 3.1, 2.9};
    return c;
}

TEST(FormatSignificant, PlainNotationWithCarries) {
    const std::pair<double, const char*> cases[] = {{1234567, "1230000"},
                                                    {0.0012345, "0.00123"},
                                                    {0.09996, "0.100"},
                                                    {999.6, "1000"},
                                                    {0, "0"},
                                                    {std::numeric_limits<double>::infinity(), "-"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(FormatSignificant(value, 3), text) << value;
}

TEST(Table, AlignsWideCharactersJudgesMarksSubstitutesAndCharts) {
    EXPECT_EQ(AlignColumns({{"ゴ", "1"}, {"abc", "100"}}, {false, true}), "ゴ     1\nabc  100\n");
    const std::string text = TableReport(SampleContext(), SampleResults()) + SweepChart(SampleResults());
    for (const char* part : {"Wine 8.0 (reports Windows 6.1.7601)", "machine reference 3.00 ms", "  baseline  ",
                             "DejaVu Sans *", "* the font mapper drew another face", ">Odd, &quot;Face&quot;</text>",
                             ">10.5 regular</text>", ">12 bold opaque</text>", ">ExtTextOutA: median time per call"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
}

// Two or three passes a side can never reach 95%: the row says so, and one warning says what to pass.
TEST(Table, BaselineVerdictsOnlyWherePassesCarryThem) {
    for (std::size_t n : {2, 3, 5}) {
        std::vector<Measurement> results = {Sample("A", 12, {1}), Sample("B", 12, {1})};
        for (std::size_t i = 0; i < n; ++i) {
            results[0].AdjustedMs.push_back(1 + 0.01 * static_cast<double>(i % 3));
            results[1].AdjustedMs.push_back(1.15 + 0.01 * static_cast<double>(i % 2));
        }
        JudgeAgainstBaseline(results, 0, 0.02);
        const std::string table = TableReport(SampleContext(), results);
        const std::vector<std::string> warnings = SweepWarnings(SampleContext(), results);
        const std::string tooFew = "too few passes (n = " + std::to_string(n) + "; at least 4 needed)";
        EXPECT_EQ(table.find(tooFew) != std::string::npos, n < 4) << table;
        EXPECT_EQ(warnings.size(), n < 4 ? 1u : 0u);
        if (n < 4) EXPECT_NE(warnings[0].find("pass --repetitions 4 or more"), std::string::npos) << warnings[0];
        else EXPECT_TRUE(results[1].VsBaseline->Call == Verdict::Slower && results[1].VsBaseline->Low > 1);
    }
}

// What one form writes, the comparison reads back, from JSON and from CSV alike.
TEST(Results, JsonAndCsvReadBackTheSameRows) {
    std::string error;
    auto fromJson = ReadResults(JsonReport(SampleContext(), SampleResults()), error);
    auto fromCsv = ReadResults("\xEF\xBB\xBF" + CsvReport(SampleResults(), 10), error);
    ASSERT_TRUE(fromJson && fromCsv) << error;
    EXPECT_EQ(fromJson->ReferenceMs, SampleContext().ReferenceMs);
    EXPECT_EQ(fromJson->Rows[0].SamplesMs, (std::vector<double>{0.004, 0.006, 0.005}));
    EXPECT_TRUE(fromJson->Terms.at("count mode") == "auto" && fromCsv->Terms.empty());
    for (const ResultFile* file : {&*fromJson, &*fromCsv}) {
        ASSERT_EQ(file->Rows.size(), 2u);
        EXPECT_EQ(file->Rows[1].Config, SampleResults()[1].Config);
        EXPECT_EQ(file->Rows[0].MedianMs, 0.005);
    }
    // A face named like a number stays a name.
    EXPECT_EQ(ReadResults("face,size,median_ms\n1942,9,0.5\n", error).value().Rows[0].Config.Face, "1942");
    const std::pair<const char*, const char*> bad[] = {
        {"{\"results\": 3}", "no \"results\" array"},
        {"{\"results\": [{\"face\": \"A\", \"size\": 12}]}", "result 1: no median_ms"},
        {"face,size,median_ms\n\"A\nB\",12,abc\n", "line 2: no median_ms"},
        {"face,size,median_ms\r\n\r\nA,9,1\r\n\"B\nC\",12,1\nD,12,x\n", "line 6: no median_ms"},
        {"face,size,median_ms\n", "no result row"}, {"garbage", "no result row"},
        {"{\"results\": []}", "no result row"}, {" \r\n", "empty file"},
        {"{\"results\": [", "not valid JSON at line 1"},
        {"{\n\"results\": [\n{\"face\": A}]}", "not valid JSON at line 3"}};
    for (const auto& [text, message] : bad) {
        EXPECT_FALSE(ReadResults(text, error)) << text;
        EXPECT_EQ(error, message);
    }
}

// One configuration at each length, time per call = 0.004 + 0.0001 x characters (half the bytes).
std::vector<Measurement> LengthSweep(std::vector<std::size_t> lengths) {
    std::vector<Measurement> results;
    for (std::size_t bytes : lengths) {
        const double ms = 0.004 + 0.0001 * static_cast<double>(bytes / 2);
        results.push_back(Sample("IPAゴシック", 12, {ms, ms * 1.01, ms * 0.99}));
        results.back().Config.Call = TextCall::ExtTextOutW;
        results.back().Config.LengthBytes = results.back().TextBytes = bytes;
        results.back().TextChars = bytes / 2;
    }
    return results;
}

TEST(Results, LengthSweepsCarryTheirFitInTheTableAndJson) {
    RunContext context = SampleContext();
    context.Options.Lengths = {2, 16, 64, 256};
    context.TextBytes = 20;
    std::vector<Measurement> results = LengthSweep(context.Options.Lengths);
    results.push_back(LengthSweep({64}).front());
    results.back().Config.Bold = true;  // one length only: no fit, and why
    const std::string table = TableReport(context, results);
    EXPECT_NE(table.find("  256    128   1000 "), std::string::npos) << table;
    EXPECT_NE(table.find("IPAゴシック\n    fit: 0.00400 ["), std::string::npos) << table;
    EXPECT_NE(table.find("IPAゴシック\n    no fit: a fit needs three or more lengths and has 1\n"), std::string::npos);

    const auto fits = nlohmann::json::parse(JsonReport(context, results))["fits"];
    ASSERT_EQ(fits.size(), 2u);
    EXPECT_EQ(fits[0]["call"], "ExtTextOutW");
    EXPECT_TRUE(fits[0]["per_char_ms_ci"][0] < 0.0001 && fits[0]["per_char_ms_ci"][1] > 0.0001) << fits[0];
    EXPECT_TRUE(fits[0]["at_text_length_ms_ci"][0] < 0.005 && fits[0]["at_text_length_ms_ci"][1] > 0.005);
    EXPECT_EQ(fits[0]["lengths"], nlohmann::json::parse("[2, 16, 64, 256]"));
    EXPECT_TRUE(fits[0]["per_byte_ms"] == 0.00005 && fits[0]["r2"] > 0.99);
    EXPECT_TRUE(fits[1]["no_fit"].is_string() && !fits[1].contains("per_call_ms"));
    EXPECT_NE(LengthChart(results).find("fill-opacity"), std::string::npos);  // the band
    EXPECT_NE(SweepChart(results).find(">ExtTextOutW: median time"), std::string::npos);  // the call drawn
}

// Files from before the call, quality and length were swept read as the defaults.
TEST(Results, NewFieldsReadBackAndOlderFilesReadAsTheDefaults) {
    std::string error;
    std::vector<Measurement> results = LengthSweep({16});
    results[0].Config.Quality = FontQuality::Antialiased;
    const auto file = ReadResults(JsonReport(SampleContext(), results), error);
    ASSERT_TRUE(file) << error;
    EXPECT_EQ(file->Rows[0].Config, results[0].Config);
    const std::string older =
        R"({"context": {"text_bytes": 44}, "results": [{"face": "A", "size": 12, "median_ms": 1}]})";
    const Configuration asGiven = ReadResults(older, error).value().Rows[0].Config;
    EXPECT_TRUE(asGiven.Call == TextCall::ExtTextOutA && asGiven.Quality == FontQuality::Default &&
                asGiven.LengthBytes == 44);
    // CSV never said the text's length: such a row pairs with any.
    const auto oldCsv = ReadResults("face,size,median_ms\nA,12,1\n", error);
    const auto newCsv = ReadResults(CsvReport(results, 0), error);
    ASSERT_TRUE(oldCsv && newCsv) << error;
    EXPECT_EQ(newCsv->Rows[0].Config.LengthBytes, 16u);
    Configuration a = oldCsv->Rows[0].Config, b = a;
    b.LengthBytes = 16;
    EXPECT_TRUE(SameConfiguration(a, b) && !SameConfiguration(b, newCsv->Rows[0].Config));
    EXPECT_FALSE(ReadResults(R"({"results": [{"face": "A", "size": 12, "median_ms": 1, "call": "DrawText"}]})", error));
    EXPECT_EQ(error, "result 1: unknown call \"DrawText\"");
}

ResultFile File(const char* only, double scale, std::vector<double> reference, double machine) {
    ResultFile file;
    for (double& ms : reference) file.ReferenceMs.push_back(ms * machine);
    for (const char* face : {"A", only}) {
        std::vector<double> samples;
        for (double ms : {0.0100, 0.0101, 0.0099, 0.0102, 0.0098}) samples.push_back(ms * scale);
        file.Rows.push_back({{face}, 0.01 * scale, samples, file.ReferenceMs});
    }
    return file;
}

// The machine's own change is taken out, or stops the verdict when large.
TEST(Compare, MachineReferenceAdjustsOrWithholdsTheVerdict) {
    const std::vector<double> ref = {3, 3.01, 2.99, 3.02, 2.98};
    const struct {
        double scale, machine;
        bool referenced;
        Verdict call;
    } cases[] = {{1.2, 1.0, true, Verdict::Slower},
                 {1.05, 1.05, true, Verdict::Same},
                 {0.9, 1.0, true, Verdict::Faster},
                 {1.0, 0.8, true, Verdict::Unconfirmed},  // the reference alone moved
                 {1.3, 1.3, true, Verdict::MachineChanged},
                 {1.2, 1.0, false, Verdict::None}};
    for (const auto& c : cases) {
        const std::vector<double> reference = c.referenced ? ref : std::vector<double>{};
        const ResultFile before = File("Only old", 1, reference, 1),
                         after = File("Only new", c.scale, reference, c.machine);
        const Comparisons compared = CompareFiles(before, after, 0.02);
        ASSERT_EQ(compared.Rows.size(), 3u);  // A paired, one only in each
        EXPECT_EQ(compared.Rows[0].Adjusted->Call, c.call) << c.scale << " " << c.machine;
        EXPECT_FALSE(compared.Rows[1].New || compared.Rows[2].Old);
        const std::string csv = CompareReport("o", before, "n", after, compared, OutputFormat::Csv);
        EXPECT_EQ(csv.find("A,12,false,false,false,0.01,"), csv.find('\n') + 1) << csv;
        const std::string chart = CompareChart(compared);
        EXPECT_NE(chart.find("stroke-dasharray"), std::string::npos);  // the line at 1
        // The legend names what the points are: adjusted only where a reference adjusted them.
        EXPECT_NE(chart.find(c.referenced ? ">adjusted ratio" : ">median of new / old pass ratios"), std::string::npos);
    }
    // References of different kinds say nothing about each other.
    ResultFile older = File("Only new", 1.2, ref, 1);
    older.ReferenceKind = "an integer loop";
    EXPECT_EQ(CompareFiles(older, File("Only new", 1.2, ref, 1), 0.02).Rows[0].Adjusted->Call, Verdict::None);
}

// Runs that measured different things, too few passes, nothing in common: said, and no verdict drawn.
TEST(Compare, WithholdsVerdictsTheRunsCannotCarry) {
    const std::vector<double> ref = {3, 3.01, 2.99, 3.02, 2.98};
    ResultFile latin = File("Only old", 1, ref, 1), japanese = File("Only new", 1.2, ref, 1);
    latin.Terms = {{"text", "\"abc\""}};
    japanese.Terms = {{"text", "\"日本語\""}, {"count mode", "auto"}};
    for (bool anyway : {false, true}) {
        const Comparisons differ = CompareFiles(latin, japanese, 0.02, anyway);
        EXPECT_EQ(differ.Rows[0].Adjusted->Call, anyway ? Verdict::Slower : Verdict::ContextDiffers);
        const std::vector<std::string> warnings = CompareWarnings(latin, japanese, differ, anyway);
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0].rfind("the runs differ in text (\"abc\" / \"日本語\")", 0), 0u) << warnings[0];
        const std::string table = CompareReport("o", latin, "n", japanese, differ, OutputFormat::Table);
        EXPECT_NE(table.find("Runs: text \"abc\" / \"日本語\" (DIFFERS); count mode not recorded / auto\n"),
                  std::string::npos) << table;
    }
    ResultFile fewer = File("Only new", 1.2, ref, 1);
    latin.Rows[0].SamplesMs.resize(3);
    fewer.Rows[0].SamplesMs.resize(3);
    const Comparisons few = CompareFiles(latin, fewer, 0.02);
    EXPECT_EQ(VerdictName(*few.Rows[0].Adjusted), "too few passes (n = 3; at least 4 needed)");
    EXPECT_EQ(CompareWarnings(latin, latin, few, false).at(0).rfind("too few passes for a verdict (n = 3;", 0), 0u);
    ResultFile other = File("Y", 1, ref, 1);
    other.Rows[0].Config.Face = "X";
    EXPECT_FALSE(CompareFiles(latin, other, 0.02).InCommon);
    EXPECT_TRUE(few.InCommon);
}

}  // namespace
