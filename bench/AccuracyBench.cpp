// Compares what the program reports for a run with a bare loop of the same
// calls on the same DC, timed with the counter read directly.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "benchmark/Run.h"
#include "benchmark/frmCanvas.h"
#include "cli/Statistics.h"
#include "cli/Utf8.h"
#include "platform/Dialogs.h"
#include "platform/Font.h"
#include "platform/Text.h"

namespace {

struct ElapsedSink : IReportSink {
    double elapsedMs = 0;
    int entries = 0;
    void AppendResult(double ms, std::int32_t, const SharedFont&) override {
        elapsedMs = ms;
        ++entries;
    }
};

double Median(const std::vector<double>& values) { return Summarize(values).Median; }

double CounterFrequency() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart);
}

// The bare loop: nothing but the calls between two counter reads.
double ReferenceLoopMs(HDC dc, const char* text, int length, int count, double frequency) {
    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    for (int i = 0; i < count; ++i) ExtTextOutA(dc, 0, 0, 0, nullptr, text, length, nullptr);
    QueryPerformanceCounter(&after);
    return static_cast<double>(after.QuadPart - before.QuadPart) * 1000 / frequency;
}

struct Config {
    const wchar_t* textName;
    std::wstring text;
    bool opaque;
    bool boldItalic;
    int size;
    int count;
};

// How many pairs a row gets: at least Min, then more while the median
// ratio is still uncertain, up to Max pairs or RowSeconds.
struct PairRule {
    int Min = 15;
    int Max = 101;
    double HalfWidth = 0.004;
    double RowSeconds = 40;
};

// A distribution-free 95% interval for the median, from order statistics.
void MedianInterval(std::vector<double> values, double& low, double& high) {
    std::sort(values.begin(), values.end());
    const double n = static_cast<double>(values.size());
    const double spread = 0.98 * std::sqrt(n);
    low = values[static_cast<size_t>(std::max(0.0, std::floor(n / 2 - spread)))];
    high = values[static_cast<size_t>(std::min(n - 1, std::ceil(n / 2 + spread)))];
}

class Bench {
public:
    Bench(HWND owner, std::wstring face, PairRule rule) : owner_(owner), face_(std::move(face)), rule_(rule) {}

    // Pairs of the run path (A) and the bare loop (B), A B A B ...; prints
    // the per-call medians, the median of the pair ratios and its interval.
    void Measure(const Config& c) {
        RunSettings settings;
        settings.Text = c.text;
        settings.Count = std::to_wstring(c.count);
        settings.Face = face_;
        settings.Size = std::to_wstring(c.size);
        settings.Bold = c.boldItalic;
        settings.Italic = c.boldItalic;
        settings.Opaque = c.opaque;
        const std::string ansi = ToAnsi(c.text);
        const int length = lstrlenA(ansi.c_str());

        // One untimed run each way, so neither side pays the first glyph lookups.
        RunProgram(settings);
        RunReference(ansi, length, c.count);

        std::vector<double> program, reference, ratios;
        double low = 0, high = 0;
        const ULONGLONG start = GetTickCount64();
        for (;;) {
            const double a = RunProgram(settings);
            const double b = RunReference(ansi, length, c.count);
            program.push_back(a / c.count);
            reference.push_back(b / c.count);
            ratios.push_back(a / b);
            const int pairs = static_cast<int>(ratios.size());
            if (pairs < rule_.Min) continue;
            MedianInterval(ratios, low, high);
            const double median = Median(ratios);
            const bool settled = high - median <= rule_.HalfWidth && median - low <= rule_.HalfWidth;
            if (settled || pairs >= rule_.Max || (GetTickCount64() - start) / 1000.0 >= rule_.RowSeconds) break;
        }
        std::printf("%-8ls %-11s %-11s %4d %6d %5zu %10.4f %10.4f %7.4f  %6.4f-%6.4f\n", c.textName,
                    c.opaque ? "opaque" : "transparent", c.boldItalic ? "bold italic" : "regular", c.size, c.count,
                    ratios.size(), Median(program) * 1000, Median(reference) * 1000, Median(ratios), low, high);
        std::fflush(stdout);
    }

    // Runs a count of 0 that many times; how many report less than limitMs.
    int EmptyRunsBelow(int runs, double limitMs, double& largestMs) {
        RunSettings settings;
        settings.Text = L"The quick brown fox";
        settings.Count = L"0";
        settings.Face = face_;
        settings.Size = L"12";
        int below = 0;
        largestMs = 0;
        for (int i = 0; i < runs; ++i) {
            const double elapsed = RunProgram(settings);
            if (std::fabs(elapsed) < limitMs) ++below;
            largestMs = std::max(largestMs, std::fabs(elapsed));
        }
        return below;
    }

private:
    double RunProgram(const RunSettings& settings) {
        ProcessPendingMessages();
        const int before = sink_.entries;
        RunOutcome outcome = RunBenchmark(owner_, canvas_, settings, textFont_, sink_);
        if (outcome.Refused != RunField::None || sink_.entries != before + 1) {
            std::fprintf(stderr, "the run was refused or reported nothing\n");
            std::exit(2);
        }
        return sink_.elapsedMs;
    }

    double RunReference(const std::string& ansi, int length, int count) {
        ProcessPendingMessages();
        canvas_.Cls();  // the same picture to draw on as the run's
        const double ms = ReferenceLoopMs(canvas_.hDC(), ansi.c_str(), length, count, frequency_);
        canvas_.Refresh();
        return ms;
    }

    HWND owner_;
    std::wstring face_;
    PairRule rule_;
    double frequency_ = CounterFrequency();
    frmCanvas canvas_;
    ElapsedSink sink_;
    SharedFont textFont_ = MakeFont(DefaultGuiFontSpec());
};

std::wstring PickFace(const std::wstring& wanted) {
    std::vector<std::wstring> faces = ScreenFontNames();
    for (const std::wstring& face : {wanted, std::wstring(L"IPAGothic"), std::wstring(L"IPAゴシック")})
        if (std::find(faces.begin(), faces.end(), face) != faces.end()) return face;
    return L"";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    PairRule rule;
    std::wstring face = L"IPAGothic";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring option = argv[i];
        if (option == L"--pairs") rule.Min = std::max(7, _wtoi(argv[i + 1]));
        else if (option == L"--max-pairs") rule.Max = _wtoi(argv[i + 1]);
        else if (option == L"--row-seconds") rule.RowSeconds = _wtof(argv[i + 1]);
        else if (option == L"--face") face = argv[i + 1];
    }
    rule.Max = std::max(rule.Max, rule.Min);

    SetMessageBoxHook([](HWND, const std::wstring& text, UINT) -> int {
        std::fprintf(stderr, "unexpected message box: %s\n", ToUtf8(text).c_str());
        std::exit(3);
    });
    face = PickFace(face);
    if (face.empty()) {
        std::fprintf(stderr, "no usable face (IPAGothic) among the screen fonts\n");
        return 2;
    }

    HWND owner = CreateWindowExW(0, L"STATIC", L"accuracy", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(owner, SW_SHOWNOACTIVATE);

    std::printf("face %s, ANSI code page %u, counter %.0f Hz\n", ToUtf8(face).c_str(), GetACP(), CounterFrequency());
    std::printf("pairs run, reference, run, ...: at least %d, more (up to %d, %.0f s a row) until the 95%% interval\n"
                "of the median ratio lies within +-%.1f%% of it; times per call in microseconds (medians);\n"
                "ratio = median of the pairs' run / reference\n\n",
                rule.Min, rule.Max, rule.RowSeconds, rule.HalfWidth * 100);
    std::printf("%-8s %-11s %-11s %4s %6s %5s %10s %10s %7s  %s\n", "text", "background", "style", "size", "count",
                "pairs", "run", "reference", "ratio", "95% interval");

    const std::wstring ascii = L"The quick brown fox jumps over the lazy dog.";
    const std::wstring japanese = L"日本語のテキストを描画する速さを測ります。";
    {
        Bench bench(owner, face, rule);
        for (const wchar_t* textName : {L"ASCII", L"Japanese"})
            for (bool opaque : {true, false})
                for (bool boldItalic : {false, true})
                    for (int size : {9, 12, 36})
                        for (int count : {1, 100, 10000}) {
                            const std::wstring& text = textName[0] == L'A' ? ascii : japanese;
                            bench.Measure({textName, text, opaque, boldItalic, size, count});
                        }

        double largest = 0;
        const int below = bench.EmptyRunsBelow(100, 0.001, largest);
        std::printf("\ncount 0: %d of 100 runs report |elapsed| < 0.001 ms (largest %.6f ms)\n", below, largest);
    }
    DestroyWindow(owner);
    return 0;
}
