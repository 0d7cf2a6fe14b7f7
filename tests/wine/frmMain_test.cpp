#include "ui/frmMain.h"

#include <cstring>

#include "WindowTest.h"
#include "ui/SystemFont.h"

namespace {

using namespace e2e;

HWND Child(HWND main, Control control) {
    HWND child = GetWindow(main, GW_CHILD);
    for (int i = 0; i < control && child; ++i) child = GetWindow(child, GW_HWNDNEXT);
    return child;
}

HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

std::vector<std::wstring> Items(HWND combo) {
    std::vector<std::wstring> items(static_cast<size_t>(SendMessageW(combo, CB_GETCOUNT, 0, 0)));
    for (size_t i = 0; i < items.size(); ++i) {
        items[i].resize(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)));
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(items[i].data()));
    }
    return items;
}

class MainWindowTest : public WindowTest {
protected:
    void TearDown() override {
        main.reset();
        DispatchPending();
        SetNonClientMetricsReader(nullptr);
        WindowTest::TearDown();
    }
    HWND Open() {
        main = std::make_unique<frmMain>();
        EXPECT_TRUE(main->Create());
        ShowWindow(main->Handle(), SW_SHOWNORMAL);
        return main->Handle();
    }
    std::unique_ptr<frmMain> main;
};

TEST_F(MainWindowTest, ControlsCaptionsPlacesAndLists) {
    HWND window = Open();
    const int dpi = ::ScreenDpi();
    auto px = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, px(4680));
    EXPECT_EQ(client.bottom, px(2550));
    EXPECT_EQ(WindowText(window), kMainCaption);
    const struct {
        Control control;
        const wchar_t* text;  // nullptr: not checked
        int left, top, width, height;  // twips; 0: sized by the control or its text
    } expected[] = {
        {lblString, L"文字列(&S):", 180, 240, 0, 0},   {txtString, L"The quick brown fox jumps over the lazy dog.", 1260, 180, 3255, 315},
        {lblTimes, L"試行回数(&T):", 180, 660, 0, 0}, {cmbTimes, L"10", 1260, 600, 1275, 0},
        {lblFace, L"書体(&F):", 180, 1080, 0, 0},     {cmbFont, nullptr, 1260, 1020, 2175, 0},
        {lblSize, L"サイズ(&H)", 180, 1500, 0, 0},    {cmbSize, L"12", 1260, 1440, 1275, 0},
        {chkBold, L"太字", 2700, 1440, 855, 315},     {chkItalic, L"斜体", 3720, 1440, 795, 315},
        {cmdTest, L"テスト(&G)", 1380, 1920, 1395, 375}, {cmdExit, L"終了(&X)", 2940, 1920, 1395, 375},
        {chkOpaque, L"OPAQUE", 2700, 660, 1275, 255},
    };
    for (const auto& e : expected) {
        HWND control = Child(window, e.control);
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(!e.text || WindowText(control) == e.text) << e.control;
        EXPECT_EQ(r.left, px(e.left)) << e.control;
        EXPECT_EQ(r.top, px(e.top)) << e.control;
        EXPECT_TRUE(!e.width || r.right - r.left == px(e.width)) << e.control;
        EXPECT_TRUE(!e.height || r.bottom - r.top == px(e.height)) << e.control;
        EXPECT_LE(r.right, e.left == 180 ? px(1260) : client.right) << e.control;  // labels clear of the boxes
        if (e.control >= chkBold && e.control != cmdTest && e.control != cmdExit) {
            EXPECT_EQ(SendMessageW(control, BM_GETCHECK, 0, 0), BST_UNCHECKED);
        }
    }
    std::vector<std::wstring> counts, sizes;
    for (int i = 1; i <= 100; ++i) counts.push_back(std::to_wstring(i));
    for (int i = 7; i <= 18; ++i) sizes.push_back(std::to_wstring(i));
    EXPECT_EQ(Items(Child(window, cmbTimes)), counts);
    EXPECT_EQ(Items(Child(window, cmbSize)), sizes);
    std::vector<std::wstring> faces = Items(Child(window, cmbFont)), installed = ScreenFontNames();
    std::sort(faces.begin(), faces.end());
    std::sort(installed.begin(), installed.end());
    EXPECT_EQ(faces, installed);  // every screen font once, no vertical (@) ones
}

TEST_F(MainWindowTest, EveryControlShowsTheMenuFontAndTheReportTheTextBoxFont) {
    HWND window = Open();
    HFONT font = FontOf(Child(window, txtString));
    for (int c = 0; c < kControlCount; ++c) EXPECT_EQ(FontOf(Child(window, Control(c))), font) << c;
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = kNonClientMetricsSize;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0);
    LOGFONTW shown{};
    GetObjectW(font, sizeof shown, &shown);
    EXPECT_EQ(shown.lfHeight, metrics.lfMenuFont.lfHeight);
    // The list opens on the face the controls really show, which a run accepts.
    HWND fonts = Child(window, cmbFont);
    const std::wstring selected = WindowText(fonts);
    EXPECT_EQ(Items(fonts)[static_cast<size_t>(SendMessageW(fonts, CB_GETCURSEL, 0, 0))], selected);
    EXPECT_EQ(selected, RealizedFace(font));

    SendMessageW(Child(window, cmdTest), BM_CLICK, 0, 0);
    HWND report = FindWindowExW(FindWindowW(nullptr, L"レポート"), nullptr, L"Edit", nullptr);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(FontOf(report), font);
    EXPECT_TRUE(messages.empty());
}

BOOL WINAPI IpaGothicBold(UINT, UINT size, PVOID record, UINT) {
    LOGFONTA font{};
    font.lfHeight = -16;
    font.lfWeight = 700;
    font.lfCharSet = SHIFTJIS_CHARSET;
    std::strcpy(font.lfFaceName, "IPAGothic");
    std::memcpy(static_cast<unsigned char*>(record) + kMenuFontOffset, &font, sizeof font);
    return size == kNonClientMetricsSize;
}
BOOL WINAPI Fails(UINT, UINT, PVOID, UINT) { return FALSE; }

TEST_F(MainWindowTest, TheSystemsMenuFontOrTheGuiFontWhenThereIsNone) {
    LOGFONTW gui{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    const struct {
        NonClientMetricsReader reader;
        const wchar_t* face;
        LONG height, weight;
    } cases[] = {{IpaGothicBold, L"IPAGothic", -16, 700}, {Fails, gui.lfFaceName, gui.lfHeight, gui.lfWeight}};
    for (const auto& c : cases) {
        SetNonClientMetricsReader(c.reader);
        HWND window = Open();
        LOGFONTW shown{};
        GetObjectW(FontOf(Child(window, lblString)), sizeof shown, &shown);
        EXPECT_EQ(std::wstring(shown.lfFaceName), c.face);
        EXPECT_EQ(shown.lfHeight, c.height);
        EXPECT_EQ(shown.lfWeight, c.weight);
        EXPECT_EQ(WindowText(Child(window, cmbFont)), RealizedFace(FontOf(Child(window, lblString))));
    }
}

}  // namespace
