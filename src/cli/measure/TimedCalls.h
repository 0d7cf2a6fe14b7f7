// The timed loops of the text calls, each shaped like the interactive program's own.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "cli/options/CliOptions.h"

// The text as each call takes it, converted once before any timing.
struct CallText {
    std::string Ansi;
    std::wstring Wide;
};

// Milliseconds of count calls on dc at the origin, with GdiFlush inside the interval when
// flush; ExtTextOutA is timed with the interactive program's own loop.
double TimeCalls(TextCall call, HDC dc, const CallText& text, std::int32_t count, bool flush);
