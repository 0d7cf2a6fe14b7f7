#include "benchmark/Run.h"

#include <algorithm>
#include <cmath>

#include "WindowTest.h"
#include "platform/BackingBitmap.h"
#include "platform/Font.h"
#include "platform/Locale.h"
#include "platform/Window.h"

namespace {

struct RecordingSink : IReportSink {
    std::vector<std::int32_t> counts;
    SharedFont font;
    void AppendResult(double, std::int32_t count, const SharedFont& f) override { counts.push_back(count), font = f; }
};

// The pixels of a DC's area, 0x00RRGGBB; and how many are not white.
std::vector<DWORD> Pixels(HDC dc, int width, int height) {
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP copy = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ previous = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFO info{{sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
    GetDIBits(memory, copy, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(copy);
    DeleteDC(memory);
    for (DWORD& p : pixels) p &= 0xFFFFFF;
    return pixels;
}
int Inked(const std::vector<DWORD>& pixels) { return static_cast<int>(pixels.size() - std::count(pixels.begin(), pixels.end(), 0xFFFFFFu)); }

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
        const std::vector<DWORD> expected = Reference(c.calls ? c.text : L"");
        EXPECT_TRUE(Pixels(dc, Client().cx, Client().cy) == expected);
        EXPECT_TRUE(Pixels(screen, Client().cx, Client().cy) == expected);  // and the window shows it
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
        EXPECT_EQ(sink.counts.back(), c.calls);
        EXPECT_EQ(sink.font, textFont);  // the report gets the text box's own font object
    }
    EXPECT_GT(Inked(Reference(L"日本語")), 20);
    EXPECT_TRUE(messages.empty());
}

TEST_F(RunTest, TheCanvasIsOwnedKeepsItsDrawingAndComesBackAsNewAfterItIsClosed) {
    for (int opaque : {1, 0}) {
        ASSERT_EQ(Run({L"text", L"1", latin, L"12", 0, 0, opaque}).Refused, RunField::None);
        HWND window = canvas.Handle();
        EXPECT_EQ(GetWindow(window, GW_OWNER), owner);
        EXPECT_EQ(WindowText(window), L"レンダリング");
        EXPECT_EQ(Client().cx, MulDiv(6315, ScreenDpi(), 1440));
        EXPECT_EQ(Client().cy, MulDiv(1695, ScreenDpi(), 1440));
        const int inked = Inked(Pixels(canvas.hDC(), Client().cx, Client().cy));
        SetWindowPos(window, nullptr, 0, 0, 700, 300, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(Inked(Pixels(canvas.hDC(), Client().cx, Client().cy)), inked);
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
    EXPECT_TRUE(sink.counts.empty());

    BackingBitmap bitmap;  // a bitmap that cannot grow keeps the old one
    ASSERT_TRUE(bitmap.Cover(20, 10, RGB(255, 255, 255)));
    SetPixel(bitmap.dc(), 3, 3, RGB(0, 0, 0));
    EXPECT_FALSE(bitmap.Cover(200000, 200000, RGB(255, 255, 255)));
    EXPECT_EQ(GetPixel(bitmap.dc(), 3, 3), RGB(0, 0, 0));
}

// The report's date is the user's, month and day in the locale's order.
TEST(Locale, JapaneseDateTimeAndSeparators) {
    EXPECT_EQ(FormatNumber3(1234567.5, UserNumberSeparators()), L"1,234,567.500");
    SYSTEMTIME t;
    GetLocalTime(&t);
    const std::wstring text = NowGeneralDateText();
    int f[6] = {};
    EXPECT_EQ(swscanf(text.c_str(), L"%d/%d/%d %d:%d:%d", &f[0], &f[1], &f[2], &f[3], &f[4], &f[5]), 6) << Utf8(text);
    EXPECT_TRUE(f[0] == t.wYear && f[1] == t.wMonth && f[2] == t.wDay && f[3] == t.wHour) << Utf8(text);
}

}  // namespace
