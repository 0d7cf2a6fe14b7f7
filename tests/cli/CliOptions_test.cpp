#include "cli/options/CliOptions.h"
#include "cli/sweep/Configuration.h"

#include <gtest/gtest.h>

namespace {

CliOptions Ok(std::vector<std::string> args) {
    ParsedArguments parsed = ParseArguments(args);
    EXPECT_TRUE(parsed.Options.has_value()) << parsed.Error;
    return parsed.Options.value_or(CliOptions());
}

TEST(CliOptions, ListsRepeatsBothSpellingsAndActions) {
    CliOptions o = Ok({"--face", "Liberation Sans, IPAゴシック", "-f", "DejaVu Sans", "--size=9,10.5", "-s", "12",
                       "--text=a=b", "-n", "1e4", "--repetitions=3", "-w", "0", "--format", "JSON", "--bold",
                       "--italic=Both", "--margin", "5", "--cpu", "1", "--priority", "Normal", "--plot", "/tmp/a.SVG"});
    EXPECT_EQ(o.Faces, (std::vector<std::string>{"Liberation Sans", "IPAゴシック", "DejaVu Sans"}));
    EXPECT_EQ(o.Sizes, (std::vector<double>{9, 10.5, 12}));
    EXPECT_EQ(o.Text, "a=b");
    EXPECT_EQ(o.Count, 10000);
    EXPECT_TRUE(o.Repetitions == 3 && o.RepetitionsGiven && o.Warmup == 0 && o.Format == OutputFormat::Json);
    EXPECT_TRUE(o.Bold == Toggle::On && o.Italic == Toggle::Both && o.Opaque == Toggle::Off);
    EXPECT_TRUE(o.Margin == 0.05 && o.Cpu == 1 && !o.HighPriority);
    EXPECT_EQ(o.PlotFile, "/tmp/a.SVG");  // a leading slash is a path, not a Windows-style option
    EXPECT_EQ(Ok({"--text", ""}).Text, "");
    EXPECT_TRUE(Ok({"--bold=ON", "--opaque", "--italic"}).Opaque == Toggle::On);
    const std::string help = ParseArguments({"-h"}).Usage;
    EXPECT_LE(help.find('\n'), 80u);
    EXPECT_EQ(help.find("{on}"), std::string::npos);
    CliOptions d = Ok({});
    EXPECT_TRUE(d.Faces.empty() && !d.Count && d.Repetitions == 10 && d.Warmup == 1 && d.HighPriority && !d.Cpu);
    // Calls, qualities and lengths are lists of words in any case; a value given twice is measured twice.
    CliOptions lists = Ok({"--call", "exttextoutw, ExtTextOutA", "--call=GETTEXTEXTENTPOINT32A", "--quality",
                           "ClearType,default", "--length", "1,64", "--length", "256,64"});
    EXPECT_EQ(lists.Calls, (std::vector<TextCall>{TextCall::ExtTextOutW, TextCall::ExtTextOutA,
                                                  TextCall::GetTextExtentPoint32A}));
    EXPECT_EQ(lists.Qualities, (std::vector<FontQuality>{FontQuality::ClearType, FontQuality::Default}));
    EXPECT_EQ(lists.Lengths, (std::vector<std::size_t>{1, 64, 256, 64}));
    // Help wins over version, version over the font list.
    EXPECT_EQ(Ok({"--list-fonts", "--version"}).Action, CliAction::Version);
    EXPECT_EQ(Ok({"-V", "-h", "--list-fonts"}).Action, CliAction::Help);
    EXPECT_EQ(Ok({"--self-check"}).Action, CliAction::SelfCheck);
    const CliOptions compare = Ok({"--compare", "old.json", "new.csv"});
    EXPECT_EQ(compare.Action, CliAction::Compare);
    EXPECT_EQ(compare.CompareOld + " " + compare.CompareNew, "old.json new.csv");
}

// The message names the option, on one line, so a script's author knows what to fix.
TEST(CliOptions, RefusesWithTheOptionNamed) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--frobnicate"}, "expected: --frobnicate"}, {{"stray"}, "expected: stray"}, {{"-s", "1001"}, "--size: "},
        {{"--count", "0"}, "--count: "}, {{"--count", "3000000000"}, "--count: "}, {{"--count"}, "--count: "},
        {{"--repetitions", "2.5"}, "--repetitions: "}, {{"--count", "2.5"}, "--count: "}, {{"-s", "0x10"}, "--size: "},
        {{"--plot", "chart.png"}, "--plot: \"chart.png\" is not accepted; give a file name ending in .svg"},
        {{"--warmup", "-1"}, "--warmup: "},
        {{"--target", "nan"}, "--target: "}, {{"--format", "xml"}, "--format: "}, {{"--face", "A, "}, "--face: "},
        {{"--face", std::string(32, 'x')}, "--face: "}, {{"--bold=maybe"}, "--bold: "}, {{"--cpu", "64"}, "--cpu: "},
        {{"--compare", "only-one.json"}, "--compare: "}, {{"--size", "0", "--count", "x"}, "--size: "},
        {{"--call", "DrawTextA"}, "--call: \"DrawTextA\""}, {{"--quality", "high"}, "--quality: "},
        {{"--length", "0"}, "--length: \"0\""}, {{"--length", "65536"}, "--length: "},
        {{"--length", "12, ,4"}, "--length: \" \""}, {{"--length", "1e2"}, "--length: "}};
    for (const auto& [args, names] : cases) {
        ParsedArguments parsed = ParseArguments(args);
        EXPECT_FALSE(parsed.Options.has_value()) << names;
        EXPECT_NE(parsed.Error.find(names), std::string::npos) << parsed.Error;
        EXPECT_EQ(parsed.Error.find('\n'), std::string::npos);
    }
}

TEST(Configurations, CrossProductInOrderTheBaselineNamedAndRepeatsNumbered) {
    std::vector<Configuration> all = Configurations(Ok({"-f", "A,B", "-s", "9,12", "--bold=both", "--opaque"}));
    ASSERT_EQ(all.size(), 8u);
    EXPECT_TRUE(all[1].Bold && all[2].Size == 12 && all[4].Face == "B" && all[7].Opaque && !all[7].Italic);
    std::string error;
    const std::vector<std::pair<std::string, std::optional<std::size_t>>> cases = {
        {"3", 2}, {"B,12,bold", 7}, {"A, 9, regular, opaque", 0}, {"B,9", std::nullopt}, {"9", std::nullopt}};
    for (const auto& [given, index] : cases) EXPECT_EQ(FindBaseline(given, all, error), index) << given;
    EXPECT_EQ(error.rfind("--baseline: \"9\" matches more than one", 0), 0u) << error;
    // Lengths innermost, so each configuration's lengths stand together above its fit.
    const std::vector<Configuration> calls = Configurations(
        Ok({"-f", "A", "--bold=both", "--call", "ExtTextOutA,TextOutA", "--quality", "nonantialiased", "--length", "8,64"}));
    ASSERT_EQ(calls.size(), 8u);
    EXPECT_TRUE(calls[1].LengthBytes == 64 && calls[2].Call == TextCall::TextOutA && calls[4].Bold &&
                calls[7].Quality == FontQuality::NonAntialiased);
    EXPECT_EQ(FindBaseline("bold,textouta,64 bytes", calls, error), 7u);
    EXPECT_EQ(ConfigLabel(calls[3]), "A 12 regular TextOutA nonantialiased 64 B");
    EXPECT_EQ(Configurations(Ok({"-f", "A"})).front().LengthBytes, 0u);  // the text as given
    // The same configuration twice, for an A/A check, numbered apart.
    const std::vector<Configuration> twice = Configurations(Ok({"-f", "A,B,A", "--length", "8,8"}));
    ASSERT_EQ(twice.size(), 6u);
    EXPECT_TRUE(twice[0].Repeat == 1 && twice[1].Repeat == 2 && twice[4].Repeat == 3 && twice[2].Repeat == 1);
    EXPECT_EQ(ConfigLabel(twice[4]), "A 12 regular 8 B #3");
    EXPECT_EQ(FindBaseline("b,#2", twice, error), 3u);
}

}  // namespace
