// The console companion: parse the options, plan the configurations, measure, analyse once, write.
#include <algorithm>
#include <chrono>
#include <functional>

#include "cli/analysis/Paired.h"
#include "cli/analysis/Results.h"
#include "cli/chart/Plot.h"
#include "cli/compare/Compare.h"
#include "cli/measure/CanvasBench.h"
#include "cli/output/Reports.h"
#include "cli/sweep/Configuration.h"
#include "cli/text/Numbers.h"
#include "cli/text/Utf8.h"
#include "platform/Console.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/System.h"
#include "platform/Text.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;  // as a shell reports a program stopped by Ctrl+C
const char* const kStopNames[] = {"rounds", "decided", "time", "interrupted"};

// What the rounds set out to answer. Without --max-time: a fixed number of rounds, judged once at
// 95%. With it: rounds until every verdict is decided or the time is spent, looked at after the
// schedule's numbers of rounds, each look spending its share of the 5%.
struct SweepPlan {
    SweepPlan(const CliOptions& o, std::size_t configurations, std::optional<std::size_t> baseline) {
        Passes = {o.Count, o.TargetSeconds * 1000, o.Warmup, o.Repetitions, nullptr, o.MaxSeconds};
        if (o.MaxSeconds <= 0) return;
        Passes.Rounds = o.RepetitionsGiven ? o.Repetitions : 10000;
        // Passes short enough for some forty rounds in the time, so the looks can come.
        Passes.TargetMs = std::min(Passes.TargetMs, std::max(5.0, o.MaxSeconds * 1000 / 40 / configurations));
        Passes.Answered = [this, baseline, margin = o.Margin](const TimedPasses& p) {
            const std::optional<int> look = LookAt(p.Rounds, Passes.Rounds);
            if (!look) return false;
            LastLook = *look;
            Open = Undecided(p.PerCallMs, baseline, margin, 1 - LookAlpha(*look));
            return Open == 0;
        };
    }
    // A look that ended the rounds keeps its confidence; any other end is one look more.
    double FinalConfidence(StopReason stopped) const {
        if (!Passes.Answered) return kConfidence;
        return 1 - LookAlpha(stopped == StopReason::Answered ? LastLook : LastLook + 1);
    }
    PassPlan Passes;
    int LastLook = 0;
    std::optional<std::size_t> Open;  // configurations undecided at the last look
};

// One line on a console that says how far a long run is; nothing in a pipe or a file.
class Progress {
public:
    Progress(const CliOptions& o, std::size_t judged, const SweepPlan& plan)
        : shown_(!o.Quiet && StderrIsConsole()), max_(o.MaxSeconds), judged_(judged), plan_(plan) {}
    void operator()(const TimedPasses& p) {
        if (!shown_ || Seconds() < 1) return;
        std::string line = "round " + std::to_string(p.Rounds) + ", " + FormatSignificant(Seconds(), 2) + " s" +
                           (max_ > 0 ? " of " + PreciseText(max_) + " s" : "");
        if (plan_.Open)
            line += ", " + std::to_string(judged_ - *plan_.Open) + " of " + std::to_string(judged_) + " decided";
        WriteStderr("\r" + line + std::string(width_ > line.size() ? width_ - line.size() : 0, ' '));
        width_ = std::max(width_, line.size());
    }
    void Done() {
        if (width_) WriteStderr("\r" + std::string(width_, ' ') + "\r");
    }
    double Seconds() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count(); }

private:
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    bool shown_;
    double max_;
    std::size_t judged_;
    const SweepPlan& plan_;
    std::size_t width_ = 0;
};

void Err(const std::string& text) { WriteStderr(std::string(kCliProgramName) + ": " + text + "\n"); }

int Usage(const std::string& message) { return Err(message), kExitUsage; }

int Failed(const std::string& message) { return Err(message), kExitFailed; }

int Plot(const std::string& path, const std::string& svg) {
    if (path.empty() || WriteWholeFile(path, svg)) return 0;
    return Failed("--plot: cannot write \"" + path + "\"");
}

int Compare(const CliOptions& options) {
    // Read.
    std::vector<RunResults> sides[2];
    for (int i = 0; i < 2; ++i)
        for (const std::string& name : i ? options.CompareNew : options.CompareOld) {
            const std::optional<std::string> text = ReadWholeFile(name);
            if (!text) return Usage("--compare: cannot read \"" + name + "\"");
            std::string error;
            std::optional<RunResults> read = ReadResults(*text, error);
            if (!read)
                return Usage("--compare: \"" + name + "\" is not a JSON or CSV output of this program (" + error + ")");
            sides[i].push_back(std::move(*read));
        }
    const RunSide oldSide{options.CompareOld, sides[0]}, newSide{options.CompareNew, sides[1]};
    std::vector<std::string> all = options.CompareOld;
    all.insert(all.end(), options.CompareNew.begin(), options.CompareNew.end());
    std::sort(all.begin(), all.end());
    if (const auto twice = std::adjacent_find(all.begin(), all.end()); twice != all.end())
        return Usage("--compare: \"" + *twice + "\" is given twice; each run is one file");
    if (const std::optional<std::size_t> pair = OutOfOrder(sides[0], sides[1]))
        return Usage("--compare: \"" + oldSide.Names[*pair] + "\" and \"" + newSide.Names[*pair] +
                     "\" were not made after the runs before them, as their dates say; give the runs in the order made");
    // Analyse.
    const Comparisons compared = CompareRuns(sides[0], sides[1], options.Margin, options.CompareAnyway);
    if (!compared.InCommon)
        return Usage("--compare: " +
                     (compared.Runs == 1 ? "\"" + oldSide.Names[0] + "\" and \"" + newSide.Names[0] + "\""
                                         : std::string("the old and new runs")) +
                     " have no configuration in common; compare runs of the same faces, sizes and styles");
    // Write.
    for (const std::string& line : CompareWarnings(oldSide, newSide, compared, options.CompareAnyway))
        Err("warning: " + line);
    WriteStdout(options.Format == OutputFormat::Csv    ? CompareCsv(compared)
                : options.Format == OutputFormat::Json ? CompareJson(oldSide, newSide, compared)
                                                       : CompareTable(oldSide, newSide, compared));
    return Plot(options.PlotFile, CompareChart(compared));
}

RunContext DescribeRun(const CliOptions& options, const CanvasBench& bench, std::vector<double> referenceMs) {
    RunContext context;
    static_cast<SystemDescription&>(context) = DescribeSystem();
    context.Program = kCliProgramName;
    context.Version = CliVersion();
    context.Commit = CliCommit();
    context.Bits = static_cast<int>(sizeof(void*) * 8);
    context.Options = options;
    context.TextBytes = bench.Ansi.size();
    context.NotInCodePage = CharactersRefused(options.Text, [](const std::string& c) {
        return SurvivesAnsiTrip(FromUtf8(c), CP_ACP);
    });
    context.ReferenceMs = std::move(referenceMs);
    return context;
}

int Measure(CliOptions options) {
    // Plan: every face is checked before anything is measured.
    if (options.Faces.empty()) options.Faces.push_back(ToUtf8(DefaultFace(*MakeFont(SystemMenuFont()))));
    for (const std::string& face : options.Faces)
        if (!IsScreenFont(FromUtf8(face)))
            return Usage("--face: \"" + face + "\" is not an installed screen font; give one that --list-fonts shows");
    // The self-check times the interactive program's own call on its own text, at the default quality.
    const bool selfCheck = options.Action == CliAction::SelfCheck;
    if (selfCheck && !(options.Calls.empty() && options.Qualities.empty() && options.Lengths.empty() &&
                       options.Surfaces.empty() && options.Canvases.empty() && !options.FirstDraw))
        return Usage("--self-check: times the interactive program's own call, text and canvas; leave out --call, "
                     "--quality, --length, --surface, --canvas and --first-draw");
    const SIZE canvas = CanvasClientSize();
    const std::vector<Configuration> configs = Configurations(options, {canvas.cx, canvas.cy});
    std::optional<std::size_t> baseline;
    std::string error;
    if (!options.Baseline.empty() && !(baseline = FindBaseline(options.Baseline, configs, error))) return Usage(error);

    // Measure.
    ThreadConditions conditions;
    if (!conditions.Apply(options.HighPriority, options.Cpu))
        return Usage("--cpu: this machine has no processor " + std::to_string(*options.Cpu));
    CanvasBench bench(options.Text, configs);
    if (!bench.TextError.empty()) return Usage("--length: " + bench.TextError);
    if (selfCheck) {
        std::vector<SelfCheckRow> rows;
        for (const SelfCheckPairs& pairs : SelfCheck(bench, options)) rows.push_back(AnalyseSelfCheck(pairs));
        if (rows.empty()) return Failed("the canvas could not be opened");
        return WriteStdout(SelfCheckReport(configs.front(), SelfCheckPairCount(options), rows)), 0;
    }
    // Every surface is made before anything is measured.
    if (const std::string refused = bench.MakeSurfaces(); !refused.empty()) return Usage(refused);
    SweepPlan plan(options, configs.size(), baseline);
    CatchInterrupt();
    Progress progress(options, configs.size() - (baseline ? 1 : 0), plan);
    SweepMeasurement measured = MeasureSweep(bench, options, plan.Passes, std::ref(progress));
    progress.Done();
    if (!measured.Error.empty()) return Failed(measured.Error);

    // Analyse.
    RunContext context = DescribeRun(options, bench, std::move(measured.ReferenceMs));
    context.Rounds = measured.Rounds;
    context.Stopped = kStopNames[static_cast<int>(measured.Stopped)];
    context.Seconds = progress.Seconds();
    context.Confidence = plan.FinalConfidence(measured.Stopped);
    context.Options.TargetSeconds = plan.Passes.TargetMs / 1000;  // as the rounds drew them
    context.Options.Repetitions = plan.Passes.Rounds;
    const RunResults results = Analyse(std::move(context), std::move(measured.Rows), baseline);

    // Write.
    for (const std::string& line : SweepWarnings(results)) Err("warning: " + line);
    WriteStdout(options.Format == OutputFormat::Csv    ? CsvReport(results)
                : options.Format == OutputFormat::Json ? JsonReport(results)
                                                       : TableReport(results));
    const int plotted = Plot(options.PlotFile, options.Lengths.empty() ? SweepChart(results) : LengthChart(results));
    return measured.Stopped == StopReason::Interrupted ? kExitInterrupted : plotted;
}

int Run(const std::vector<std::string>& args) {
    ParsedArguments parsed = ParseArguments(args);
    if (!parsed.Options) return Usage(parsed.Error);
    const CliOptions& options = *parsed.Options;
    // A chart that cannot be written is found before anything is measured.
    const bool plots = options.Action == CliAction::Measure || options.Action == CliAction::Compare;
    if (plots && !options.PlotFile.empty() && !CanWriteFile(options.PlotFile))
        return Usage("--plot: cannot write \"" + options.PlotFile + "\"; give a file in a folder that exists");
    switch (options.Action) {
    case CliAction::Help: WriteStdout(parsed.Usage); return 0;
    case CliAction::Version:
        WriteStdout(std::string(kCliProgramName) + " " + CliVersion() +
                    (CliCommit().empty() ? "" : " (" + CliCommit() + ")") + "\n");
        return 0;
    case CliAction::ListFonts:
        for (const std::wstring& face : ScreenFontNames()) WriteStdout(ToUtf8(face) + "\n");
        return 0;
    case CliAction::Compare: return Compare(options);
    default: return Measure(options);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Nothing unexpected ends in a crash dialog: one line, and the exit status of a failed run.
    try {
        std::vector<std::string> args;
        for (int i = 1; i < argc; ++i) args.push_back(ToUtf8(argv[i]));
        return Run(args);
    } catch (const std::exception& e) {
        return Failed(std::string("stopped: ") + e.what());
    } catch (...) {
        return Failed("stopped by an unknown error");
    }
}
