#include <gtest/gtest.h>

#include <vector>

#include "GdiHeadroom.h"
#include "benchmark/Run.h"
#include "platform/BackingBitmap.h"
#include "platform/Dialogs.h"

namespace {

struct CountingSink : IReportSink {
    std::vector<std::int32_t> counts;
    void AppendResult(double, std::int32_t count, const SharedFont&) override { counts.push_back(count); }
};

class RunFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMessageBoxHook([this](HWND, const std::wstring& text, UINT) {
            messages.push_back(text);
            return IDOK;
        });
        settings.Count = L"1,000";  // as pasted, grouped as the locale groups
        settings.Face = ScreenFontNames().at(0);
        settings.Size = L"12";
    }
    void TearDown() override { SetMessageBoxHook(nullptr); }

    frmCanvas canvas;
    CountingSink sink;
    RunSettings settings;
    std::vector<std::wstring> messages;
};

TEST_F(RunFailureTest, AGroupedCountRunsThatManyCalls) {
    TestOwner owner;
    EXPECT_EQ(RunBenchmark(owner.get(), canvas, settings, nullptr, sink).Refused, RunField::None);
    EXPECT_EQ(sink.counts, std::vector<std::int32_t>{1000});
    EXPECT_TRUE(messages.empty());
}

TEST_F(RunFailureTest, ACanvasThatCannotBeCreatedIsToldAndAddsNoEntry) {
    HWND gone = nullptr;
    {
        TestOwner owner;
        gone = owner.get();
    }
    // An owner that no longer exists: the system refuses the window.
    EXPECT_EQ(RunBenchmark(gone, canvas, settings, nullptr, sink).Refused, RunField::Canvas);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(L"作れませんでした"), std::wstring::npos);
    EXPECT_TRUE(sink.counts.empty());
}

TEST(BackingBitmapFailure, ABitmapThatCannotGrowKeepsTheOldOne) {
    BackingBitmap bitmap;
    ASSERT_TRUE(bitmap.Cover(20, 10, RGB(255, 255, 255)));
    SetPixel(bitmap.dc(), 3, 3, RGB(0, 0, 0));
    EXPECT_FALSE(bitmap.Cover(200000, 200000, RGB(255, 255, 255)));
    ASSERT_TRUE(bitmap.exists());
    EXPECT_EQ(GetPixel(bitmap.dc(), 3, 3), RGB(0, 0, 0));
}

}  // namespace
