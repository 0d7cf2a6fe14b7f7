#include <gtest/gtest.h>

#include "cli/Compare.h"
#include "cli/Csv.h"
#include "cli/Json.h"
#include "cli/Report.h"
#include "cli/Utf8.h"

namespace {

std::string Narrow(const std::wstring& text) { return ToUtf8(text); }

RunContext SampleContext() {
    RunContext c;
    c.Version = L"1.0.0";
    c.Bits = 64;
    c.WindowsVersion = L"6.1.7601";
    c.WineVersion = L"8.0";
    c.AnsiCodePage = 932;
    c.Dpi = 96;
    c.CounterFrequency = 10000000;
    c.Date = L"2024-01-02T03:04:05Z";
    c.Text = L"say \"hi\"\\\n\x01";
    c.TextBytes = 10;
    c.Repetitions = 2;
    c.Warmup = 1;
    return c;
}

Measurement Sample(const std::wstring& face, double size, std::vector<double> perCall) {
    Measurement m;
    m.Config.Face = face;
    m.Config.Size = size;
    m.RealizedFace = face;
    m.Count = 1000;
    m.PerCallMs = perCall;
    m.Stats = Summarize(perCall);
    return m;
}

std::vector<Measurement> SampleResults() {
    std::vector<Measurement> results = {Sample(L"IPAゴシック", 10.5, {0.004, 0.006}),
                                        Sample(L"Odd, \"Face\"", 12, {0.002})};
    results[1].Config.Bold = true;
    results[1].Config.Opaque = true;
    results[1].RealizedFace = L"DejaVu Sans";
    results[1].Substituted = true;
    return results;
}

TEST(Utf8, RoundTripsOutsideTheBasicPlane) {
    const std::wstring text = L"a\u00e9\u30b4\U0001F600z";
    const std::string bytes = ToUtf8(text);
    EXPECT_EQ(bytes, "a\xC3\xA9\xE3\x82\xB4\xF0\x9F\x98\x80z");
    EXPECT_EQ(FromUtf8(bytes), text);
}

TEST(Utf8, MalformedBytesBecomeReplacementCharacters) {
    EXPECT_EQ(FromUtf8("a\xFF" "b"), L"a\uFFFDb");
    EXPECT_EQ(FromUtf8("\xE3\x82"), L"\uFFFD");              // cut short at the end
    EXPECT_EQ(FromUtf8("\xE3\x82z"), L"\uFFFDz");            // cut short before ASCII
    EXPECT_EQ(FromUtf8("\xC0\xAF"), L"\uFFFD\uFFFD");        // overlong
    EXPECT_EQ(FromUtf8("\xED\xA0\x80"), L"\uFFFD");          // a surrogate
}

TEST(FormatSignificant, ThreeDigitsInPlainNotation) {
    EXPECT_EQ(FormatSignificant(1234567, 3), L"1230000");
    EXPECT_EQ(FormatSignificant(0.0012345, 3), L"0.00123");
    EXPECT_EQ(FormatSignificant(0.09996, 3), L"0.100");  // rounding carries into the next digit
    EXPECT_EQ(FormatSignificant(999.6, 3), L"1000");
    EXPECT_EQ(FormatSignificant(12, 3), L"12.0");
    EXPECT_EQ(FormatSignificant(0, 3), L"0");
    EXPECT_EQ(FormatSignificant(-0.5, 3), L"-0.500");
    EXPECT_EQ(FormatSignificant(std::numeric_limits<double>::infinity(), 3), L"-");
}

TEST(Table, AlignsWideCharactersAndMarksSubstitutes) {
    EXPECT_EQ(DisplayWidth(L"IPAゴシック"), 11u);
    EXPECT_EQ(AlignColumns({{L"ゴ", L"1"}, {L"abc", L"100"}}, {false, true}), L"ゴ     1\nabc  100\n");

    const std::wstring table = TableReport(SampleContext(), SampleResults());
    EXPECT_NE(table.find(L"Wine 8.0 (reports Windows 6.1.7601)"), std::wstring::npos);
    EXPECT_NE(table.find(L"ANSI code page 932"), std::wstring::npos);
    EXPECT_NE(table.find(L"DejaVu Sans *"), std::wstring::npos);
    EXPECT_NE(table.find(L"* the font mapper drew another face"), std::wstring::npos);
    // Every row of the table is as wide as its header up to the last column.
    const size_t header = table.find(L"face ");
    const size_t drawn = table.find(L"drawn with", header) - header;
    size_t line = table.find(L'\n', header) + 1;
    for (int row = 0; row < 2; ++row, line = table.find(L'\n', line) + 1) {
        const std::wstring text = table.substr(line, table.find(L'\n', line) - line);
        const std::wstring face = row == 0 ? L"IPAゴシック" : L"DejaVu Sans";
        EXPECT_EQ(DisplayWidth(text.substr(0, text.rfind(face))), drawn) << Narrow(text);
    }
}

TEST(Csv, FieldsQuoteOnlyWhenNeededAndReadBack) {
    EXPECT_EQ(CsvField(L"plain"), L"plain");
    EXPECT_EQ(CsvField(L"a,\"b\""), L"\"a,\"\"b\"\"\"");
    auto rows = ParseCsv(L"a,\"b,\"\"c\"\"\"\r\n\"multi\nline\",\n\nlast");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (std::vector<std::wstring>{L"a", L"b,\"c\""}));
    EXPECT_EQ(rows[1], (std::vector<std::wstring>{L"multi\nline", L""}));
    EXPECT_EQ(rows[2], (std::vector<std::wstring>{L""}));
    EXPECT_EQ(rows[3], (std::vector<std::wstring>{L"last"}));
    EXPECT_EQ(ParseCsv(L"x\n").size(), 1u);
}

TEST(Json, ParsesValuesEscapesAndNesting) {
    std::wstring error;
    auto value = ParseJson(L" {\"a\": [1, -2.5e3, true, false, null], \"s\": \"\\u30b4\\ud83d\\ude00\\n\\\"\"} ", error);
    ASSERT_TRUE(value) << Narrow(error);
    const JsonValue* a = value->Find(L"a");
    ASSERT_TRUE(a);
    ASSERT_EQ(a->Items.size(), 5u);
    EXPECT_EQ(a->Items[1].Number, -2500);
    EXPECT_TRUE(a->Items[2].Bool);
    EXPECT_EQ(a->Items[4].Kind, JsonValue::Type::Null);
    EXPECT_EQ(value->Find(L"s")->String, L"\u30b4\U0001F600\n\"");
    EXPECT_EQ(value->Find(L"missing"), nullptr);
}

TEST(Json, RefusesMalformedDocumentsWithAPosition) {
    for (const wchar_t* bad : {L"", L"{", L"{\"a\" 1}", L"[1,]", L"[01]", L"\"\\x\"", L"tru", L"{} x", L"[1.]",
                               L"\"a\nb\""}) {
        std::wstring error;
        EXPECT_FALSE(ParseJson(bad, error)) << Narrow(bad);
        EXPECT_NE(error.find(L"at character"), std::wstring::npos);
    }
    std::wstring deep(100, L'['), error;
    EXPECT_FALSE(ParseJson(deep + std::wstring(100, L']'), error));
}

TEST(Json, QuoteAndNumber) {
    EXPECT_EQ(JsonQuote(L"a\"\\\n\x01ゴ"), L"\"a\\\"\\\\\\n\\u0001ゴ\"");
    EXPECT_EQ(JsonNumber(10.5), L"10.5");
    EXPECT_EQ(JsonNumber(0.00123456789, 6), L"0.00123457");
    EXPECT_EQ(JsonNumber(std::numeric_limits<double>::quiet_NaN()), L"null");
}

TEST(Results, JsonOutputIsValidAndReadsBack) {
    const std::wstring json = JsonReport(SampleContext(), SampleResults());
    std::wstring error;
    auto document = ParseJson(json, error);
    ASSERT_TRUE(document) << Narrow(error);
    const JsonValue& context = *document->Find(L"context");
    EXPECT_EQ(context.Find(L"text")->String, SampleContext().Text);
    EXPECT_EQ(context.Find(L"count")->String, L"auto");
    EXPECT_EQ(context.Find(L"ansi_code_page")->Number, 932);
    EXPECT_EQ(document->Find(L"results")->Items[1].Find(L"stddev_ms")->Kind, JsonValue::Type::Null);
    EXPECT_EQ(document->Find(L"results")->Items[0].Find(L"samples_ms")->Items.size(), 2u);

    auto file = ReadResults(json, error);
    ASSERT_TRUE(file) << Narrow(error);
    ASSERT_EQ(file->Rows.size(), 2u);
    const ResultRow& first = file->Rows[0];
    EXPECT_EQ(first.Config.Face, L"IPAゴシック");
    EXPECT_EQ(first.Config.Size, 10.5);
    EXPECT_EQ(first.Count, 1000);
    EXPECT_EQ(first.Repetitions, 2);
    EXPECT_DOUBLE_EQ(first.MedianMs, 0.005);
    EXPECT_DOUBLE_EQ(first.CallsPerSecond, 200000);
    EXPECT_DOUBLE_EQ(first.BytesPerSecond, 2000000);
    const ResultRow& second = file->Rows[1];
    EXPECT_EQ(second.Config.Face, L"Odd, \"Face\"");
    EXPECT_TRUE(second.Config.Bold && second.Config.Opaque && second.Substituted);
    EXPECT_FALSE(second.StdDevMs.has_value());
    EXPECT_NE(file->Description.find(L"Wine 8.0"), std::wstring::npos);

    EXPECT_NE(JsonReport(SampleContext(), {}).find(L"\"results\": []"), std::wstring::npos);
    EXPECT_TRUE(ReadResults(JsonReport(SampleContext(), {}), error));
}

TEST(Results, CsvOutputReadsBackTheSameRows) {
    const std::wstring csv = CsvReport(SampleResults(), 10);
    std::wstring error;
    auto fromCsv = ReadResults(csv, error);
    auto fromJson = ReadResults(JsonReport(SampleContext(), SampleResults()), error);
    ASSERT_TRUE(fromCsv && fromJson) << Narrow(error);
    ASSERT_EQ(fromCsv->Rows.size(), fromJson->Rows.size());
    for (size_t i = 0; i < fromCsv->Rows.size(); ++i) {
        const ResultRow& c = fromCsv->Rows[i];
        const ResultRow& j = fromJson->Rows[i];
        EXPECT_EQ(c.Config.Face, j.Config.Face);
        EXPECT_EQ(c.RealizedFace, j.RealizedFace);
        EXPECT_EQ(c.Config.Size, j.Config.Size);
        EXPECT_EQ(c.Config.Bold, j.Config.Bold);
        EXPECT_EQ(c.Substituted, j.Substituted);
        EXPECT_EQ(c.MedianMs, j.MedianMs);
        EXPECT_EQ(c.StdDevMs, j.StdDevMs);
        EXPECT_EQ(c.BytesPerSecond, j.BytesPerSecond);
    }
}

TEST(Results, ReaderNamesWhatIsWrong) {
    std::wstring error;
    EXPECT_FALSE(ReadResults(L"{\"results\": 3}", error));
    EXPECT_NE(error.find(L"results"), std::wstring::npos);
    EXPECT_FALSE(ReadResults(L"{\"results\": [{\"face\": \"A\", \"size\": 12}]}", error));
    EXPECT_EQ(error, L"result 1: no median_ms");
    EXPECT_FALSE(ReadResults(L"face,size,median_ms\nA,12,abc\n", error));
    EXPECT_EQ(error, L"line 2: no median_ms");
    EXPECT_FALSE(ReadResults(L"", error));
    // A byte-order mark and CRLF line ends are fine; out-of-range counts are dropped.
    auto file = ReadResults(L"\xFEFF" L"face,size,median_ms,count\r\nA,12,0.5,1e12\r\n", error);
    ASSERT_TRUE(file) << Narrow(error);
    EXPECT_EQ(file->Rows[0].Count, 0);
}

TEST(Compare, PairsConfigurationsAndDividesMedians) {
    std::wstring error;
    auto oldFile = ReadResults(L"face,size,bold,median_ms\nA,12,false,0.004\nA,12,true,0.005\nGone,9,false,1\n", error);
    auto newFile = ReadResults(L"face,size,bold,median_ms\nA,12,true,0.004\nA,12,false,0.006\nNew,9,false,2\n", error);
    ASSERT_TRUE(oldFile && newFile);

    const std::wstring csv = CompareReport(L"old.csv", *oldFile, L"new.csv", *newFile, OutputFormat::Csv);
    EXPECT_EQ(csv,
              L"face,size,bold,italic,opaque,old_median_ms,new_median_ms,ratio\n"
              L"A,12,false,false,false,0.004,0.006,1.5\n"
              L"A,12,true,false,false,0.005,0.004,0.8\n"
              L"Gone,9,false,false,false,1,,\n"
              L"New,9,false,false,false,,2,\n");

    const std::wstring table = CompareReport(L"old.csv", *oldFile, L"new.csv", *newFile, OutputFormat::Table);
    EXPECT_NE(table.find(L"old: old.csv\n"), std::wstring::npos);
    EXPECT_NE(table.find(L"1.50"), std::wstring::npos);

    auto json = ParseJson(CompareReport(L"o", *oldFile, L"n", *newFile, OutputFormat::Json), error);
    ASSERT_TRUE(json) << Narrow(error);
    const auto& rows = json->Find(L"rows")->Items;
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_DOUBLE_EQ(rows[1].Find(L"ratio")->Number, 0.8);
    EXPECT_EQ(rows[3].Find(L"old_median_ms")->Kind, JsonValue::Type::Null);
}

}  // namespace
