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
    SharedFont font;
    void AppendResult(double, std::int32_t count, const SharedFont& f) override {
        counts.push_back(count);
        font = f;
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
    void TearDown() override {
        canvas.Close();
        DestroyWindow(owner);
        WindowTest::TearDown();
    }
    RunOutcome Run(RunSettings settings) { return RunBenchmark(owner, canvas, settings, textFont, sink); }
    SIZE Client() const {
        RECT client{};
        GetClientRect(canvas.Handle(), &client);
        return {client.right, client.bottom};
    }
    std::vector<DWORD> Canvas() { return Pixels(canvas.hDC(), Client().cx, Client().cy); }
    // What drawing the text itself, in the font the canvas has selected, gives.
    std::vector<DWORD> Reference(const std::wstring& text) {
        HDC dc = CreateCompatibleDC(canvas.hDC());
        HBITMAP bitmap = CreateCompatibleBitmap(canvas.hDC(), Client().cx, Client().cy);
        SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, Client().cx, Client().cy, WHITENESS);
        SelectObject(dc, GetCurrentObject(canvas.hDC(), OBJ_FONT));
        SetBkMode(dc, TRANSPARENT);
        ExtTextOutW(dc, 0, 0, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
        std::vector<DWORD> pixels = Pixels(dc, Client().cx, Client().cy);
        DeleteDC(dc);
        DeleteObject(bitmap);
        return pixels;
    }

    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    frmCanvas canvas;
    RecordingSink sink;
    SharedFont textFont = MakeFont(DefaultGuiFontSpec());
    const std::wstring latin = PickFace({L"Liberation Sans", L"DejaVu Sans"}), japanese = PickFace({L"IPAGothic", L"IPAゴシック"});
};

// The canvas shows exactly the text's own glyphs, so '?', UTF-8 bytes or a
// wrong code page fail; the font and the background mode follow the boxes.
TEST_F(RunTest, DrawsTheTextsGlyphsInTheChosenFontAndBackgroundMode) {
    const struct {
        const wchar_t* text;
        const std::wstring& face;
        const wchar_t *count, *size;
        int bold, italic, opaque;  // check-box values; 2 is grayed
        int mode;
    } cases[] = {{L"The quick brown fox", latin, L"10", L"12", 0, 0, 0, TRANSPARENT},
                 {L"日本語テキスト", japanese, L"3", L"10.5", 2, 1, 1, OPAQUE},
                 {L"ﾃｷｽﾄ①", japanese, L"1", L"36", 1, 2, 2, OPAQUE},
                 {L"none drawn", latin, L"0", L"12", 0, 0, 0, TRANSPARENT},
                 {L"none drawn", latin, L"-5", L"12", 0, 0, 1, OPAQUE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.text) + " count " + Utf8(c.count));
        const RunOutcome outcome = Run({c.text, c.count, c.face, c.size, c.bold, c.italic, c.opaque});
        ASSERT_EQ(outcome.Refused, RunField::None);
        HDC dc = canvas.hDC();
        const std::vector<DWORD> expected = Reference(std::wcstol(c.count, nullptr, 10) > 0 ? c.text : L"");
        EXPECT_TRUE(Canvas() == expected);
        HDC screen = GetDC(canvas.Handle());  // and the window shows it
        EXPECT_TRUE(Pixels(screen, Client().cx, Client().cy) == expected);
        ReleaseDC(canvas.Handle(), screen);
        EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
        EXPECT_EQ(GetBkMode(dc), c.mode);
        EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
        LOGFONTW font{};
        GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
        EXPECT_EQ(font.lfHeight, -std::lround(std::wcstod(c.size, nullptr) * ScreenDpi() / 72));
        EXPECT_EQ(font.lfWeight, c.bold ? FW_BOLD : FW_NORMAL);
        EXPECT_EQ(font.lfItalic != 0, c.italic != 0);
        wchar_t face[LF_FACESIZE] = L"";
        GetTextFaceW(dc, LF_FACESIZE, face);
        EXPECT_EQ(c.face, face);
        EXPECT_EQ(sink.counts.back(), std::wcstol(c.count, nullptr, 10));
        EXPECT_EQ(sink.font, textFont);  // the report gets the text box's own font object
        if (outcome.Count <= 0) {
            EXPECT_LT(outcome.ElapsedMs, 0.05);  // an empty interval
        }
    }
    EXPECT_GT(Inked(Reference(L"日本語")), 20);
}

TEST_F(RunTest, TheCanvasIsOwnedKeepsItsDrawingAndComesBackAsNewAfterItIsClosed) {
    for (int opaque : {1, 0}) {
        ASSERT_EQ(Run({L"text", L"1", latin, L"12", 0, 0, opaque}).Refused, RunField::None);
        HWND window = canvas.Handle();
        EXPECT_EQ(GetWindow(window, GW_OWNER), owner);
        EXPECT_EQ(WindowText(window), L"レンダリング");
        EXPECT_EQ(Client().cx, MulDiv(6315, ScreenDpi(), 1440));
        EXPECT_EQ(Client().cy, MulDiv(1695, ScreenDpi(), 1440));
        const LONG style = GetWindowLongW(window, GWL_STYLE);
        EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE), WS_THICKFRAME | WS_MINIMIZEBOX | WS_VISIBLE);
        const int inked = Inked(Canvas());
        SetWindowPos(window, nullptr, 0, 0, 700, 300, SWP_NOMOVE | SWP_NOZORDER);
        const std::vector<DWORD> larger = Canvas();
        EXPECT_EQ(Inked(larger), inked);
        EXPECT_GT(inked, 0);
        SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_FALSE(IsWindow(window));
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
    int f[6] = {};
    ASSERT_EQ(swscanf(text.c_str(), L"%d/%d/%d %d:%d:%d", &f[0], &f[1], &f[2], &f[3], &f[4], &f[5]), 6) << Utf8(text);
    bool matches = false;
    for (const SYSTEMTIME& t : {before, after})
        matches |= f[0] == t.wYear && f[1] == t.wMonth && f[2] == t.wDay && f[3] == t.wHour && f[4] == t.wMinute && f[5] == t.wSecond;
    EXPECT_TRUE(matches) << Utf8(text);
}

}  // namespace
