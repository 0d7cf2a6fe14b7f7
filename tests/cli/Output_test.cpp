#include <gtest/gtest.h>

#include <limits>

#include "cli/analysis/Schema.h"
#include "cli/chart/Plot.h"
#include "cli/compare/Compare.h"
#include "cli/output/Reports.h"
#include "cli/text/Numbers.h"

namespace {

Measurement Sample(const std::string& face, double size, std::vector<double> perCall) {
    Measurement m;
    m.Config.Face = m.RealizedFace = face;
    m.Config.Size = size;
    m.Count = 1000;
    m.PerCallMs = perCall;
    m.ReferenceMs.assign(perCall.size(), 3);
    m.TextBytes = 10;
    return m;
}

RunContext SampleContext() {
    RunContext c;
    c.Program = "ExtTextOutBenchCli";
    c.Commit = "abc1234-dirty";
    c.WindowsVersion = "6.1.7601";
    c.WineVersion = "8.0";
    c.Options.Text = "say \"hi\"\\\n\x01";
    c.ReferenceMs = {3, 3.1, 2.9};
    return c;
}

// Two configurations, the second substituted and judged against the first.
RunResults SampleResults(RunContext context = SampleContext()) {
    std::vector<Measurement> rows = {Sample("IPAゴシック", 10.5, {0.004, 0.006, 0.005}),
                                     Sample("Odd, \"Face\"", 12, {0.002})};
    rows[1].Config.Bold = rows[1].Config.Opaque = rows[1].Substituted = rows[1].Clipped = true;
    rows[1].RealizedFace = "DejaVu Sans";
    return Analyse(context, rows, 0);
}

TEST(FormatSignificant, PlainNotationWithCarries) {
    const std::pair<double, const char*> cases[] = {{1234567, "1230000"}, {0.0012345, "0.00123"}, {0.09996, "0.100"},
        {999.6, "1000"}, {0, "0"}, {std::numeric_limits<double>::infinity(), "-"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(FormatSignificant(value, 3), text) << value;
}

TEST(Table, AlignsWideCharactersJudgesMarksSubstitutesClippedRowsAndCharts) {
    EXPECT_EQ(AlignColumns({{"ゴ", "1"}, {"a line of its own"}, {"abc", "100"}}, {false, true}),
              "ゴ     1\na line of its own\nabc  100\n");
    const std::string text = TableReport(SampleResults()) + SweepChart(SampleResults());
    for (const char* part : {"Wine 8.0 (reports Windows 6.1.7601)", "machine reference 3.00 ms", "  baseline  ",
                             "DejaVu Sans * >", "* the font mapper drew another face", "> the text runs past the canvas",
                             ">Odd, &quot;Face&quot;</text>", ">10.5 regular</text>", ">12 bold opaque</text>",
                             ">ExtTextOutA: median time per call"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    // A long text is shown by its start, with its length.
    RunContext context = SampleContext();
    context.Options.Text = std::string(10000, 'x');
    const std::string header = TableReport(SampleResults(context));
    EXPECT_NE(header.find("xxx\u2026\" (10000 characters, 0 bytes)"), std::string::npos) << header.substr(0, 300);
    EXPECT_LT(header.find('\n', header.find('\n') + 1), 400u);
}

// Up to five rounds can never reach 95%: the row says so, and one warning names the fewest.
TEST(Table, BaselineVerdictsOnlyWherePassesCarryThem) {
    for (std::size_t n : {3, 5, 8}) {
        std::vector<Measurement> rows = {Sample("A", 12, {}), Sample("B", 12, {}), Sample("C", 12, {})};
        for (std::size_t i = 0; i < n; ++i) {
            rows[0].PerCallMs.push_back(1 + 0.01 * static_cast<double>(i % 3));
            rows[1].PerCallMs.push_back(1.15 + 0.01 * static_cast<double>(i % 2));
            rows[2].PerCallMs.push_back(1.2);
        }
        rows[1].PerCallMs.push_back(1.15);  // one more pass than the baseline has
        for (Measurement& m : rows) m.ReferenceMs.assign(m.PerCallMs.size(), 3);
        const RunResults results = Analyse(SampleContext(), rows, 0);
        const std::string table = TableReport(results);
        const std::vector<std::string> warnings = SweepWarnings(results);
        const std::string tooFew = "too few passes (n = " + std::to_string(n) + "; at least 6 needed)";
        EXPECT_EQ(table.find(tooFew) != std::string::npos, n < 6) << table;
        EXPECT_EQ(warnings.size(), n < 6 ? 1u : 0u);
        if (n < 6) EXPECT_EQ(warnings[0], "--baseline: " + std::to_string(n) + " passes a configuration cannot "
                                          "carry a verdict (at least 6 needed); pass --repetitions 6 or more");
        else EXPECT_TRUE(results.Rows[1].VsBaseline->Call == Verdict::Slower && results.Rows[1].VsBaseline->Low > 1);
    }
}

// One configuration at each length, time per call = 0.004 + 0.0001 x characters (half the bytes).
std::vector<Measurement> LengthSweep(std::vector<std::size_t> lengths) {
    std::vector<Measurement> rows;
    for (std::size_t bytes : lengths) {
        const double ms = 0.004 + 0.0001 * static_cast<double>(bytes / 2);
        rows.push_back(Sample("IPAゴシック", 12, {ms, ms * 1.01, ms * 0.99}));
        rows.back().Config.Call = TextCall::ExtTextOutW;
        rows.back().Config.LengthBytes = rows.back().TextBytes = bytes;
        rows.back().TextChars = bytes / 2;
    }
    return rows;
}

// What one form writes, the comparison reads back, from JSON and from CSV alike; a length is a row
// key only where the file sweeps it, and older files read as the defaults.
TEST(Results, JsonAndCsvReadBackTheSameRows) {
    std::string error;
    auto fromJson = ReadResults(JsonReport(SampleResults()), error);
    auto fromCsv = ReadResults("\xEF\xBB\xBF" + CsvReport(SampleResults()), error);
    ASSERT_TRUE(fromJson && fromCsv) << error;
    EXPECT_TRUE(fromJson->Context.ReferenceMs == SampleContext().ReferenceMs &&
                fromJson->Context.Commit == SampleContext().Commit);
    EXPECT_EQ(fromJson->Rows[0].PerCallMs, (std::vector<double>{0.004, 0.006, 0.005}));
    EXPECT_TRUE(MeasuredTerms(fromJson->Context).at("count mode") == "auto" && MeasuredTerms(fromCsv->Context).empty());
    for (const RunResults* file : {&*fromJson, &*fromCsv}) {
        ASSERT_EQ(file->Rows.size(), 2u);
        EXPECT_EQ(file->Rows[1].Config, SampleResults().Rows[1].Config);
        EXPECT_EQ(file->Rows[0].Stats.Median, 0.005);
    }
    // A face named like a number stays a name.
    EXPECT_EQ(ReadResults("face,size,median_ms\n1942,9,0.5\n", error).value().Rows[0].Config.Face, "1942");
    const std::pair<const char*, const char*> bad[] = {
        {"{\"results\": 3}", "no \"results\" array"},
        {"{\"results\": [{\"face\": \"A\", \"size\": 12}]}", "result 1: no median_ms"},
        {"face,size,median_ms\n\"A\nB\",12,abc\n", "line 2: median_ms: type must be number, but is string"},
        {"face,size,median_ms\r\n\r\nA,9,1\r\n\"B\nC\",12,1\nD,12,x\n", "line 6: median_ms: type must be number, but is string"},
        {"face,size,median_ms\n", "no result row"}, {"garbage", "no result row"},
        {"{\"results\": []}", "no result row"}, {" \r\n", "empty file"},
        {"{\"results\": [", "not valid JSON at line 1"},
        {"{\n\"results\": [\n{\"face\": A}]}", "not valid JSON at line 3"},
        // A spreadsheet's re-save in code page 932, and contexts of the wrong kind: refused, not thrown.
        {"face,size,median_ms\nA,9,1\n\x82\xa0\x83\x53,12,1\n", "line 3 is not UTF-8 text; save the file as UTF-8"},
        {R"({"context": {"machine_reference_ms": [1, null]}, "results": [{"face": "A", "size": 12, "median_ms": 1}]})",
         "context: machine_reference_ms/1: type must be number, but is null"},
        {R"({"context": {"machine_reference_ms": "3 ms"}, "results": [{"face": "A", "size": 12, "median_ms": 1}]})",
         "context: machine_reference_ms: type must be array, but is string"},
        {R"({"results": [{"face": "A", "size": 12, "median_ms": 1, "count": 1e300}]})",
         "result 1: count is not a whole number in range"},
        {R"({"results": [{"face": "A", "size": 12, "median_ms": 1, "call": "DrawText"}]})",
         "result 1: unknown call \"DrawText\""},
        {R"({"results": [{"face": "A", "size": 12, "median_ms": 1, "canvas_width": 0}]})",
         "result 1: canvas_width or canvas_height out of range"}};
    for (const auto& [text, message] : bad) {
        EXPECT_FALSE(ReadResults(text, error)) << text;
        EXPECT_EQ(error, message);
    }
    std::vector<Measurement> rows = LengthSweep({16, 32});
    rows[0].Config.Quality = FontQuality::Antialiased;
    rows[0].Config.Surface = SurfaceKind::Dib24;
    rows[0].Config.Canvas = {1920, 1080};
    rows[0].FirstDrawMs = {0.5, 0.2, 0.3}, rows[0].FirstDrawWarmMs = {0.01, 0.01, 0.02};
    RunContext context = SampleContext();
    context.Options.FirstDraw = true;
    const RunResults results = Analyse(context, rows, std::nullopt);
    const auto swept = ReadResults(JsonReport(results), error);
    ASSERT_TRUE(swept) << error;
    EXPECT_EQ(swept->Rows[0].Config, rows[0].Config);
    // The first call beside the warm median; its ratio is each font's own, not of the medians.
    const Json json = Json::parse(JsonReport(results))["results"][0];
    EXPECT_TRUE(json["first_draw_ms"] == 0.3 && json["first_draw_ratio"] == 20) << json;
    EXPECT_NE(CsvReport(results).find(",dib24,1920,1080,0.3,20\n"), std::string::npos) << CsvReport(results);
    EXPECT_NE(TableReport(results).find(" 0.00480       0.300       20.0 "), std::string::npos) << TableReport(results);
    const auto single = ReadResults(CsvReport(Analyse(SampleContext(), LengthSweep({16}), std::nullopt)), error);
    ASSERT_TRUE(single) << error;
    EXPECT_TRUE(single->Rows[0].Config.LengthBytes == 0 && single->Rows[0].TextBytes == 16);
    const std::string older =
        R"({"context": {"text_bytes": 44}, "results": [{"face": "A", "size": 12, "median_ms": 1}]})";
    const Result asGiven = ReadResults(older, error).value().Rows[0];
    EXPECT_TRUE(asGiven.Config.Call == TextCall::ExtTextOutA && asGiven.Config.Quality == FontQuality::Default &&
                asGiven.Config.LengthBytes == 0 && asGiven.TextBytes == 44 &&
                asGiven.Config.Surface == SurfaceKind::Ddb && asGiven.Config.Canvas == CanvasSize{});
}

TEST(Results, LengthSweepsCarryTheirFitInTheTableAndJson) {
    RunContext context = SampleContext();
    context.Options.Lengths = {2, 16, 64, 256};
    context.TextBytes = 20;
    std::vector<Measurement> rows = LengthSweep(context.Options.Lengths);
    rows.push_back(LengthSweep({64}).front());
    rows.back().Config.Bold = true;  // one length only: no fit, and why
    const RunResults results = Analyse(context, rows, std::nullopt);
    const std::string table = TableReport(results);
    EXPECT_NE(table.find("  256    128   1000 "), std::string::npos) << table;
    EXPECT_NE(table.find("IPAゴシック\n    fit: 0.00400 ["), std::string::npos) << table;
    EXPECT_NE(table.find("IPAゴシック\n    no fit: a fit needs three or more lengths and has 1\n"), std::string::npos);

    const auto fits = Json::parse(JsonReport(results))["fits"];
    ASSERT_EQ(fits.size(), 2u);
    EXPECT_EQ(fits[0]["call"], "ExtTextOutW");
    EXPECT_TRUE(fits[0]["per_char_ms_ci"][0] < 0.0001 && fits[0]["per_char_ms_ci"][1] > 0.0001) << fits[0];
    EXPECT_TRUE(fits[0]["at_text_length_ms_ci"][0] < 0.005 && fits[0]["at_text_length_ms_ci"][1] > 0.005);
    EXPECT_EQ(fits[0]["lengths"], Json::parse("[2, 16, 64, 256]"));
    EXPECT_TRUE(fits[0]["per_byte_ms"] == 0.00005 && fits[0]["r2"] > 0.99);
    EXPECT_TRUE(fits[1]["no_fit"].is_string() && !fits[1].contains("per_call_ms"));
    EXPECT_NE(LengthChart(results).find("fill-opacity"), std::string::npos);  // the band
    EXPECT_NE(SweepChart(results).find(">ExtTextOutW: median time"), std::string::npos);  // the call drawn
}

}  // namespace
