#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/Compare.h"
#include "cli/Measure.h"
#include "cli/Plot.h"
#include "cli/Report.h"
#include "platform/Dialogs.h"
#include "platform/Font.h"
#include "platform/Text.h"
#include "ui/SystemFont.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// A real console gets UTF-16 through WriteConsoleW, which shows every face
// name whatever the console's code page; a pipe or a file gets UTF-8.
void Write(DWORD stream, const std::string& text) {
    HANDLE handle = GetStdHandle(stream);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = FromUtf8(text);
        // Older consoles refuse very long writes.
        constexpr size_t kChunk = 8192;
        for (size_t at = 0; at < wide.size(); at += kChunk) {
            const DWORD length = static_cast<DWORD>(std::min(kChunk, wide.size() - at));
            WriteConsoleW(handle, wide.data() + at, length, &written, nullptr);
        }
        return;
    }
    for (size_t at = 0; at < text.size(); at += written)
        if (!WriteFile(handle, text.data() + at, static_cast<DWORD>(text.size() - at), &written, nullptr) || !written)
            return;
}

void Out(const std::string& text) { Write(STD_OUTPUT_HANDLE, text); }
void Err(const std::string& text) { Write(STD_ERROR_HANDLE, std::string(kCliProgramName) + ": " + text + "\n"); }

int Usage(const std::string& message) { return Err(message), kExitUsage; }

// Whole files, as bytes; the paths are UTF-8.
bool ReadFileText(const std::string& path, std::string& bytes) {
    FILE* file = _wfopen(FromUtf8(path).c_str(), L"rb");
    if (!file) return false;
    char buffer[65536];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, read);
    return !std::ferror(file) & !std::fclose(file);
}

int Plot(const std::string& path, const std::string& svg) {
    FILE* file = path.empty() ? nullptr : _wfopen(FromUtf8(path).c_str(), L"wb");
    if (path.empty() || (file && (std::fwrite(svg.data(), 1, svg.size(), file) == svg.size()) & !std::fclose(file)))
        return 0;
    Err("--plot: cannot write \"" + path + "\"");
    return kExitFailed;
}

int Compare(const CliOptions& options) {
    ResultFile files[2];
    const std::string* names[2] = {&options.CompareOld, &options.CompareNew};
    for (int i = 0; i < 2; ++i) {
        std::string text, error;
        if (!ReadFileText(*names[i], text)) return Usage("--compare: cannot read \"" + *names[i] + "\"");
        std::optional<ResultFile> file = ReadResults(text, error);
        if (!file)
            return Usage("--compare: \"" + *names[i] + "\" is not a JSON or CSV output of this program (" + error +
                         ")");
        files[i] = *file;
    }
    const Comparisons compared = CompareFiles(files[0], files[1], options.Margin);
    Out(CompareReport(options.CompareOld, files[0], options.CompareNew, files[1], compared, options.Format));
    return Plot(options.PlotFile, CompareChart(compared));
}

// The run shows its refusals in a message box; here they go to stderr.
struct RefusalsToStderr {
    bool refused = false;
    RefusalsToStderr() {
        SetMessageBoxHook([this](HWND, const std::wstring& text, UINT) {
            std::string line = ToUtf8(text);
            std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
            Err(line);
            refused = true;
            return IDOK;
        });
    }
    ~RefusalsToStderr() { SetMessageBoxHook(nullptr); }
};

int Measure(CliOptions options) {
    if (options.Faces.empty()) options.Faces.push_back(ToUtf8(ScreenFaceOf(*MakeFont(SystemMenuFont(nullptr)))));  // as the main window opens on
    if (options.Sizes.empty()) options.Sizes.push_back(kDefaultSize);
    // Every face is checked before anything is measured.
    for (const std::string& face : options.Faces)
        if (!IsScreenFont(FromUtf8(face)))
            return Usage("--face: \"" + face + "\" is not an installed screen font; give one that --list-fonts shows");
    const std::vector<Configuration> configs =
        Configurations(options.Faces, options.Sizes, options.Bold, options.Italic, options.Opaque);
    std::optional<std::size_t> baseline;
    std::string error;
    if (!options.Baseline.empty() && !(baseline = FindBaseline(options.Baseline, configs, error))) return Usage(error);

    RefusalsToStderr refusals;
    PassConditions conditions;
    if (!conditions.Apply(options))
        return Usage("--cpu: this machine has no processor " + std::to_string(*options.Cpu));
    frmCanvas canvas;
    if (options.Action == CliAction::SelfCheck) {
        const std::string table = SelfCheck(canvas, configs.front(), options);
        return refusals.refused ? kExitFailed : (Out(table), 0);
    }
    CanvasBench bench(canvas, options.Text);
    RunContext context = SystemContext(options, bench.TextBytes());
    for (const Configuration& config : configs)
        if (!bench.Prepare(config) || refusals.refused) {
            Err("the canvas could not be set up for \"" + config.Face + "\"");
            return kExitFailed;
        }
    std::vector<Measurement> results = MeasureSweep(bench, configs, options, context.ReferenceMs);
    if (refusals.refused) return kExitFailed;
    for (const Measurement& m : results)
        if (m.Substituted)
            Err("warning: \"" + m.Config.Face + "\" is drawn with \"" + m.RealizedFace +
                "\", the face the font mapper chose");
    if (baseline) JudgeAgainstBaseline(results, *baseline, options.Margin);

    switch (options.Format) {
    case OutputFormat::Table: Out(TableReport(context, results)); break;
    case OutputFormat::Csv: Out(CsvReport(results, context.TextBytes)); break;
    case OutputFormat::Json: Out(JsonReport(context, results)); break;
    }
    return Plot(options.PlotFile, SweepChart(results));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(ToUtf8(argv[i]));
    ParsedArguments parsed = ParseArguments(args);
    if (!parsed.Options) return Usage(parsed.Error);
    const CliOptions& options = *parsed.Options;

    switch (options.Action) {
    case CliAction::Help: Out(parsed.Usage); return 0;
    case CliAction::Version: Out(std::string(kCliProgramName) + " " + CliVersion() + "\n"); return 0;
    case CliAction::ListFonts:
        for (const std::wstring& face : ScreenFontNames()) Out(ToUtf8(face) + "\n");
        return 0;
    case CliAction::Compare: return Compare(options);
    case CliAction::Measure:
    case CliAction::SelfCheck: break;
    }
    return Measure(options);
}
