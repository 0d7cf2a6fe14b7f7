// The timed loops of the text calls, each shaped like the interactive program's own.
#include "cli/measure/TimedCalls.h"

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
        if constexpr (Call == TextCall::ExtTextOutW)
            ExtTextOutW(dc, 0, 0, 0, nullptr, wide, units, nullptr);
        else if constexpr (Call == TextCall::TextOutA)
            TextOutA(dc, 0, 0, ansi, bytes);
        else if constexpr (Call == TextCall::PolyTextOutA)
            PolyTextOutA(dc, &poly, 1);
        else
            GetTextExtentPoint32A(dc, ansi, bytes, &extent);
    }
    if constexpr (Flush) GdiFlush();
    return timing.Elapsed();
}

using TimedLoop = double (*)(HDC, const CallText&, std::int32_t);

// Reached through a table, so each loop stays a function of its own, with the registers to itself.
template <bool Flush>
const TimedLoop kLoops[] = {nullptr, Loop<TextCall::ExtTextOutW, Flush>, Loop<TextCall::TextOutA, Flush>,
                            Loop<TextCall::PolyTextOutA, Flush>, Loop<TextCall::GetTextExtentPoint32A, Flush>};

}  // namespace

double TimeCalls(TextCall call, HDC dc, const CallText& text, std::int32_t count, bool flush) {
    if (call == TextCall::ExtTextOutA)
        return (flush ? TimeDrawLoopFlushed : TimeDrawLoop)(dc, text.Ansi.c_str(), static_cast<int>(text.Ansi.size()),
                                                            count);
    return (flush ? kLoops<true> : kLoops<false>)[static_cast<int>(call)](dc, text, count);
}
