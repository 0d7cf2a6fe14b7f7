#include "benchmark/Run.h"

#include <algorithm>
#include <cmath>

#include "WindowTest.h"
#include "platform/BackingBitmap.h"
#include "platform/Font.h"
#include "platform/Locale.h"
#include "platform/Window.h"

namespace {

std::wstring PickFace(std::initializer_list<const wchar_t*> wanted) {
    const std::vector<std::wstring> faces = ScreenFontNames();
    for (const wchar_t* face : wanted)
        if (std::find(faces.begin(), faces.end(), face) != faces.end()) return face;
    return faces.front();
}

int Inked(const std::vector<DWORD>& pixels) { return static_cast<int>(pixels.size() - std::count(pixels.begin(), pixels.end(), 0xFFFFFFu)); }

// The fixture is the report: it keeps the counts and the font each run hands over.
class RunTest : public WindowTest, public IReportSink {
protected:
    void TearDown() override {
        canvas.Close();
        DestroyWindow(owner);
        WindowTest::TearDown();
    }
    void AppendResult(double, std::int32_t count, const SharedFont& font) override { counts.push_back(count), reportFont = font; }
    RunOutcome Run(RunSettings settings) { return RunBenchmark(owner, canvas, settings, textFont, *this); }
    // The canvas's area as dc holds it (0x00RRGGBB), or, given a text, as
    // drawing that text in dc's font on white gives.
    std::vector<DWORD> Pixels(HDC dc, const wchar_t* text = nullptr) {
        RECT r{};
        GetClientRect(canvas.Handle(), &r);
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, r.right, r.bottom);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (text) {
            PatBlt(memory, 0, 0, r.right, r.bottom, WHITENESS);
            SelectObject(memory, GetCurrentObject(dc, OBJ_FONT));
            SetBkMode(memory, TRANSPARENT);
            ExtTextOutW(memory, 0, 0, 0, nullptr, text, static_cast<UINT>(wcslen(text)), nullptr);
        } else {
            BitBlt(memory, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
        }
        SelectObject(memory, previous);
        BITMAPINFO info{{sizeof info.bmiHeader, r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        std::vector<DWORD> pixels(static_cast<size_t>(r.right) * r.bottom);
        GetDIBits(memory, bitmap, 0, r.bottom, pixels.data(), &info, DIB_RGB_COLORS);
        DeleteObject(bitmap);
        DeleteDC(memory);
        for (DWORD& p : pixels) p &= 0xFFFFFF;
        return pixels;
    }

    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    frmCanvas canvas;
    std::vector<std::int32_t> counts;
    SharedFont textFont = MakeFont(DefaultGuiFontSpec()), reportFont;
    const std::wstring latin = PickFace({L"Liberation Sans", L"DejaVu Sans"}), japanese = PickFace({L"IPAGothic", L"IPAゴシック"});
};

// The canvas shows exactly the text's own glyphs, so '?', UTF-8 bytes or a
// wrong code page fail; the font and the background mode follow the boxes.
TEST_F(RunTest, DrawsTheTextsGlyphsInTheChosenFontAndBackgroundMode) {
    const struct {
        const wchar_t *text, *count;
        const std::wstring& face;
        const wchar_t* size;
        int bold, italic, opaque, mode;  // check-box values; 2 is grayed
        std::int32_t calls;
    } cases[] = {{L"The quick brown fox", L"10", latin, L"12", 0, 0, 0, TRANSPARENT, 10},
                 {L"日本語テキスト", L"1,000", japanese, L"10.5", 2, 1, 1, OPAQUE, 1000},
                 {L"ﾃｷｽﾄ①", L"1", japanese, L"36", 1, 2, 2, OPAQUE, 1},
                 {L"none drawn", L"0", latin, L"12", 0, 0, 0, TRANSPARENT, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        ASSERT_EQ(Run({c.text, c.count, c.face, c.size, c.bold, c.italic, c.opaque}).Refused, RunField::None);
        HDC dc = canvas.hDC(), screen = GetDC(canvas.Handle());
        const std::vector<DWORD> expected = Pixels(dc, c.calls ? c.text : L"");
        EXPECT_TRUE(Pixels(dc) == expected);
        EXPECT_TRUE(Pixels(screen) == expected);  // and the window shows it
        ReleaseDC(canvas.Handle(), screen);
        EXPECT_EQ(GetBkMode(dc), c.mode);
        LOGFONTW font{};
        GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
        EXPECT_EQ(font.lfHeight, -std::lround(std::wcstod(c.size, nullptr) * ScreenDpi() / 72));
        EXPECT_EQ(font.lfWeight, c.bold ? FW_BOLD : FW_NORMAL);
        EXPECT_EQ(font.lfItalic != 0, c.italic != 0);
        wchar_t face[LF_FACESIZE] = L"";
        GetTextFaceW(dc, LF_FACESIZE, face);
        EXPECT_EQ(c.face, face);
        EXPECT_EQ(counts.back(), c.calls);
        EXPECT_EQ(reportFont, textFont);  // the report gets the text box's own font object
    }
    EXPECT_GT(Inked(Pixels(canvas.hDC(), L"日本語")), 20);
    EXPECT_TRUE(messages.empty());
}

TEST_F(RunTest, TheCanvasIsOwnedKeepsItsDrawingAndComesBackAsNewAfterItIsClosed) {
    for (int opaque : {1, 0}) {
        ASSERT_EQ(Run({L"text", L"1", latin, L"12", 0, 0, opaque}).Refused, RunField::None);
        HWND window = canvas.Handle();
        EXPECT_EQ(GetWindow(window, GW_OWNER), owner);
        EXPECT_EQ(WindowText(window), L"レンダリング");
        RECT r{};
        GetClientRect(window, &r);
        EXPECT_TRUE(r.right == MulDiv(6315, ScreenDpi(), 1440) && r.bottom == MulDiv(1695, ScreenDpi(), 1440));
        const int inked = Inked(Pixels(canvas.hDC()));
        SetWindowPos(window, nullptr, 0, 0, 700, 300, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(Inked(Pixels(canvas.hDC())), inked);
        EXPECT_GT(inked, 0);
        SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_FALSE(IsWindow(window));
        ASSERT_TRUE(canvas.Show(owner));
        EXPECT_TRUE(canvas.Font() == DefaultGuiFontSpec() && canvas.FontTransparent());
    }
}

// The system refuses a canvas for an owner that is gone: the user is told, no entry is made.
TEST_F(RunTest, ACanvasThatCannotBeMadeIsToldAndAddsNoEntry) {
    DestroyWindow(owner);
    EXPECT_EQ(Run({L"text", L"1", latin, L"12"}).Refused, RunField::Canvas);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(L"作れませんでした"), std::wstring::npos);
    EXPECT_TRUE(counts.empty());

    BackingBitmap bitmap;  // a bitmap that cannot grow keeps the old one
    ASSERT_TRUE(bitmap.Cover(20, 10, RGB(255, 255, 255)));
    SetPixel(bitmap.dc(), 3, 3, RGB(0, 0, 0));
    EXPECT_FALSE(bitmap.Cover(200000, 200000, RGB(255, 255, 255)));
    EXPECT_EQ(GetPixel(bitmap.dc(), 3, 3), RGB(0, 0, 0));
}

// The report's date is the user's, month and day in the locale's order.
TEST(Locale, TheDateIsTheUsersMonthAndDayInTheLocalesOrder) {
    SYSTEMTIME t;
    GetLocalTime(&t);
    int f[4] = {};
    EXPECT_EQ(swscanf(NowGeneralDateText().c_str(), L"%d/%d/%d %d:", &f[0], &f[1], &f[2], &f[3]), 4);
    EXPECT_TRUE(f[0] == t.wYear && f[1] == t.wMonth && f[2] == t.wDay && f[3] == t.wHour);
}

}  // namespace
