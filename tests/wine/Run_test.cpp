#include "benchmark/Run.h"

#include <algorithm>
#include <cmath>

#include "WindowTest.h"
#include "platform/Locale.h"
#include "platform/NumberFormat.h"
#include "platform/Window.h"

namespace {

struct RecordingSink : IReportSink {
    std::vector<std::int32_t> counts;
    std::vector<SharedFont> fonts;
    void AppendResult(double, std::int32_t count, const SharedFont& font) override {
        counts.push_back(count);
        fonts.push_back(font);
    }
};

std::wstring PickFace(std::initializer_list<const wchar_t*> wanted) {
    const std::vector<std::wstring> faces = ScreenFontNames();
    for (const wchar_t* face : wanted)
        if (std::find(faces.begin(), faces.end(), face) != faces.end()) return face;
    return faces.front();
}

class RunTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                nullptr, nullptr, nullptr);
        settings = {L"The quick brown fox", L"10", PickFace({L"Liberation Sans", L"DejaVu Sans"}), L"12"};
    }
    void TearDown() override {
        canvas.Close();
        DestroyWindow(owner);
        WindowTest::TearDown();
    }
    RunOutcome Run() { return RunBenchmark(owner, canvas, settings, textFont, sink); }
    SIZE Client() const {
        RECT client{};
        GetClientRect(canvas.Handle(), &client);
        return {client.right, client.bottom};
    }
    std::vector<DWORD> Canvas() { return Pixels(canvas.hDC(), Client().cx, Client().cy); }

    HWND owner = nullptr;
    frmCanvas canvas;
    RecordingSink sink;
    SharedFont textFont = MakeFont(DefaultGuiFontSpec());
    RunSettings settings;
};

// The canvas must show exactly what drawing the text itself in the canvas
// font gives: a wrong code page, '?' or UTF-8 bytes draw other glyphs.
TEST_F(RunTest, DrawsTheTextsOwnGlyphsInBlackAtTheTopLeft) {
    const std::wstring japanese = PickFace({L"IPAGothic", L"IPAゴシック"});
    const struct {
        const wchar_t* text;
        std::wstring face;
        int opaque;
    } cases[] = {{L"The quick brown fox", settings.Face, 0}, {L"日本語テキスト", japanese, 1}, {L"ﾃｷｽﾄ①", japanese, 0}};
    for (const auto& c : cases) {
        settings.Text = c.text;
        settings.Face = c.face;
        settings.Opaque = c.opaque;
        ASSERT_EQ(Run().Refused, RunField::None);
        const SIZE size = Client();
        HDC reference = CreateCompatibleDC(canvas.hDC());
        HBITMAP bitmap = CreateCompatibleBitmap(canvas.hDC(), size.cx, size.cy);
        SelectObject(reference, bitmap);
        PatBlt(reference, 0, 0, size.cx, size.cy, WHITENESS);
        SelectObject(reference, GetCurrentObject(canvas.hDC(), OBJ_FONT));
        SetBkMode(reference, TRANSPARENT);
        ExtTextOutW(reference, 0, 0, 0, nullptr, c.text, lstrlenW(c.text), nullptr);
        const std::vector<DWORD> expected = Pixels(reference, size.cx, size.cy);
        DeleteDC(reference);
        DeleteObject(bitmap);
        EXPECT_GT(Inked(expected), 20) << Utf8(c.text);
        EXPECT_TRUE(Canvas() == expected) << Utf8(c.text);
        EXPECT_EQ(GetTextColor(canvas.hDC()), RGB(0, 0, 0));
        HDC screen = GetDC(canvas.Handle());  // the window shows the drawing
        EXPECT_TRUE(Pixels(screen, size.cx, size.cy) == expected) << Utf8(c.text);
        ReleaseDC(canvas.Handle(), screen);
    }
    EXPECT_EQ(sink.counts, std::vector<std::int32_t>(3, 10));
    EXPECT_EQ(sink.fonts.back(), textFont);  // the text box's own font object
}

TEST_F(RunTest, FontAndBackgroundFollowTheSettings) {
    const struct {
        const wchar_t* size;
        int bold, italic, opaque;
        int mode;
    } cases[] = {{L"10.5", 2, 1, 1, OPAQUE}, {L"12", 0, 0, 0, TRANSPARENT}, {L"36", 1, 2, 2, OPAQUE}};
    for (const auto& c : cases) {
        settings.Size = c.size;
        settings.Bold = c.bold;
        settings.Italic = c.italic;
        settings.Opaque = c.opaque;
        ASSERT_EQ(Run().Refused, RunField::None);
        HDC dc = canvas.hDC();
        LOGFONTW font{};
        GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
        EXPECT_EQ(font.lfHeight, -std::lround(std::wcstod(c.size, nullptr) * ScreenDpi() / 72)) << Utf8(c.size);
        EXPECT_EQ(font.lfWeight, c.bold ? FW_BOLD : FW_NORMAL);
        EXPECT_EQ(font.lfItalic != 0, c.italic != 0);
        wchar_t face[LF_FACESIZE] = L"";
        GetTextFaceW(dc, LF_FACESIZE, face);
        EXPECT_EQ(settings.Face, face);
        EXPECT_EQ(GetBkMode(dc), c.mode);
        EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    }
}

TEST_F(RunTest, NoCallsForACountOfZeroOrLess) {
    for (const wchar_t* count : {L"0", L"-5", L"0.4"}) {
        settings.Count = count;
        const RunOutcome outcome = Run();
        ASSERT_EQ(outcome.Refused, RunField::None);
        EXPECT_EQ(Inked(Canvas()), 0) << Utf8(count);
        EXPECT_LT(outcome.ElapsedMs, 0.05);
    }
    EXPECT_EQ(sink.counts, (std::vector<std::int32_t>{0, -5, 0}));
}

TEST_F(RunTest, BadValuesAreRefusedBeforeAnythingIsShown) {
    const std::wstring face = settings.Face;
    const struct {
        RunField field;
        const wchar_t *count, *face, *size;
    } cases[] = {{RunField::Count, L"", nullptr, L"12"},       {RunField::Count, L"2147483647.5", nullptr, L"12"},
                 {RunField::Face, L"10", L"", L"12"},          {RunField::Face, L"10", L"No Such Face", L"12"},
                 {RunField::Size, L"10", nullptr, L"0"},       {RunField::Size, L"10", nullptr, L"1000.5"},
                 {RunField::Count, L"x", L"No Such Face", L"0"}};  // the first bad box is named
    for (const auto& c : cases) {
        settings = {L"text", c.count, c.face ? c.face : face, c.size};
        messages.clear();
        EXPECT_EQ(Run().Refused, c.field) << Utf8(c.count) << Utf8(settings.Face) << Utf8(c.size);
        EXPECT_EQ(messages.size(), 1u);
    }
    EXPECT_TRUE(sink.counts.empty());
    EXPECT_FALSE(canvas.IsOpen());
}

TEST_F(RunTest, TheCanvasIsOwnedAndComesBackAsNewAfterItIsClosed) {
    for (int round = 0; round < 2; ++round) {
        settings.Opaque = round == 0;
        ASSERT_EQ(Run().Refused, RunField::None);
        HWND window = canvas.Handle();
        EXPECT_EQ(GetWindow(window, GW_OWNER), owner);
        EXPECT_EQ(WindowText(window), L"レンダリング");
        EXPECT_EQ(Client().cx, MulDiv(6315, ScreenDpi(), 1440));
        EXPECT_EQ(Client().cy, MulDiv(1695, ScreenDpi(), 1440));
        const LONG style = GetWindowLongW(window, GWL_STYLE);
        EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), WS_THICKFRAME | WS_MINIMIZEBOX);
        EXPECT_TRUE(IsWindowVisible(window));
        const std::vector<DWORD> drawn = Canvas();
        SetWindowPos(window, nullptr, 0, 0, 700, 300, SWP_NOMOVE | SWP_NOZORDER);
        const std::vector<DWORD> larger = Canvas();  // a larger canvas keeps the drawing
        EXPECT_EQ(Inked(larger), Inked(drawn));
        EXPECT_EQ(larger[larger.size() - 1], 0xFFFFFFu);
        SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_FALSE(canvas.IsOpen());
        ASSERT_TRUE(canvas.Show(owner));
        EXPECT_EQ(canvas.Font(), DefaultGuiFontSpec());
        EXPECT_TRUE(canvas.FontTransparent());
    }
}

// The report's date is the user's, month and day in the locale's order.
TEST(Locale, JapaneseDateTimeAndSeparators) {
    EXPECT_EQ(FormatNumber3(1234567.5, UserNumberSeparators()), L"1,234,567.500");
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    const std::wstring text = NowGeneralDateText();
    GetLocalTime(&after);
    int field[6] = {};
    ASSERT_EQ(swscanf(text.c_str(), L"%d/%d/%d %d:%d:%d", &field[0], &field[1], &field[2], &field[3], &field[4], &field[5]), 6)
        << Utf8(text);
    bool matches = false;
    for (const SYSTEMTIME& t : {before, after})
        matches |= field[0] == t.wYear && field[1] == t.wMonth && field[2] == t.wDay && field[3] == t.wHour &&
                   field[4] == t.wMinute && field[5] == t.wSecond;
    EXPECT_TRUE(matches) << Utf8(text);
}

}  // namespace
