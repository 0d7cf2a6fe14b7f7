#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "benchmark/frmCanvas.h"
#include "platform/Font.h"

// The settings exactly as the main window's controls hold them.
struct RunSettings {
    std::wstring Text;
    std::wstring Count;
    std::wstring Face;
    std::wstring Size;
    int Bold = 0;  // check-box values: 0, 1 or 2 (grayed)
    int Italic = 0;
    int Opaque = 0;
};

// Where a run delivers its result.
class IReportSink {
public:
    virtual ~IReportSink() = default;
    virtual void AppendResult(double elapsedMs, std::int32_t count, const SharedFont& font) = 0;
};

// What stopped a run: a box's value, or a canvas that could not be made.
enum class RunField { None, Count, Face, Size, Canvas };

// A finished run, or what stopped it (told to the user already).
struct RunOutcome {
    RunField Refused = RunField::None;
    double ElapsedMs = 0;
    std::int32_t Count = 0;
};

// Times count ExtTextOutA calls on dc with a fresh stopwatch; nothing but
// the calls lies between its Start and Elapsed.
double TimeDrawLoop(HDC dc, const char* text, int length, std::int32_t count);

// The same loop with GdiFlush before the stopwatch is read, so drawing the
// system still holds in its batch is timed too.
double TimeDrawLoopFlushed(HDC dc, const char* text, int length, std::int32_t count);

// One benchmark run: draws on the canvas owned by owner and hands the
// timing to the report.
RunOutcome RunBenchmark(HWND owner, frmCanvas& canvas, const RunSettings& settings, const SharedFont& textFont,
                        IReportSink& report);
