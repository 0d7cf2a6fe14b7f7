#include "benchmark/Run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "GdiHeadroom.h"
#include "platform/Dialogs.h"
#include "platform/Font.h"
#include "platform/Window.h"

namespace {

struct RecordingSink : IReportSink {
    struct Entry {
        double elapsed;
        std::int32_t count;
        SharedFont font;
    };
    std::vector<Entry> entries;
    void AppendResult(double elapsedMs, std::int32_t count, const SharedFont& font) override {
        entries.push_back({elapsedMs, count, font});
    }
};

std::wstring PickFace(std::initializer_list<const wchar_t*> wanted) {
    std::vector<std::wstring> faces = ScreenFontNames();
    for (const wchar_t* face : wanted)
        if (std::find(faces.begin(), faces.end(), face) != faces.end()) return face;
    return faces.empty() ? L"" : faces.front();
}

class RunTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMessageBoxHook([this](HWND, const std::wstring& text, UINT) {
            messages.push_back(text);
            return IDOK;
        });
        settings.Text = L"The quick brown fox";
        settings.Count = L"10";
        settings.Face = PickFace({L"Tahoma", L"Liberation Sans", L"Arial", L"DejaVu Sans"});
        settings.Size = L"12";
    }
    void TearDown() override { SetMessageBoxHook(nullptr); }

    RunOutcome Run() { return RunBenchmark(owner.get(), canvas, settings, textFont, sink); }
    InkBox CanvasInk() {
        RECT client{};
        GetClientRect(canvas.Handle(), &client);
        return FindInk(canvas.hDC(), client.right, client.bottom);
    }

    TestOwner owner;
    frmCanvas canvas;
    RecordingSink sink;
    SharedFont textFont = MakeFont(DefaultGuiFontSpec());
    RunSettings settings;
    std::vector<std::wstring> messages;
};

TEST_F(RunTest, DrawsBlackTextAtTheTopLeftOnly) {
    RunOutcome outcome = Run();
    ASSERT_EQ(outcome.Refused, RunField::None);
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].count, 10);
    EXPECT_EQ(sink.entries[0].font, textFont);  // the text box's own font object
    EXPECT_GT(sink.entries[0].elapsed, 0);

    SIZE extent{};
    GetTextExtentPoint32W(canvas.hDC(), settings.Text.c_str(), static_cast<int>(settings.Text.size()), &extent);
    InkBox ink = CanvasInk();
    ASSERT_FALSE(ink.empty());
    EXPECT_LE(ink.left, 2);
    EXPECT_LT(ink.top, extent.cy / 2);
    EXPECT_LE(ink.right, extent.cx + 2);
    EXPECT_LE(ink.bottom, extent.cy);
    EXPECT_EQ(GetTextColor(canvas.hDC()), RGB(0, 0, 0));

    // The window shows the bitmap once refreshed.
    HDC screen = GetDC(canvas.Handle());
    EXPECT_FALSE(FindInk(screen, extent.cx, extent.cy).empty());
    ReleaseDC(canvas.Handle(), screen);
}

TEST_F(RunTest, CanvasFontFollowsTheSettings) {
    settings.Size = L"10.5";
    settings.Bold = 2;  // grayed counts as on
    settings.Italic = 1;
    ASSERT_EQ(Run().Refused, RunField::None);
    const FontSpec& font = canvas.Font();
    EXPECT_EQ(font.Name, settings.Face);
    EXPECT_DOUBLE_EQ(font.Size, 10.5);
    EXPECT_TRUE(font.Bold);
    EXPECT_TRUE(font.Italic);

    TEXTMETRICW metrics{};
    GetTextMetricsW(canvas.hDC(), &metrics);
    EXPECT_EQ(metrics.tmWeight, FW_BOLD);
    EXPECT_TRUE(metrics.tmItalic);
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(canvas.hDC(), LF_FACESIZE, face);
    EXPECT_EQ(settings.Face, face);
}

TEST_F(RunTest, OpaqueAndTransparentSetTheBackgroundMode) {
    settings.Opaque = 1;
    ASSERT_EQ(Run().Refused, RunField::None);
    EXPECT_EQ(GetBkMode(canvas.hDC()), OPAQUE);
    EXPECT_FALSE(canvas.FontTransparent());
    EXPECT_EQ(GetBkColor(canvas.hDC()), RGB(255, 255, 255));
    EXPECT_FALSE(CanvasInk().empty());

    settings.Opaque = 0;
    ASSERT_EQ(Run().Refused, RunField::None);
    EXPECT_EQ(GetBkMode(canvas.hDC()), TRANSPARENT);
    EXPECT_TRUE(canvas.FontTransparent());

    settings.Opaque = 2;
    ASSERT_EQ(Run().Refused, RunField::None);
    EXPECT_EQ(GetBkMode(canvas.hDC()), OPAQUE);
}

TEST_F(RunTest, ZeroAndNegativeCountsLeaveTheCanvasBlank) {
    ASSERT_EQ(Run().Refused, RunField::None);
    ASSERT_FALSE(CanvasInk().empty());
    for (const wchar_t* count : {L"0", L"-5", L"0.4"}) {
        settings.Count = count;
        RunOutcome outcome = Run();
        ASSERT_EQ(outcome.Refused, RunField::None);
        EXPECT_TRUE(CanvasInk().empty()) << count;
        EXPECT_LT(outcome.ElapsedMs, 0.05) << count;  // an empty interval, a few reads at most
    }
    EXPECT_EQ(sink.entries.back().count, 0);
    EXPECT_EQ(sink.entries[2].count, -5);
}

TEST_F(RunTest, EmptyTextStillRuns) {
    settings.Text = L"";
    ASSERT_EQ(Run().Refused, RunField::None);
    EXPECT_TRUE(CanvasInk().empty());
    EXPECT_EQ(sink.entries.size(), 1u);
}

TEST_F(RunTest, CanvasWindowIsOwnedSizedAndCaptioned) {
    ASSERT_EQ(Run().Refused, RunField::None);
    HWND canvasWindow = canvas.Handle();
    EXPECT_EQ(GetWindow(canvasWindow, GW_OWNER), owner.get());
    EXPECT_EQ(WindowText(canvasWindow), L"レンダリング");
    RECT client{};
    GetClientRect(canvasWindow, &client);
    const int dpi = ScreenDpi();
    EXPECT_EQ(client.right, MulDiv(6315, dpi, 1440));
    EXPECT_EQ(client.bottom, MulDiv(1695, dpi, 1440));
    if (dpi == 96) {
        EXPECT_EQ(client.right, 421);
    }

    LONG style = GetWindowLongW(canvasWindow, GWL_STYLE);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(GetWindowLongW(canvasWindow, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_TRUE(IsWindowVisible(canvasWindow));
}

TEST_F(RunTest, ClosedCanvasComesBackWithItsInitialProperties) {
    settings.Opaque = 1;
    ASSERT_EQ(Run().Refused, RunField::None);
    HWND first = canvas.Handle();
    SetWindowPos(first, nullptr, 0, 0, 700, 300, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageW(first, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(canvas.IsOpen());

    ASSERT_EQ(canvas.Show(owner.get()), true);
    EXPECT_EQ(canvas.Font(), DefaultGuiFontSpec());
    EXPECT_TRUE(canvas.FontTransparent());
    RECT client{};
    GetClientRect(canvas.Handle(), &client);
    EXPECT_EQ(client.right, MulDiv(6315, ScreenDpi(), 1440));

    settings.Opaque = 0;
    ASSERT_EQ(Run().Refused, RunField::None);
    EXPECT_EQ(GetWindow(canvas.Handle(), GW_OWNER), owner.get());
    EXPECT_FALSE(CanvasInk().empty());
}

TEST_F(RunTest, BadValuesAreRefusedBeforeAnythingIsDrawn) {
    struct Case {
        RunField field;
        const wchar_t* count;
        const wchar_t* face;
        const wchar_t* size;
    } cases[] = {
        {RunField::Count, L"", nullptr, L"12"},
        {RunField::Count, L"1.2.3", nullptr, L"12"},
        {RunField::Count, L"99999999999", nullptr, L"12"},
        {RunField::Count, L"2147483647.5", nullptr, L"12"},
        {RunField::Face, L"10", L"", L"12"},
        {RunField::Face, L"10", L"No Such Face 123", L"12"},
        {RunField::Size, L"10", nullptr, L"0"},
        {RunField::Size, L"10", nullptr, L"."},
        {RunField::Size, L"10", nullptr, L"5000"},
    };
    const std::wstring face = settings.Face;
    for (const Case& c : cases) {
        settings.Count = c.count;
        settings.Face = c.face ? c.face : face;
        settings.Size = c.size;
        messages.clear();
        EXPECT_EQ(Run().Refused, c.field) << std::string(c.count, c.count + wcslen(c.count));
        EXPECT_EQ(messages.size(), 1u);
    }
    EXPECT_TRUE(sink.entries.empty());
    EXPECT_FALSE(canvas.IsOpen());  // nothing opened for a refused run
}

TEST_F(RunTest, JapaneseTextIsDrawnFromCodePage932) {
    settings.Face = PickFace({L"IPAGothic", L"IPAゴシック", L"MS Gothic"});
    settings.Text = L"日本語テキスト";
    ASSERT_EQ(Run().Refused, RunField::None);
    EXPECT_FALSE(CanvasInk().empty());
}

}  // namespace
