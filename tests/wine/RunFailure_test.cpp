#include <vector>

#include "WindowTest.h"
#include "benchmark/Run.h"
#include "platform/BackingBitmap.h"
#include "platform/Dialogs.h"

namespace {

struct CountingSink : IReportSink {
    std::vector<std::int32_t> counts;
    void AppendResult(double, std::int32_t count, const SharedFont&) override { counts.push_back(count); }
};

// A pasted, grouped count on a canvas owned by owner: the calls reported and the messages shown.
std::vector<std::wstring> RunGrouped(HWND owner, CountingSink& sink, RunField expected) {
    std::vector<std::wstring> messages;
    SetMessageBoxHook([&](HWND, const std::wstring& text, UINT) { return messages.push_back(text), IDOK; });
    RunSettings settings;
    settings.Count = L"1,000";
    settings.Face = ScreenFontNames().at(0);
    settings.Size = L"12";
    frmCanvas canvas;
    EXPECT_EQ(RunBenchmark(owner, canvas, settings, nullptr, sink).Refused, expected);
    SetMessageBoxHook(nullptr);
    return messages;
}

HWND PlainWindow() {
    return CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
}

TEST(RunFailure, AGroupedCountRunsThatManyCallsAndAMissingCanvasIsToldWithNoEntry) {
    HWND owner = PlainWindow();
    CountingSink sink;
    EXPECT_TRUE(RunGrouped(owner, sink, RunField::None).empty());
    EXPECT_EQ(sink.counts, std::vector<std::int32_t>{1000});

    DestroyWindow(owner);  // the system refuses an owner that is gone
    const std::vector<std::wstring> messages = RunGrouped(owner, sink, RunField::Canvas);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(L"作れませんでした"), std::wstring::npos);
    EXPECT_EQ(sink.counts.size(), 1u);
}

TEST(RunFailure, ABitmapThatCannotGrowKeepsTheOldOne) {
    BackingBitmap bitmap;
    ASSERT_TRUE(bitmap.Cover(20, 10, RGB(255, 255, 255)));
    SetPixel(bitmap.dc(), 3, 3, RGB(0, 0, 0));
    EXPECT_FALSE(bitmap.Cover(200000, 200000, RGB(255, 255, 255)));
    EXPECT_EQ(GetPixel(bitmap.dc(), 3, 3), RGB(0, 0, 0));
}

}  // namespace
