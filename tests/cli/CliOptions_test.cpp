#include "cli/CliOptions.h"

#include <gtest/gtest.h>

namespace {

ParsedArguments Parse(std::initializer_list<const wchar_t*> args) {
    std::vector<std::wstring> list;
    for (const wchar_t* a : args) list.emplace_back(a);
    return ParseArguments(list);
}

CliOptions Ok(std::initializer_list<const wchar_t*> args) {
    ParsedArguments parsed = Parse(args);
    EXPECT_TRUE(parsed.Options.has_value()) << std::string(parsed.Error.begin(), parsed.Error.end());
    return parsed.Options.value_or(CliOptions());
}

// The message must name the option, so a script's author knows what to fix.
void ExpectRefused(std::initializer_list<const wchar_t*> args, const std::wstring& names) {
    ParsedArguments parsed = Parse(args);
    EXPECT_FALSE(parsed.Options.has_value());
    EXPECT_EQ(parsed.Error.find(names), 0u) << std::string(parsed.Error.begin(), parsed.Error.end());
    EXPECT_EQ(parsed.Error.find(L'\n'), std::wstring::npos);
}

TEST(CliOptions, DefaultsMatchTheInteractiveProgram) {
    CliOptions o = Ok({});
    EXPECT_EQ(o.Action, CliAction::Measure);
    EXPECT_EQ(o.Text, L"The quick brown fox jumps over the lazy dog.");
    EXPECT_TRUE(o.Faces.empty());
    EXPECT_TRUE(o.Sizes.empty());
    EXPECT_FALSE(o.Count.has_value());
    EXPECT_DOUBLE_EQ(o.TargetSeconds, 0.5);
    EXPECT_EQ(o.Repetitions, 5);
    EXPECT_EQ(o.Warmup, 1);
    EXPECT_FALSE(o.Flush);
    EXPECT_EQ(o.Format, OutputFormat::Table);
}

TEST(CliOptions, FacesAndSizesAccumulateFromListsAndRepeats) {
    CliOptions o = Ok({L"--face", L"Liberation Sans, IPAゴシック", L"-f", L"DejaVu Sans", L"--size=9,10.5",
                       L"-s", L"12"});
    EXPECT_EQ(o.Faces, (std::vector<std::wstring>{L"Liberation Sans", L"IPAゴシック", L"DejaVu Sans"}));
    EXPECT_EQ(o.Sizes, (std::vector<double>{9, 10.5, 12}));
}

TEST(CliOptions, ValuesInBothSpellings) {
    CliOptions o = Ok({L"--text=a=b", L"-n", L"1e4", L"--repetitions=3", L"-w", L"0", L"--format", L"json",
                       L"--target", L"0.25", L"--flush"});
    EXPECT_EQ(o.Text, L"a=b");
    EXPECT_EQ(o.Count, 10000);
    EXPECT_EQ(o.Repetitions, 3);
    EXPECT_EQ(o.Warmup, 0);
    EXPECT_EQ(o.Format, OutputFormat::Json);
    EXPECT_DOUBLE_EQ(o.TargetSeconds, 0.25);
    EXPECT_TRUE(o.Flush);
    EXPECT_EQ(Ok({L"--text", L""}).Text, L"");
    EXPECT_FALSE(Ok({L"-n", L"100", L"--count", L"auto"}).Count.has_value());
    EXPECT_EQ(Ok({L"--count", L"2.5"}).Count, 2);  // halves to even, as the count box
}

TEST(CliOptions, StylesAreFlagsOrOnOffBoth) {
    CliOptions o = Ok({L"--bold", L"--italic=both", L"--opaque=off"});
    EXPECT_EQ(o.Bold, Toggle::On);
    EXPECT_EQ(o.Italic, Toggle::Both);
    EXPECT_EQ(o.Opaque, Toggle::Off);
    ExpectRefused({L"--bold=maybe"}, L"--bold: ");
}

TEST(CliOptions, ActionsPreferHelpThenVersionThenFonts) {
    EXPECT_EQ(Ok({L"--list-fonts", L"--version"}).Action, CliAction::Version);
    EXPECT_EQ(Ok({L"-V", L"-h", L"--list-fonts"}).Action, CliAction::Help);
    EXPECT_EQ(Ok({L"--list-fonts"}).Action, CliAction::ListFonts);
    CliOptions o = Ok({L"--compare", L"old.json", L"new.csv", L"--format", L"csv"});
    EXPECT_EQ(o.Action, CliAction::Compare);
    EXPECT_EQ(o.CompareOld, L"old.json");
    EXPECT_EQ(o.CompareNew, L"new.csv");
}

TEST(CliOptions, RefusesWithTheOptionNamed) {
    ExpectRefused({L"--frobnicate"}, L"\"--frobnicate\": ");
    ExpectRefused({L"stray"}, L"\"stray\": ");
    ExpectRefused({L"--size", L"0.5"}, L"--size: ");
    ExpectRefused({L"--size", L"12,"}, L"--size: ");
    ExpectRefused({L"--size", L"1001"}, L"--size: ");
    ExpectRefused({L"-s", L"abc"}, L"-s: ");
    ExpectRefused({L"--count", L"0"}, L"--count: ");
    ExpectRefused({L"--count", L"-3"}, L"--count: ");
    ExpectRefused({L"--count", L"3000000000"}, L"--count: ");
    ExpectRefused({L"--count"}, L"--count: ");
    ExpectRefused({L"--repetitions", L"0"}, L"--repetitions: ");
    ExpectRefused({L"--repetitions", L"2.5"}, L"--repetitions: ");
    ExpectRefused({L"--warmup", L"-1"}, L"--warmup: ");
    ExpectRefused({L"--target", L"0"}, L"--target: ");
    ExpectRefused({L"--target", L"nan"}, L"--target: ");
    ExpectRefused({L"--format", L"xml"}, L"--format: ");
    ExpectRefused({L"--face", L"A,,B"}, L"--face: ");
    ExpectRefused({L"--face", L"0123456789012345678901234567890123"}, L"--face: ");
    ExpectRefused({L"--flush=yes"}, L"--flush: ");
    ExpectRefused({L"--compare", L"only-one.json"}, L"--compare: ");
    ExpectRefused({L"--compare=a.json", L"b.json"}, L"--compare: ");
}

TEST(CliOptions, FirstErrorWins) {
    ParsedArguments parsed = Parse({L"--size", L"0", L"--count", L"x"});
    EXPECT_EQ(parsed.Error.rfind(L"--size: ", 0), 0u);
}

TEST(Configurations, CrossProductFacesOutermost) {
    std::vector<Configuration> all =
        Configurations({L"A", L"B"}, {9, 12}, Toggle::Both, Toggle::Off, Toggle::On);
    ASSERT_EQ(all.size(), 8u);
    EXPECT_EQ(all[0].Face, L"A");
    EXPECT_EQ(all[0].Size, 9);
    EXPECT_FALSE(all[0].Bold);
    EXPECT_TRUE(all[1].Bold);
    EXPECT_EQ(all[2].Size, 12);
    EXPECT_EQ(all[4].Face, L"B");
    for (const Configuration& c : all) {
        EXPECT_FALSE(c.Italic);
        EXPECT_TRUE(c.Opaque);
    }
    EXPECT_EQ(Configurations({L"A"}, {12}, Toggle::Both, Toggle::Both, Toggle::Both).size(), 8u);
}

}  // namespace
