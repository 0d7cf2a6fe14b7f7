#include "benchmark/Run.h"

#include <string>

#include "platform/Text.h"
#include "timing/clsTiming.h"

namespace {

// The one timed loop. The flush is a template argument, so an unflushed
// interval holds the drawing calls and nothing else.
template <bool Flush>
double TimedLoop(HDC dc, const char* text, int length, std::int32_t count) {
    clsTiming timing;
    timing.Start();
    for (std::int32_t i = 0; i < count; ++i) ExtTextOutA(dc, 0, 0, 0, nullptr, text, length, nullptr);
    if constexpr (Flush) GdiFlush();
    return timing.Elapsed();
}

}  // namespace

double TimeDrawLoop(HDC dc, const char* text, int length, std::int32_t count) {
    return TimedLoop<false>(dc, text, length, count);
}

double TimeDrawLoopFlushed(HDC dc, const char* text, int length, std::int32_t count) {
    return TimedLoop<true>(dc, text, length, count);
}

std::optional<double> RunBenchmark(HWND owner, frmCanvas& canvas, const RunRequest& request) {
    const std::string text = ToAnsi(request.Text);
    const int length = lstrlenA(text.c_str());
    if (!canvas.Show(owner)) return std::nullopt;
    // The font the canvas has is kept while the description stays the same.
    const SharedFont& current = canvas.Font();
    const SharedFont font = current && current->Description() == request.Font ? current : MakeFont(request.Font);
    // Without its bitmap the run would draw somewhere nobody sees.
    HDC dc = canvas.Prepare(font, request.Opaque);
    if (!dc) return std::nullopt;
    const double elapsed = TimeDrawLoop(dc, text.c_str(), length, request.Count);
    canvas.Refresh();
    return elapsed;
}
