#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

#include "benchmark/RunRequest.h"
#include "benchmark/frmCanvas.h"

// Times count ExtTextOutA calls on dc with a fresh stopwatch; nothing but
// the calls lies between its Start and Elapsed.
double TimeDrawLoop(HDC dc, const char* text, int length, std::int32_t count);

// The same loop with GdiFlush before the stopwatch is read, so drawing the
// system still holds in its batch is timed too.
double TimeDrawLoopFlushed(HDC dc, const char* text, int length, std::int32_t count);

// One run on the canvas owned by owner, shown afterwards: the milliseconds
// of the loop, or nothing when the canvas or its bitmap cannot be made.
std::optional<double> RunBenchmark(HWND owner, frmCanvas& canvas, const RunRequest& request);
