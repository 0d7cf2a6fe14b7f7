#include "benchmark/frmReport.h"

#include <windowsx.h>

#include "benchmark/ReportEntry.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"

bool frmReport::Show() {
    if (!IsOpen()) {
        WindowOptions options;
        options.caption = L"レポート";
        options.style = WS_OVERLAPPEDWINDOW;
        options.clientWidthTwips = 3795;
        options.clientHeightTwips = 3780;
        options.owner = owner_;
        if (!CreateTopLevel(L"ExtTextOutBench.Report", options, 0, GetSysColorBrush(COLOR_BTNFACE))) return false;
    }
    ShowModeless(hwnd_);
    return true;
}

void frmReport::AppendResult(double elapsedMs, std::int32_t count, const SharedFont& font) {
    if (!Show()) {
        ShowMessageBox(owner_, L"レポートウィンドウを作れなかったため、結果を記録できませんでした。",
                       MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // Setting a font lays out the whole text again; do it only when it changes.
    if (font != font_) {
        font_ = font;
        SetWindowFont(txtReport_, font_ ? font_->Handle() : nullptr, TRUE);
    }

    // Appending at the end, then showing the beginning, gives what replacing
    // the whole text gives, without copying and laying out every earlier
    // entry again on each run.
    const std::wstring entry = ReportEntryText(NowGeneralDateText(), elapsedMs, count, UserNumberSeparators());
    const int end = GetWindowTextLengthW(txtReport_);
    Edit_SetSel(txtReport_, end, end);
    Edit_ReplaceSel(txtReport_, entry.c_str());
    Edit_SetSel(txtReport_, 0, 0);
    Edit_ScrollCaret(txtReport_);
}

LRESULT frmReport::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return Form_Load() ? 0 : -1;
    case WM_SIZE:
        Form_Resize();
        return 0;
    case WM_CTLCOLORSTATIC:  // a read-only edit asks here for its colours
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));  // system-owned
    case WM_SETFOCUS:
        SetFocus(txtReport_);
        return 0;
    case WM_DESTROY:
        Form_Unload();
        return 0;
    }
    return Default(message, wParam, lParam);
}

bool frmReport::Form_Load() {
    const int dpi = ScreenDpi();
    txtReport_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
                                     ES_AUTOVSCROLL | ES_LEFT,
                                 0, 0, TwipsToPixels(3135, dpi), TwipsToPixels(2475, dpi),
                                 hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    // The default limit (about 32,000 characters) would silently stop
    // appending after a few hundred runs.
    if (!txtReport_) return false;
    Edit_LimitText(txtReport_, 0);
    return true;
}

void frmReport::Form_Resize() {
    // A minimized window has no client area to fill; nothing to do then.
    RECT client{};
    if (!txtReport_ || !GetClientRect(hwnd_, &client) || IsIconic(hwnd_)) return;
    MoveWindow(txtReport_, 0, 0, client.right, client.bottom, TRUE);
}

void frmReport::Form_Unload() {
    txtReport_ = nullptr;
    font_.reset();
}
