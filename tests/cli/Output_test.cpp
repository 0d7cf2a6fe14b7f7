#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <limits>

#include "cli/Compare.h"
#include "cli/Csv.h"
#include "cli/Plot.h"
#include "cli/Report.h"

namespace {

RunContext SampleContext() {
    RunContext c;
    c.Version = "1.0.0";
    c.Bits = 64;
    c.WindowsVersion = "6.1.7601";
    c.WineVersion = "8.0";
    c.AnsiCodePage = 932;
    c.Options.Text = "say \"hi\"\\\n\x01";
    c.TextBytes = 10;
    c.ReferenceMs = {3, 3.1, 2.9};
    return c;
}

Measurement Sample(const std::string& face, double size, std::vector<double> perCall) {
    Measurement m;
    m.Config.Face = m.RealizedFace = face;
    m.Config.Size = size;
    m.Count = 1000;
    m.PerCallMs = perCall;
    m.Stats = Summarize(perCall);
    return m;
}

std::vector<Measurement> SampleResults() {
    std::vector<Measurement> results = {Sample("IPAゴシック", 10.5, {0.004, 0.006, 0.005}),
                                        Sample("Odd, \"Face\"", 12, {0.002})};
    results[1].Config.Bold = results[1].Config.Opaque = results[1].Substituted = true;
    results[1].RealizedFace = "DejaVu Sans";
    return results;
}

TEST(FormatSignificant, PlainNotationWithCarries) {
    const std::pair<double, const char*> cases[] = {{1234567, "1230000"}, {0.0012345, "0.00123"}, {0.09996, "0.100"},
                                                    {999.6, "1000"},      {12, "12.0"},           {0, "0"},
                                                    {-0.5, "-0.500"},     {std::numeric_limits<double>::infinity(), "-"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(FormatSignificant(value, 3), text) << value;
}

TEST(Table, AlignsWideCharactersJudgesAndMarksSubstitutes) {
    EXPECT_EQ(DisplayWidth("IPAゴシック"), 11u);
    EXPECT_EQ(AlignColumns({{"ゴ", "1"}, {"abc", "100"}}, {false, true}), "ゴ     1\nabc  100\n");
    std::vector<Measurement> results = SampleResults();
    JudgeAgainstBaseline(results, 0, 0.02);
    const std::string table = TableReport(SampleContext(), results);
    for (const char* part : {"Wine 8.0 (reports Windows 6.1.7601)", "machine reference 3.00 ms", "baseline",
                             "DejaVu Sans *", "* the font mapper drew another face"})
        EXPECT_NE(table.find(part), std::string::npos) << part << "\n" << table;
}

TEST(Results, JsonAndCsvReadBackTheSameRows) {
    std::vector<Measurement> results = SampleResults();
    JudgeAgainstBaseline(results, 0, 0.02);
    const std::string json = JsonReport(SampleContext(), results);
    const auto document = nlohmann::json::parse(json);
    EXPECT_EQ(document["context"]["text"], SampleContext().Options.Text);
    EXPECT_EQ(document["context"]["count"], "auto");
    EXPECT_TRUE(document["results"][1]["stddev_ms"].is_null());
    EXPECT_EQ(document["results"][1]["verdict"], "no clear difference");

    std::string error;
    auto fromJson = ReadResults(json, error);
    auto fromCsv = ReadResults("\xEF\xBB\xBF" + CsvReport(results, 10), error);
    ASSERT_TRUE(fromJson && fromCsv) << error;
    EXPECT_EQ(fromJson->ReferenceMs, SampleContext().ReferenceMs);
    EXPECT_NE(fromJson->Description.find("Wine 8.0"), std::string::npos);
    ASSERT_EQ(fromCsv->Rows.size(), 2u);
    for (const ResultFile* file : {&*fromJson, &*fromCsv}) {
        const ResultRow& row = file->Rows[1];
        EXPECT_EQ(row.Config.Face, "Odd, \"Face\"");
        EXPECT_TRUE(row.Config.Bold && row.Config.Opaque && row.Substituted);
        EXPECT_EQ(file->Rows[0].MedianMs, 0.005);
        EXPECT_EQ(file->Rows[0].BytesPerSecond, 2000000);
    }
    EXPECT_EQ(fromJson->Rows[0].SamplesMs.size(), 3u);
}

TEST(Results, ReaderNamesWhatIsWrong) {
    const std::pair<const char*, const char*> cases[] = {{"{\"results\": 3}", "no \"results\" array"},
                                                         {"{\"results\": [{\"face\": \"A\", \"size\": 12}]}", "result 1: no median_ms"},
                                                         {"face,size,median_ms\nA,12,abc\n", "line 2: no median_ms"},
                                                         {"", "empty file"},
                                                         {"{\"results\": [", "not valid JSON"}};
    for (const auto& [text, message] : cases) {
        std::string error;
        EXPECT_FALSE(ReadResults(text, error)) << text;
        EXPECT_EQ(error, message);
    }
}

ResultFile File(bool isNew, double scale, std::vector<double> reference) {
    ResultFile file;
    file.ReferenceMs = reference;
    for (const char* face : {"A", "B"}) {
        ResultRow row;
        row.Config.Face = face;
        row.SamplesMs = {0.0100 * scale, 0.0101 * scale, 0.0099 * scale, 0.0102 * scale, 0.0098 * scale};
        row.MedianMs = 0.01 * scale;
        file.Rows.push_back(row);
    }
    file.Rows[1].Config.Face = isNew ? "Only new" : "Only old";
    return file;
}

// The machine's own change is taken out, or stops the verdict when large.
TEST(Compare, MachineReferenceAdjustsOrWithholdsTheVerdict) {
    const std::vector<double> ref = {3, 3.01, 2.99, 3.02, 2.98};
    const struct Case {
        double scale, machine;
        bool referenced;
        Verdict call;
    } cases[] = {{1.2, 1.0, true, Verdict::Slower},     {1.05, 1.05, true, Verdict::Same},
                 {0.9, 1.0, true, Verdict::Faster},     {1.3, 1.3, true, Verdict::MachineChanged},
                 {1.2, 1.0, false, Verdict::None}};
    for (const Case& c : cases) {
        std::vector<double> moved;
        for (double ms : ref) moved.push_back(ms * c.machine);
        const ResultFile before = File(false, 1, c.referenced ? ref : std::vector<double>{});
        const ResultFile after = File(true, c.scale, c.referenced ? moved : std::vector<double>{});
        const Comparisons compared = CompareFiles(before, after, 0.02);
        ASSERT_EQ(compared.Rows.size(), 3u);  // A paired, one only in each
        ASSERT_TRUE(compared.Rows[0].Adjusted);
        EXPECT_EQ(compared.Rows[0].Adjusted->Call, c.call) << c.scale << " " << c.machine;
        EXPECT_FALSE(compared.Rows[1].New || compared.Rows[2].Old);
        const std::string csv = CompareReport("o", before, "n", after, compared, OutputFormat::Csv);
        EXPECT_EQ(csv.find("A,12,false,false,false,0.01,"), csv.find('\n') + 1) << csv;
        EXPECT_NE(CompareChart(compared).find("stroke-dasharray"), std::string::npos);  // the line at 1
    }
}

TEST(Chart, OneMarkPerConfigurationUnderItsFace) {
    const std::string svg = SweepChart(SampleResults());
    EXPECT_EQ(svg.rfind("<svg", 0), 0u);
    EXPECT_NE(svg.find(">Odd, &quot;Face&quot;</text>"), std::string::npos);
    EXPECT_NE(svg.find(">10.5 regular</text>"), std::string::npos);
    EXPECT_NE(svg.find(">12 bold opaque</text>"), std::string::npos);
}

TEST(Csv, FieldsQuoteOnlyWhenNeededAndReadBack) {
    EXPECT_EQ(CsvField("a,\"b\""), "\"a,\"\"b\"\"\"");
    auto rows = ParseCsv("a,\"b,\"\"c\"\"\"\r\n\"multi\nline\",\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"a", "b,\"c\""}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"multi\nline", ""}));
}

}  // namespace
