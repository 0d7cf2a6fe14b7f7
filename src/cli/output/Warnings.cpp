// What the user should know before trusting the figures, one line each, for stderr.
#include "cli/output/Reports.h"

#include <algorithm>

#include "cli/compare/Compare.h"
#include "cli/text/Numbers.h"
#include "cli/text/Utf8.h"

namespace {

std::string TooFew(std::size_t fewest) {
    return " (n = " + std::to_string(fewest) + "; at least " + std::to_string(PassesNeeded()) + " a side needed)";
}

}  // namespace

std::vector<std::string> SweepWarnings(const RunResults& results) {
    const RunContext& context = results.Context;
    std::vector<std::string> lines;
    const auto add = [&](const std::string& line) {
        if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(line);
    };
    if (!context.NotInCodePage.empty())
        add("the ANSI code page " + std::to_string(context.AnsiCodePage) + " cannot hold " +
            CharacterList(context.NotInCodePage) +
            " of the text: the code page's default character or a look-alike is drawn in their place");
    std::size_t fewest = 0;
    for (const Result& r : results.Rows) {
        if (r.Substituted)
            add("\"" + r.Config.Face + "\" is drawn with \"" + r.RealizedFace + "\", the face the font mapper chose");
        std::vector<std::string> misread;
        for (const std::string& c : r.Misread)
            if (std::find(context.NotInCodePage.begin(), context.NotInCodePage.end(), c) == context.NotInCodePage.end())
                misread.push_back(c);
        if (!misread.empty())
            add("\"" + r.RealizedFace + "\" cannot show " + CharacterList(misread) +
                ": its character set reads their bytes as other characters, and those are drawn");
        if (r.VsBaseline && r.VsBaseline->Call == Verdict::TooFew)
            fewest = fewest ? std::min(fewest, r.VsBaseline->Passes) : r.VsBaseline->Passes;
    }
    const std::string needed = std::to_string(RoundsNeeded(context.Confidence));
    if (fewest)
        add("--baseline: " + Plural(fewest, "pass") + " a configuration cannot carry a verdict (at least " + needed +
            " needed); pass --repetitions " + needed + " or more");
    if (context.Stopped == "interrupted")
        add("interrupted after " + Plural(context.Rounds, "round") + ": the figures are what was measured until then");
    return lines;
}

std::vector<std::string> CompareWarnings(const RunSide& oldSide, const RunSide& newSide, const Comparisons& compared,
                                         bool despiteDifferences) {
    std::vector<std::string> lines;
    if (!compared.Differences.empty()) {
        std::string what;
        for (const std::string& name : compared.Differences) {
            // Each value the runs record, in the order the sides give them.
            std::vector<std::string> values;
            for (const RunSide* side : {&oldSide, &newSide})
                for (const RunResults& run : side->Runs) {
                    const auto terms = MeasuredTerms(run.Context);
                    const auto value = terms.find(name);
                    if (value != terms.end() && std::find(values.begin(), values.end(), value->second) == values.end())
                        values.push_back(value->second);
                }
            std::string list;
            for (const std::string& v : values) list += (list.empty() ? "" : " / ") + v;
            what += (what.empty() ? "" : ", ") + name + " (" + list + ")";
        }
        lines.push_back("the runs differ in " + what + ": they measured different things" +
                        (despiteDifferences ? "; verdicts are drawn all the same, as --compare-anyway asks"
                                            : ", so no verdict is drawn (--compare-anyway draws them)"));
    }
    std::size_t fewest = 0;
    for (const ComparedRow& row : compared.Rows)
        if (row.Change && row.Change->Call == Verdict::TooFew)
            fewest = fewest ? std::min(fewest, row.Change->Passes) : row.Change->Passes;
    if (fewest && compared.Runs > 1)
        lines.push_back("too few runs for a verdict (n = " + std::to_string(fewest) + " pairs; at least " +
                        std::to_string(RoundsNeeded(kConfidence)) + " needed): make more runs a side, alternately");
    else if (fewest)
        lines.push_back("too few passes for a verdict" + TooFew(fewest) + ": measure both runs with --repetitions " +
                        std::to_string(PassesNeeded()) + " or more");
    return lines;
}
