// Times one configuration the way the interactive program does: every pass
// is a whole RunBenchmark with the count in the settings, as a press of
// Test makes it. Takes the console program's options and prints the median
// and minimum time per call, so a script can set the two side by side.
//
// With --paired first, it alternates those passes with the console
// program's own (CanvasBench) on the same canvas in this one process, so a
// busy machine slows both alike, and prints both.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "benchmark/Run.h"
#include "cli/CliOptions.h"
#include "cli/Measure.h"
#include "cli/Statistics.h"
#include "cli/Utf8.h"
#include "platform/Dialogs.h"

namespace {

struct LastResult : IReportSink {
    double elapsedMs = 0;
    void AppendResult(double elapsed, std::int32_t, const SharedFont&) override { elapsedMs = elapsed; }
};

void Print(const char* label, const std::vector<double>& perCall) {
    const Summary summary = Summarize(perCall);
    std::printf("%smedian_ms %.6g min_ms %.6g\n", label, summary.Median, summary.Min);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv + 1, argv + argc);
    const bool paired = !args.empty() && args.front() == L"--paired";
    if (paired) args.erase(args.begin());
    ParsedArguments parsed = ParseArguments(args);
    if (!parsed.Options || !parsed.Options->Count || parsed.Options->Faces.size() != 1 ||
        parsed.Options->Sizes.size() > 1 || parsed.Options->Flush) {
        std::fprintf(stderr, "run_path_probe: [--paired] one --face, at most one --size, a fixed --count, no --flush\n");
        return 2;
    }
    const CliOptions& options = *parsed.Options;
    SetMessageBoxHook([](HWND, const std::wstring& text, UINT) {
        std::fprintf(stderr, "run_path_probe: %s\n", ToUtf8(text).c_str());
        std::exit(1);
        return IDOK;
    });

    RunSettings settings;
    settings.Text = options.Text;
    settings.Count = std::to_wstring(*options.Count);
    settings.Face = options.Faces.front();
    settings.Size = options.Sizes.empty() ? L"12" : std::to_wstring(options.Sizes.front());
    settings.Bold = options.Bold == Toggle::On;
    settings.Italic = options.Italic == Toggle::On;
    settings.Opaque = options.Opaque == Toggle::On;

    frmCanvas canvas;
    LastResult sink;
    auto runPass = [&] {
        ProcessPendingMessages();
        RunBenchmark(nullptr, canvas, settings, SharedFont(), sink);
        return sink.elapsedMs / *options.Count;
    };

    std::vector<double> runPath, consolePath;
    if (!paired) {
        for (int pass = 0; pass < options.Warmup + options.Repetitions; ++pass) {
            const double perCall = runPass();
            if (pass >= options.Warmup) runPath.push_back(perCall);
        }
        Print("", runPath);
        return 0;
    }

    Configuration config;
    config.Face = settings.Face;
    config.Size = options.Sizes.empty() ? kDefaultSize : options.Sizes.front();
    config.Bold = settings.Bold;
    config.Italic = settings.Italic;
    config.Opaque = settings.Opaque;
    CanvasBench bench(canvas, options.Text);  // the same canvas, as a single program has
    if (!bench.Prepare(config)) return 1;
    for (int pass = 0; pass < options.Warmup + options.Repetitions; ++pass) {
        // Alternating which goes first keeps either from always following the other.
        double a, b;
        if (pass % 2) {
            a = runPass();
            b = bench.Pass(*options.Count, false) / *options.Count;
        } else {
            b = bench.Pass(*options.Count, false) / *options.Count;
            a = runPass();
        }
        if (pass < options.Warmup) continue;
        runPath.push_back(a);
        consolePath.push_back(b);
    }
    Print("run_benchmark ", runPath);
    Print("console ", consolePath);
    return 0;
}
