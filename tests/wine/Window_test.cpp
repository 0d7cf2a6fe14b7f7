// Window behaviour in this process, through the real windows: runs on the
// canvas, the main window's controls and fonts, the report and window lifetimes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <regex>

#include "AppDriver.h"
#include "benchmark/Run.h"
#include "platform/BackingBitmap.h"
#include "platform/Dialogs.h"
#include "platform/Font.h"
#include "platform/Window.h"
#include "ui/frmMain.h"

namespace {

using namespace e2e;

// Message boxes are kept instead of shown; the main window is opened on demand.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { SetMessageBoxHook([this](HWND, const std::wstring& text, UINT) { return messages.push_back(text), IDOK; }); }
    void TearDown() override { main.reset(), DispatchPending(), SetMessageBoxHook(nullptr); }
    void Open() {
        ASSERT_TRUE((main = std::make_unique<frmMain>())->Create());
        HWND child = GetWindow(main->Handle(), GW_CHILD);
        for (HWND& control : controls) control = child, child = GetWindow(child, GW_HWNDNEXT);
    }
    // Clicks a button or closes a window as its close box does, then handles what is waiting.
    void Click(Control button) { SendMessageW(controls[button], BM_CLICK, 0, 0), DispatchPending(); }
    void Close(const wchar_t* caption) { SendMessageW(FindWindowW(nullptr, caption), WM_SYSCOMMAND, SC_CLOSE, 0), DispatchPending(); }
    void DispatchPending() { for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) quit |= m.message == WM_QUIT, DispatchMessageW(&m); }

    std::vector<std::wstring> messages;
    std::unique_ptr<frmMain> main;
    HWND controls[kControlCount] = {};  // in tab order, found through the window
    bool quit = false;
};

std::wstring PickFace(const wchar_t* face, const wchar_t* other) { return IsScreenFont(face) ? face : IsScreenFont(other) ? other : ScreenFontNames().front(); }

int Inked(const std::vector<DWORD>& pixels) { return static_cast<int>(pixels.size() - std::count(pixels.begin(), pixels.end(), 0xFFFFFFu)); }

class RunTest : public WindowTest {
protected:
    void TearDown() override { canvas.Close(), DestroyWindow(owner), WindowTest::TearDown(); }
    // The canvas's area (0x00RRGGBB) as draw leaves a white copy of it.
    std::vector<DWORD> Pixels(const std::function<void(HDC)>& draw) {
        RECT r{};
        GetClientRect(canvas.Handle(), &r);
        HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        PatBlt(memory, 0, 0, r.right, r.bottom, WHITENESS);
        draw(memory);
        SelectObject(memory, previous);
        BITMAPINFO info{{sizeof info.bmiHeader, r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        std::vector<DWORD> pixels(static_cast<size_t>(r.right) * r.bottom);
        GetDIBits(memory, bitmap, 0, r.bottom, pixels.data(), &info, DIB_RGB_COLORS);
        DeleteObject(bitmap), DeleteDC(memory), ReleaseDC(nullptr, screen);
        for (DWORD& p : pixels) p &= 0xFFFFFF;  // the unused byte
        return pixels;
    }
    std::vector<DWORD> Painted() { return Pixels([&](HDC dc) { SendMessageW(canvas.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT); }); }

    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    frmCanvas canvas;
    const std::wstring latin = PickFace(L"Liberation Sans", L"DejaVu Sans"), japanese = PickFace(L"IPAGothic", L"IPAゴシック");
};

// The canvas, owned and shown without taking the keyboard, paints exactly
// the text's own glyphs in the chosen font, so '?', UTF-8 bytes or a wrong
// code page fail; growing keeps the picture.
TEST_F(RunTest, DrawsTheTextsGlyphsInTheChosenFontAndKeepsThem) {
    const RunRequest cases[] = {{L"The quick brown fox", 10, {latin, 12}}, {L"日本語テキスト", 1000, {japanese, 10.5, true, true}, true},
                                {L"ﾃｷｽﾄ①", 1, {japanese, 36, true}, true}, {L"none drawn", 0, {latin, 12}}};
    for (const RunRequest& c : cases) {
        SCOPED_TRACE(Utf8(c.Text));
        ASSERT_TRUE(RunBenchmark(owner, canvas, c));
        HWND window = canvas.Handle();
        HFONT font = canvas.Font()->Handle();
        const auto expected = Pixels([&](HDC dc) { SelectObject(dc, font), SetBkMode(dc, TRANSPARENT), ExtTextOutW(dc, 0, 0, 0, nullptr, c.Text.c_str(), c.Count ? static_cast<UINT>(c.Text.size()) : 0, nullptr); });
        EXPECT_TRUE(Painted() == expected && (!c.Count || Inked(expected) > 20));
        EXPECT_TRUE(Pixels([&](HDC dc) { WindowDC shown(window); BitBlt(dc, 0, 0, 2000, 2000, shown.get(), 0, 0, SRCCOPY); }) == expected);
        LOGFONTW lf{};
        GetObjectW(font, sizeof lf, &lf);
        EXPECT_TRUE(lf.lfHeight == -std::lround(c.Font.Size * ScreenDpi() / 72) && c.Font.Name == RealizedFace(font) &&
                    lf.lfWeight == (c.Font.Bold ? FW_BOLD : FW_NORMAL) && !lf.lfItalic == !c.Font.Italic && lf.lfCharSet == DEFAULT_CHARSET);
        EXPECT_TRUE(GetWindow(window, GW_OWNER) == owner && GetForegroundWindow() != window && WindowText(window) == L"レンダリング");
    }
    RECT r{};
    GetClientRect(canvas.Handle(), &r);
    EXPECT_TRUE(r.right == MulDiv(6315, ScreenDpi(), 1440) && r.bottom == MulDiv(1695, ScreenDpi(), 1440));
    ASSERT_TRUE(RunBenchmark(owner, canvas, cases[0]));
    const int inked = Inked(Painted());
    SetWindowPos(canvas.Handle(), nullptr, 0, 0, 700, 300, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(inked > 0 && Inked(Painted()) == inked);
}

// The system refuses a canvas for an owner that is gone; a bitmap that cannot grow keeps the old one.
TEST_F(RunTest, ACanvasOrBitmapThatCannotBeMadeStopsTheRun) {
    DestroyWindow(owner);
    EXPECT_FALSE(RunBenchmark(owner, canvas, {L"text", 1, {latin, 12}}));
    BackingBitmap bitmap;
    ASSERT_TRUE(bitmap.Cover(20, 10, RGB(255, 255, 255)));
    SetPixel(bitmap.dc(), 3, 3, RGB(0, 0, 0));
    EXPECT_FALSE(bitmap.Cover(200000, 200000, RGB(255, 255, 255)));
    EXPECT_EQ(GetPixel(bitmap.dc(), 3, 3), RGB(0, 0, 0));
}

HWND ReportBox() { return FindWindowExW(FindWindowW(nullptr, L"レポート"), nullptr, L"Edit", nullptr); }
HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

std::vector<std::wstring> Items(HWND combo) {
    std::vector<std::wstring> items;
    wchar_t item[128];
    for (WPARAM i = 0; SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item)) != CB_ERR; ++i) items.push_back(item);
    return items;
}

BOOL WINAPI NoMetrics(UINT, UINT, PVOID, UINT) { return FALSE; }

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, CaptionsLabelsAndLists) {
    Open();
    HWND window = main->Handle();
    auto px = [](int twips) { return MulDiv(twips, ::ScreenDpi(), 1440); };
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_TRUE(client.right == px(4680) && client.bottom == px(2550) && WindowText(window) == kMainCaption);
    EXPECT_EQ(WindowText(controls[txtString]), L"The quick brown fox jumps over the lazy dog.");
    // Labels fit their captions and end before the boxes begin.
    for (Control label : {lblString, lblTimes, lblFace, lblSize}) {
        RECT r{};
        GetWindowRect(controls[label], &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(r.left == px(180) && r.right <= px(1260)) << label;
    }
    const std::vector<std::wstring> counts = Items(controls[cmbTimes]), sizes = Items(controls[cmbSize]);
    EXPECT_TRUE(counts.size() == 100 && counts[0] == L"1" && counts[99] == L"100" && sizes.size() == 12 && sizes[0] == L"7" && sizes[11] == L"18");
    EXPECT_TRUE(WindowText(controls[cmbTimes]) == L"10" && WindowText(controls[cmbSize]) == L"12");
    const std::vector<std::wstring> faces = Items(controls[cmbFont]), installed = ScreenFontNames();
    EXPECT_TRUE(std::is_permutation(faces.begin(), faces.end(), installed.begin(), installed.end()));  // every screen font once, no vertical (@) ones
}

// One font object, the system's menu font (the GUI font when the system has
// none), on every control; the list opens on the face it really shows; the
// report takes the text box's font.
TEST_F(MainWindowTest, EveryControlShowsTheMenuFontAndTheReportTheTextBoxFont) {
    LOGFONTA gui = {};
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = kNonClientMetricsSize;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0);
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    for (const LOGFONTA* system : {&metrics.lfMenuFont, &gui}) {
        if (system == &gui) SetNonClientMetricsReader(NoMetrics);
        Open();
        HFONT font = FontOf(controls[txtString]);
        for (HWND control : controls) EXPECT_EQ(FontOf(control), font);
        LOGFONTA shown{};
        GetObjectA(font, sizeof shown, &shown);
        EXPECT_TRUE(!strcmp(shown.lfFaceName, system->lfFaceName) && shown.lfHeight == system->lfHeight);
        EXPECT_EQ(Items(controls[cmbFont])[static_cast<size_t>(SendMessageW(controls[cmbFont], CB_GETCURSEL, 0, 0))], RealizedFace(font));
        Click(cmdTest);
        EXPECT_TRUE(FontOf(ReportBox()) == font && messages.empty());
    }
    SetNonClientMetricsReader(nullptr);
}

// How many more GDI objects this process could create right now.
// GetGuiResources is a stub under Wine, so count by filling the table.
int GdiHandleHeadroom() {
    std::vector<HRGN> regions;
    for (HRGN region; regions.size() < 200000 && (region = CreateRectRgn(0, 0, 1, 1));) regions.push_back(region);
    return static_cast<int>(std::count_if(regions.begin(), regions.end(), DeleteObject));
}

// Top-level windows of this thread, without combo drop-downs and Wine's IME windows.
BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
    wchar_t cls[64] = L"";
    GetClassNameW(window, cls, 64);
    return *reinterpret_cast<int*>(count) += lstrcmpiW(cls, L"ComboLBox") && lstrcmpiW(cls, L"IME"), TRUE;
}
int ThreadWindows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

std::wstring Report() { return WindowText(ReportBox()); }

// One entry: the date (with the time, except at midnight), total, average, an empty line.
const std::wregex kEntry(L"(\\d{4})/(\\d{1,2})/(\\d{1,2})(?: \\d{1,2}:\\d{2}:\\d{2})?\r\n試行時間: (-?[\\d,]+\\.\\d{3}) ミリ秒\r\n"
                         L"1回あたりの平均時間: (?:(計算できません \\(試行回数 0\\))|(-?[\\d,]+\\.\\d{3}) ミリ秒)\r\n\r\n");

int Entries() {
    const std::wstring text = Report();
    return static_cast<int>(std::distance(std::wsregex_iterator(text.begin(), text.end(), kEntry), {}));
}

using LongSession = WindowTest;

// Past the report box's default limit, every entry kept in order, with
// nothing leaked on the way.
TEST_F(LongSession, RunsPastTheEditLimitKeepEveryEntryInOrderAndLeakNothing) {
    const int baseline = ThreadWindows();
    Open();
    const wchar_t* counts[] = {L"1", L"3", L"0"};
    const wchar_t* sizes[] = {L"9", L"10.5", L"36", L"12"};
    std::wstring report;
    int headroom = 0;
    for (int run = 0; run < 520; ++run) {
        SetWindowTextW(controls[cmbTimes], counts[run % 3]);
        SetWindowTextW(controls[cmbSize], sizes[run % 4]);
        for (Control box : {chkBold, chkItalic, chkOpaque}) SendMessageW(controls[box], BM_SETCHECK, (run >> (box - chkBold)) & 1, 0);
        Click(cmdTest);
        const std::wstring now = Report(), entry = now.substr(report.size());
        ASSERT_EQ(now.compare(0, report.size(), report), 0) << "run " << run << " changed earlier entries";
        std::wsmatch m;
        ASSERT_TRUE(std::regex_match(entry, m, kEntry)) << "run " << run << ": " << Utf8(entry);
        const double count = std::wcstod(counts[run % 3], nullptr);  // a few calls: far below 1,000 ms
        EXPECT_TRUE(count ? std::fabs(std::stod(m[6].str()) - std::stod(m[4].str()) / count) <= 0.0005 + 1e-9 : m[5].matched) << Utf8(entry);
        SYSTEMTIME t;  // the user's date, month and day in the locale's order
        GetLocalTime(&t);
        EXPECT_TRUE(std::stoi(m[1].str()) == t.wYear && std::stoi(m[2].str()) == t.wMonth && std::stoi(m[3].str()) == t.wDay) << Utf8(entry);
        report = now;
        if (run == 9) headroom = GdiHandleHeadroom();
    }
    EXPECT_GT(report.size(), 32767u);
    EXPECT_EQ(GdiHandleHeadroom(), headroom);
    EXPECT_TRUE(ThreadWindows() == baseline + 3 && messages.empty() && !quit);
}

// Canvas and report come back with the next run however they were closed;
// the main window, closed in any state, takes both along and ends the program.
TEST_F(LongSession, ClosedWindowsComeBackAndTheMainWindowTakesThemAlong) {
    const int baseline = ThreadWindows();
    const std::vector<std::wstring> rounds[] = {{}, {L"レンダリング"}, {L"レポート"}, {L"レンダリング", L"レポート"}, {L"レポート", L"レンダリング"}};
    Open();
    for (const auto& close : rounds) {
        Click(cmdTest);
        const int entries = Entries();
        for (const std::wstring& caption : close) Close(caption.c_str());
        EXPECT_EQ(ThreadWindows(), baseline + 3 - static_cast<int>(close.size()));
        Click(cmdTest);
        EXPECT_EQ(ThreadWindows(), baseline + 3);
        for (const wchar_t* caption : {L"レンダリング", L"レポート"}) EXPECT_EQ(GetWindow(FindWindowW(nullptr, caption), GW_OWNER), main->Handle());
        const bool reportClosed = std::count(close.begin(), close.end(), L"レポート") != 0;
        EXPECT_EQ(Entries(), reportClosed ? 1 : entries + 1);  // a new report holds only the new entry
    }
    EXPECT_FALSE(quit) << "closing the canvas or the report must not end the program";
    Close(L"レンダリング");
    Click(cmdExit);
    EXPECT_TRUE(ThreadWindows() == baseline && quit);
    quit = false;
    Open();  // never ran
    Close(kMainCaption);
    EXPECT_TRUE(ThreadWindows() == baseline && quit);
}

}  // namespace
