#include "ui/frmMain.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "GdiHeadroom.h"
#include "platform/Dialogs.h"
#include "platform/Font.h"
#include "ui/SystemFont.h"

namespace {

HWND EditOf(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo, &info);
    return info.hwndItem;
}

void DrainQuit() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

std::vector<HWND> Controls(const frmMain& main) {
    return {main.lblString, main.txtString, main.lblTimes, main.cmbTimes, main.lblFace,
            main.cmbFont,   main.lblSize,   main.cmbSize,  main.chkBold,  main.chkItalic,
            main.cmdTest,   main.cmdExit,   main.chkOpaque};
}

std::wstring SelectedFace(HWND combo) {
    LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return L"";
    std::wstring text(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, index, 0)), L'\0');
    SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return text;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMessageBoxHook([this](HWND, const std::wstring& text, UINT) {
            messages.push_back(text);
            return IDOK;
        });
        SetBeepHook([this] { ++beeps; });
    }
    void TearDown() override {
        main.reset();
        DrainQuit();
        SetMessageBoxHook(nullptr);
        SetBeepHook(nullptr);
        SetNonClientMetricsReader(nullptr);
    }
    frmMain& Open() {
        main = std::make_unique<frmMain>();
        EXPECT_TRUE(main->Create());
        ShowWindow(main->Handle(), SW_SHOWNORMAL);
        return *main;
    }
    void Type(HWND window, const wchar_t* keys) {
        for (const wchar_t* k = keys; *k; ++k) SendMessageW(window, WM_CHAR, *k, 1);
    }

    std::unique_ptr<frmMain> main;
    std::vector<std::wstring> messages;
    int beeps = 0;
};

TEST_F(MainWindowTest, EveryControlSharesTheMenuFont) {
    frmMain& m = Open();
    HFONT font = m.ControlFont()->Handle();
    ASSERT_NE(font, nullptr);
    for (HWND control : Controls(m))
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), font);

    // Face and size are the system's menu font, read as the system reports it.
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = kNonClientMetricsSize;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0);
    FontSpec expected = FontFromLogFont(metrics.lfMenuFont, WindowDC(m.Handle()).get());
    EXPECT_EQ(m.ControlFont()->Description(), expected);

    // Labels fit their captions in that font.
    WindowDC dc(m.Handle());
    SelectGuard select(dc.get(), font);
    for (HWND label : {m.lblString, m.lblTimes, m.lblFace, m.lblSize}) {
        std::wstring caption = WindowText(label);
        RECT extent{};
        DrawTextW(dc.get(), caption.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
        RECT rect{};
        GetClientRect(label, &rect);
        EXPECT_EQ(rect.right, extent.right);
        EXPECT_EQ(rect.bottom, extent.bottom);
    }
}

TEST_F(MainWindowTest, FontListOpensOnTheFaceTheControlsShow) {
    frmMain& m = Open();
    std::wstring selected = SelectedFace(m.cmbFont);
    ASSERT_FALSE(selected.empty());
    EXPECT_EQ(WindowText(m.cmbFont), selected);
    // Under Wine the menu face is "MS Shell Dlg", a substitute that is no
    // screen font: the list names the face it stands in for.
    const std::wstring menuFace = m.ControlFont()->Description().Name;
    if (IsScreenFont(menuFace))
        EXPECT_EQ(selected, menuFace);
    else
        EXPECT_EQ(selected, RealizedFace(m.ControlFont()->Handle()));
    EXPECT_TRUE(IsScreenFont(selected));
}

BOOL WINAPI MenuFontIsIpaGothic(UINT, UINT size, PVOID record, UINT) {
    LOGFONTA font{};
    font.lfHeight = -16;
    font.lfWeight = 700;
    font.lfCharSet = SHIFTJIS_CHARSET;
    std::strcpy(font.lfFaceName, "IPAGothic");
    std::memcpy(static_cast<unsigned char*>(record) + kMenuFontOffset, &font, sizeof font);
    return size == kNonClientMetricsSize;
}

TEST_F(MainWindowTest, AnInstalledMenuFaceIsSelectedAsItIs) {
    if (!IsScreenFont(L"IPAGothic")) GTEST_SKIP() << "IPAGothic not installed";
    SetNonClientMetricsReader(MenuFontIsIpaGothic);
    frmMain& m = Open();
    const FontSpec& font = m.ControlFont()->Description();
    EXPECT_EQ(font.Name, L"IPAGothic");
    EXPECT_DOUBLE_EQ(font.Size, 16 * 72.0 / ScreenDpi());
    EXPECT_TRUE(font.Bold);
    EXPECT_EQ(font.Charset, SHIFTJIS_CHARSET);
    EXPECT_EQ(SelectedFace(m.cmbFont), L"IPAGothic");
}

TEST_F(MainWindowTest, FollowsAMenuFontChangedInTheSystem) {
    if (!IsScreenFont(L"IPAPGothic")) GTEST_SKIP() << "IPAPGothic not installed";
    NONCLIENTMETRICSW saved{};
    saved.cbSize = sizeof saved;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof saved, &saved, 0));
    NONCLIENTMETRICSW changed = saved;
    wcscpy(changed.lfMenuFont.lfFaceName, L"IPAPGothic");
    changed.lfMenuFont.lfHeight = -15;
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof changed, &changed, 0));

    frmMain& m = Open();
    const std::wstring face = m.ControlFont()->Description().Name;
    const double size = m.ControlFont()->Description().Size;
    const std::wstring selected = SelectedFace(m.cmbFont);
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof saved, &saved, 0);

    // Wine keeps the face under its Japanese name, which reaches us through
    // code page 932.
    EXPECT_TRUE(face == L"IPAPGothic" || face == L"IPA Pゴシック");
    EXPECT_DOUBLE_EQ(size, 15 * 72.0 / ScreenDpi());
    EXPECT_EQ(selected, face);
    EXPECT_EQ(RealizedFace(m.ControlFont()->Handle()), face);
}

BOOL WINAPI FailingReader(UINT, UINT, PVOID, UINT) { return FALSE; }

TEST_F(MainWindowTest, AFailedSystemCallFallsBackToTheGuiFont) {
    SetNonClientMetricsReader(FailingReader);
    frmMain& m = Open();
    EXPECT_EQ(m.ControlFont()->Description(), DefaultGuiFontSpec());
    EXPECT_FALSE(m.ControlFont()->Description().Name.empty());
    EXPECT_GT(m.ControlFont()->Description().Size, 0);
    EXPECT_FALSE(SelectedFace(m.cmbFont).empty());
}

TEST_F(MainWindowTest, NumberBoxesTakeOnlyDigitsBackspaceAndPoint) {
    frmMain& m = Open();
    for (HWND combo : {m.cmbTimes, m.cmbSize}) {
        HWND edit = EditOf(combo);
        SetWindowTextW(edit, L"");
        beeps = 0;
        Type(edit, L"1a2");
        EXPECT_EQ(WindowText(combo), L"12");
        EXPECT_EQ(beeps, 1);

        Type(edit, L"\b.5.");
        EXPECT_EQ(WindowText(combo), L"1.5.");
        beeps = 0;
        // Ctrl+V, a minus sign, a full-width digit, an input-method character.
        SendMessageW(edit, WM_CHAR, 22, 1);
        SendMessageW(edit, WM_CHAR, L'-', 1);
        SendMessageW(edit, WM_CHAR, 0xFF11, 1);
        SendMessageW(edit, WM_IME_CHAR, 0x3042, 1);
        EXPECT_EQ(WindowText(combo), L"1.5.");
        EXPECT_EQ(beeps, 4);
    }
    // The text box is not filtered.
    SetWindowTextW(m.txtString, L"");
    Type(m.txtString, L"a-b");
    EXPECT_EQ(WindowText(m.txtString), L"a-b");
}

TEST_F(MainWindowTest, TestRunsAndTheReportTakesTheTextBoxFont) {
    frmMain& m = Open();
    SetWindowTextW(m.cmbTimes, L"3");
    SendMessageW(m.cmdTest, BM_CLICK, 0, 0);
    ASSERT_TRUE(m.Report().IsOpen());
    ASSERT_TRUE(m.Canvas().IsOpen());
    EXPECT_EQ(GetWindow(m.Report().Handle(), GW_OWNER), m.Handle());
    EXPECT_EQ(SendMessageW(m.Report().txtReport(), WM_GETFONT, 0, 0), SendMessageW(m.txtString, WM_GETFONT, 0, 0));
    std::wstring report = WindowText(m.Report().txtReport());
    EXPECT_NE(report.find(L"試行時間: "), std::wstring::npos);
    EXPECT_EQ(report.substr(report.size() - 4), L"\r\n\r\n");
    EXPECT_EQ(m.Canvas().Font().Name, WindowText(m.cmbFont));
}

}  // namespace
