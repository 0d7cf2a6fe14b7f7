#include "benchmark/Run.h"

#include <optional>

#include "benchmark/RunInputs.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
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

const wchar_t kNoCanvasMessage[] =
    L"描画用のウィンドウまたはビットマップを作れませんでした。\r\n測定は行っていません。";

RunOutcome Stop(HWND owner, RunField field, const std::wstring& message) {
    ShowMessageBox(owner, message, MB_OK | MB_ICONEXCLAMATION);
    RunOutcome outcome;
    outcome.Refused = field;
    return outcome;
}

}  // namespace

double TimeDrawLoop(HDC dc, const char* text, int length, std::int32_t count) {
    return TimedLoop<false>(dc, text, length, count);
}

double TimeDrawLoopFlushed(HDC dc, const char* text, int length, std::int32_t count) {
    return TimedLoop<true>(dc, text, length, count);
}

RunOutcome RunBenchmark(HWND owner, frmCanvas& canvas, const RunSettings& settings, const SharedFont& textFont,
                        IReportSink& report) {
    const std::string text = ToAnsi(settings.Text);
    const int length = lstrlenA(text.c_str());

    // Every value is checked before anything changes on screen. A pasted
    // count or size may carry the locale's grouping.
    const std::wstring thousand = UserNumberSeparators().Thousand;
    const std::optional<std::int32_t> count = ParseCount(settings.Count, thousand);
    if (!count) return Stop(owner, RunField::Count, CountRefusal(settings.Count));
    if (!IsScreenFont(settings.Face)) return Stop(owner, RunField::Face, FaceRefusal(settings.Face));
    const std::optional<double> size = ParseSize(settings.Size, thousand);
    if (!size) return Stop(owner, RunField::Size, SizeRefusal(settings.Size));

    if (!canvas.Show(owner)) return Stop(owner, RunField::Canvas, kNoCanvasMessage);

    FontSpec font = canvas.Font();
    font.Name = settings.Face;
    font.Size = *size;
    font.Bold = CheckValueIsOn(settings.Bold);
    font.Italic = CheckValueIsOn(settings.Italic);
    canvas.SetFont(font);

    // Without its bitmap the run would draw somewhere nobody sees, and
    // its time would be no run's.
    if (!canvas.SetAutoRedraw(true)) return Stop(owner, RunField::Canvas, kNoCanvasMessage);
    canvas.Cls();
    HDC dc = canvas.hDC();

    const bool opaque = CheckValueIsOn(settings.Opaque);
    canvas.SetFontTransparent(!opaque);
    SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));

    const double elapsed = TimeDrawLoop(dc, text.c_str(), length, *count);

    canvas.Refresh();
    report.AppendResult(elapsed, *count, textFont);

    RunOutcome outcome;
    outcome.ElapsedMs = elapsed;
    outcome.Count = *count;
    return outcome;
}
