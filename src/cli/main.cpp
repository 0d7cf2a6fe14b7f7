#include "cli/Compare.h"
#include "cli/Dimensions.h"
#include "cli/Measure.h"
#include "cli/Plot.h"
#include "platform/Console.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/System.h"
#include "platform/Text.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

void Err(const std::string& text) { WriteStderr(std::string(kCliProgramName) + ": " + text + "\n"); }

int Usage(const std::string& message) { return Err(message), kExitUsage; }

int Plot(const std::string& path, const std::string& svg) {
    if (path.empty() || WriteWholeFile(path, svg)) return 0;
    Err("--plot: cannot write \"" + path + "\"");
    return kExitFailed;
}

int Compare(const CliOptions& options) {
    ResultFile files[2];
    for (int i = 0; i < 2; ++i) {
        const std::string& name = i ? options.CompareNew : options.CompareOld;
        const std::optional<std::string> text = ReadWholeFile(name);
        if (!text) return Usage("--compare: cannot read \"" + name + "\"");
        std::string error;
        std::optional<ResultFile> read = ReadResults(*text, error);
        if (!read)
            return Usage("--compare: \"" + name + "\" is not a JSON or CSV output of this program (" + error + ")");
        files[i] = *read;
    }
    const Comparisons compared = CompareFiles(files[0], files[1], options.Margin, options.CompareAnyway);
    if (!compared.InCommon)
        return Usage("--compare: \"" + options.CompareOld + "\" and \"" + options.CompareNew +
                     "\" have no configuration in common; compare runs of the same faces, sizes and styles");
    for (const std::string& line : CompareWarnings(files[0], files[1], compared, options.CompareAnyway))
        Err("warning: " + line);
    WriteStdout(CompareReport(options.CompareOld, files[0], options.CompareNew, files[1], compared, options.Format));
    return Plot(options.PlotFile, CompareChart(compared));
}

int Measure(CliOptions options) {
    if (options.Faces.empty()) options.Faces.push_back(ToUtf8(DefaultFace(*MakeFont(SystemMenuFont()))));
    if (options.Sizes.empty()) options.Sizes.push_back(kDefaultSize);
    // Every face is checked before anything is measured.
    for (const std::string& face : options.Faces)
        if (!IsScreenFont(FromUtf8(face)))
            return Usage("--face: \"" + face + "\" is not an installed screen font; give one that --list-fonts shows");
    std::vector<Configuration> configs =
        Configurations(options.Faces, options.Sizes, options.Bold, options.Italic, options.Opaque);
    // The self-check times the interactive program's own call on its own text, at the default quality.
    if (options.Action == CliAction::SelfCheck &&
        !(options.Calls.empty() && options.Qualities.empty() && options.Lengths.empty()))
        return Usage("--self-check: times the interactive program's own call and text; leave out --call, --quality "
                     "and --length");
    configs = WithDimensions(configs, options);
    std::optional<std::size_t> baseline;
    std::string error;
    if (!options.Baseline.empty() && !(baseline = FindBaseline(options.Baseline, configs, error))) return Usage(error);

    ThreadConditions conditions;
    if (!conditions.Apply(options.HighPriority, options.Cpu))
        return Usage("--cpu: this machine has no processor " + std::to_string(*options.Cpu));
    CanvasBench bench(options.Text, configs);
    if (!bench.TextError.empty()) return Usage("--length: " + bench.TextError);
    for (std::size_t c = 0; c < configs.size(); ++c)
        if (Measurement probe; !bench.Canvas.Show(nullptr) || !bench.Describe(c, probe))
            return Err("the canvas could not be set up for \"" + configs[c].Face + "\""), kExitFailed;
    if (options.Action == CliAction::SelfCheck) return WriteStdout(SelfCheck(bench, configs.front(), options)), 0;
    RunContext context{DescribeSystem(), CliVersion(), static_cast<int>(sizeof(void*) * 8), options, bench.Ansi.size()};
    std::vector<Measurement> results = MeasureSweep(bench, options, context.ReferenceMs);
    if (baseline) JudgeAgainstBaseline(results, *baseline, options.Margin);
    context.NotInCodePage = CharactersRefused(options.Text, [](const std::string& c) {
        return SurvivesAnsiTrip(FromUtf8(c), CP_ACP);
    });
    for (const std::string& line : SweepWarnings(context, results)) Err("warning: " + line);
    WriteStdout(options.Format == OutputFormat::Csv    ? CsvReport(results, context.TextBytes)
                : options.Format == OutputFormat::Json ? JsonReport(context, results)
                                                       : TableReport(context, results));
    return Plot(options.PlotFile, options.Lengths.empty() ? SweepChart(results) : LengthChart(results));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(ToUtf8(argv[i]));
    ParsedArguments parsed = ParseArguments(args);
    if (!parsed.Options) return Usage(parsed.Error);
    const CliOptions& options = *parsed.Options;
    // A chart that cannot be written is found before anything is measured.
    const bool plots = options.Action == CliAction::Measure || options.Action == CliAction::Compare;
    if (plots && !options.PlotFile.empty() && !CanWriteFile(options.PlotFile))
        return Usage("--plot: cannot write \"" + options.PlotFile + "\"; give a file in a folder that exists");
    switch (options.Action) {
    case CliAction::Help: WriteStdout(parsed.Usage); return 0;
    case CliAction::Version: WriteStdout(std::string(kCliProgramName) + " " + CliVersion() + "\n"); return 0;
    case CliAction::ListFonts:
        for (const std::wstring& face : ScreenFontNames()) WriteStdout(ToUtf8(face) + "\n");
        return 0;
    case CliAction::Compare: return Compare(options);
    default: return Measure(options);
    }
}
