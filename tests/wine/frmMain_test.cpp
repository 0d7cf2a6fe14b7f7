#include "ui/frmMain.h"

#include "WindowTest.h"
#include "ui/SystemFont.h"

namespace {

HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

std::vector<std::wstring> Items(HWND combo) {
    std::vector<std::wstring> items;
    wchar_t item[128];
    for (WPARAM i = 0; SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item)) != CB_ERR; ++i) items.push_back(item);
    return items;
}

BOOL WINAPI NoMetrics(UINT, UINT, PVOID, UINT) { return FALSE; }

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, ControlsCaptionsPlacesAndLists) {
    Open();
    HWND window = GetParent(controls[0]);
    auto px = [](int twips) { return MulDiv(twips, ::ScreenDpi(), 1440); };
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_TRUE(client.right == px(4680) && client.bottom == px(2550) && WindowText(window) == kMainCaption);
    EXPECT_EQ(WindowText(controls[txtString]), L"The quick brown fox jumps over the lazy dog.");
    // Left and top in twips, in tab order; labels end before the boxes begin.
    const int places[kControlCount][2] = {{180, 240}, {1260, 180}, {180, 660}, {1260, 600}, {180, 1080}, {1260, 1020},
        {180, 1500}, {1260, 1440}, {2700, 1440}, {3720, 1440}, {1380, 1920}, {2940, 1920}, {2700, 660}};
    for (int i = 0; i < kControlCount; ++i) {
        RECT r{};
        GetWindowRect(controls[i], &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(r.left == px(places[i][0]) && r.top == px(places[i][1])) << i;
        EXPECT_LE(r.right, places[i][0] == 180 ? px(1260) : client.right) << i;
    }
    const std::vector<std::wstring> counts = Items(controls[cmbTimes]), sizes = Items(controls[cmbSize]);
    EXPECT_TRUE(counts.size() == 100 && counts[0] == L"1" && counts[99] == L"100");
    EXPECT_TRUE(sizes.size() == 12 && sizes[0] == L"7" && sizes[11] == L"18");
    EXPECT_EQ(WindowText(controls[cmbTimes]) + L"/" + WindowText(controls[cmbSize]), L"10/12");
    std::vector<std::wstring> faces = Items(controls[cmbFont]), installed = ScreenFontNames();
    std::sort(faces.begin(), faces.end());
    std::sort(installed.begin(), installed.end());
    EXPECT_EQ(faces, installed);  // every screen font once, no vertical (@) ones
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

        SendMessageW(controls[cmdTest], BM_CLICK, 0, 0);
        EXPECT_EQ(FontOf(FindWindowExW(FindWindowW(nullptr, L"レポート"), nullptr, L"Edit", nullptr)), font);
        EXPECT_TRUE(messages.empty());
    }
    SetNonClientMetricsReader(nullptr);
}

}  // namespace
