// What the user should know before trusting the figures, one line each, for stderr.
#include "cli/output/Reports.h"

#include <algorithm>

#include "cli/compare/Compare.h"
#include "cli/text/Numbers.h"
#include "cli/text/Utf8.h"

namespace {

// The fewest passes of the comparisons that had too few for a verdict; 0: none had.
template <typename Rows, typename Of>
std::size_t FewestPasses(const Rows& rows, Of comparison) {
    std::size_t fewest = 0;
    for (const auto& row : rows)
        if (const std::optional<Comparison>& c = comparison(row); c && c->Call == Verdict::TooFew)
            fewest = fewest ? std::min(fewest, c->Passes) : c->Passes;
    return fewest;
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
    }
    const std::string needed = std::to_string(RoundsNeeded(context.Confidence));
    if (const std::size_t fewest = FewestPasses(results.Rows, [](const Result& r) { return r.VsBaseline; }))
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
            what += (what.empty() ? "" : ", ") + name + " (" + TermValues({&oldSide, &newSide}, name) + ")";
        }
        lines.push_back("the runs differ in " + what + ": they measured different things" +
                        (despiteDifferences ? "; verdicts are drawn all the same, as --compare-anyway asks"
                                            : ", so no verdict is drawn (--compare-anyway draws them)"));
    }
    if (const std::size_t fewest = FewestPasses(compared.Rows, [](const ComparedRow& r) { return r.Change; })) {
        const std::string needed = std::to_string(compared.Runs > 1 ? RoundsNeeded(kConfidence) : PassesNeeded());
        lines.push_back(compared.Runs > 1
                            ? "too few runs for a verdict (n = " + std::to_string(fewest) + " pairs; at least " +
                                  needed + " needed): make more runs a side, alternately"
                            : "too few passes for a verdict (n = " + std::to_string(fewest) + "; at least " + needed +
                                  " a side needed): measure both runs with --repetitions " + needed + " or more");
    }
    return lines;
}
