#include "cli/TimedCalls.h"

#include "benchmark/Run.h"
#include "timing/clsTiming.h"

namespace {

// Shaped like the program's own loop: between Start and Elapsed only the call, the
// counter and the branch. The call is a template argument, so no choice is made inside.
template <TextCall Call, bool Flush>
double Loop(HDC dc, const CallText& text, std::int32_t count) {
    const char* ansi = text.Ansi.c_str();
    const wchar_t* wide = text.Wide.c_str();
    const int bytes = static_cast<int>(text.Ansi.size()), units = static_cast<int>(text.Wide.size());
    const POLYTEXTA poly{0, 0, static_cast<UINT>(bytes), ansi, 0, {}, nullptr};
    SIZE extent;
    clsTiming timing;
    timing.Start();
    for (std::int32_t i = 0; i < count; ++i) {
        if constexpr (Call == TextCall::ExtTextOutW) ExtTextOutW(dc, 0, 0, 0, nullptr, wide, units, nullptr);
        else if constexpr (Call == TextCall::TextOutA) TextOutA(dc, 0, 0, ansi, bytes);
        else if constexpr (Call == TextCall::PolyTextOutA) PolyTextOutA(dc, &poly, 1);
        else GetTextExtentPoint32A(dc, ansi, bytes, &extent);
    }
    if constexpr (Flush) GdiFlush();
    return timing.Elapsed();
}

template <TextCall Call>
double Loop(HDC dc, const CallText& text, std::int32_t count, bool flush) {
    return flush ? Loop<Call, true>(dc, text, count) : Loop<Call, false>(dc, text, count);
}

}  // namespace

double TimeCalls(TextCall call, HDC dc, const CallText& text, std::int32_t count, bool flush) {
    const int length = static_cast<int>(text.Ansi.size());
    switch (call) {
    case TextCall::ExtTextOutW: return Loop<TextCall::ExtTextOutW>(dc, text, count, flush);
    case TextCall::TextOutA: return Loop<TextCall::TextOutA>(dc, text, count, flush);
    case TextCall::PolyTextOutA: return Loop<TextCall::PolyTextOutA>(dc, text, count, flush);
    case TextCall::GetTextExtentPoint32A: return Loop<TextCall::GetTextExtentPoint32A>(dc, text, count, flush);
    default:
        return flush ? TimeDrawLoopFlushed(dc, text.Ansi.c_str(), length, count)
                     : TimeDrawLoop(dc, text.Ansi.c_str(), length, count);
    }
}
