#include "ui/frmMain.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "benchmark/Run.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "ui/KeyFilter.h"

namespace {

// Rows of a combo box's drop-down list.
constexpr int kDropDownRows = 8;

enum class Kind { Label, TextBox, ComboEdit, ComboList, CheckBox, Button, DefaultButton };

HWND ComboEditOf(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    return GetComboBoxInfo(combo, &info) ? info.hwndItem : nullptr;
}

}  // namespace

struct frmMain::ControlLayout {
    HWND frmMain::*field;
    Kind kind;
    const wchar_t* caption;
    int left, top, width, height;  // twips
    int id;
};

// In tab order, which is also creation order.
const frmMain::ControlLayout frmMain::kControls[] = {
    {&frmMain::lblString, Kind::Label, L"文字列(&S):", 180, 240, 795, 180, 100},
    {&frmMain::txtString, Kind::TextBox, L"", 1260, 180, 3255, 315, 101},
    {&frmMain::lblTimes, Kind::Label, L"試行回数(&T):", 180, 660, 975, 180, 102},
    {&frmMain::cmbTimes, Kind::ComboEdit, L"", 1260, 600, 1275, 300, 103},
    {&frmMain::lblFace, Kind::Label, L"書体(&F):", 180, 1080, 615, 180, 104},
    {&frmMain::cmbFont, Kind::ComboList, L"", 1260, 1020, 2175, 300, 105},
    {&frmMain::lblSize, Kind::Label, L"サイズ(&H)", 180, 1500, 750, 180, 106},
    {&frmMain::cmbSize, Kind::ComboEdit, L"", 1260, 1440, 1275, 300, 107},
    {&frmMain::chkBold, Kind::CheckBox, L"太字", 2700, 1440, 855, 315, 108},
    {&frmMain::chkItalic, Kind::CheckBox, L"斜体", 3720, 1440, 795, 315, 109},
    {&frmMain::cmdTest, Kind::DefaultButton, L"テスト(&G)", 1380, 1920, 1395, 375, IDOK},
    {&frmMain::cmdExit, Kind::Button, L"終了(&X)", 2940, 1920, 1395, 375, IDCANCEL},
    {&frmMain::chkOpaque, Kind::CheckBox, L"OPAQUE", 2700, 660, 1275, 255, 112},
};

bool frmMain::Create() {
    WindowOptions options;
    options.caption = L"ExtTextOut() benchmark in Korvan";
    options.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME;
    options.exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
    options.clientWidthTwips = 4680;
    options.clientHeightTwips = 2550;
    options.dialog = true;
    if (!CreateTopLevel(L"ExtTextOutBench.Main", options, 0, GetSysColorBrush(COLOR_BTNFACE))) return false;
    // Showing gives the dialog manager's first focus, the text box with its
    // text selected; it opens showing the text from its start instead.
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetFocus(txtString);
    Edit_SetSel(txtString, 0, 0);
    return true;
}

bool frmMain::PreTranslate(MSG& msg) { return IsOpen() && IsDialogMessageW(hwnd_, &msg); }

RunSettings frmMain::CurrentSettings() const {
    return {WindowText(txtString), WindowText(cmbTimes), WindowText(cmbFont), WindowText(cmbSize),
            Button_GetCheck(chkBold), Button_GetCheck(chkItalic), Button_GetCheck(chkOpaque)};
}

LRESULT frmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return Form_Load() ? 0 : -1;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_CLOSE:
        Form_Unload();
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return Default(message, wParam, lParam);
}

void frmMain::OnCommand(int id, HWND control, UINT code) {
    switch (code) {
    case CBN_SETFOCUS:
        // The dialog manager selects an edit box's text when it moves the
        // focus there, but not a combo box's.
        if (control == cmbTimes || control == cmbSize) ComboBox_SetEditSel(control, 0, -1);
        [[fallthrough]];
    case EN_SETFOCUS:
        ShowDefaultButton();
        return;
    }
    // A click, or a command with no control behind it (Enter, Esc).
    if (code != BN_CLICKED && control) return;
    if (id == IDOK) cmdTest_Click();
    else if (id == IDCANCEL) cmdExit_Click();
}

bool frmMain::Form_Load() {
    report_.SetOwner(hwnd_);
    // The font before the controls, so that each is made with it and each
    // label at its fitted size: under Wine every later resize costs a frame
    // recalculation that reads all the system's metrics fonts again.
    font_ = MakeFont(SystemMenuFont());
    if (!CreateControls()) return false;
    FillLists();
    return true;
}

bool frmMain::CreateControls() {
    const int dpi = ScreenDpi();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WindowDC dc(hwnd_);
    SelectGuard select(dc.get(), font_->Handle());
    for (const ControlLayout& c : kControls) {
        const wchar_t* cls = L"STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD exStyle = 0;
        int width = TwipsToPixels(c.width, dpi);
        int height = TwipsToPixels(c.height, dpi);
        RECT extent{};
        switch (c.kind) {
        case Kind::Label:  // as wide and high as its caption in the font
            style |= SS_LEFT;
            DrawTextW(dc.get(), c.caption, -1, &extent, DT_CALCRECT | DT_SINGLELINE);
            width = extent.right;
            height = extent.bottom;
            break;
        case Kind::TextBox:
            cls = L"EDIT";
            style |= WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case Kind::ComboEdit:
        case Kind::ComboList:
            cls = L"COMBOBOX";
            style |= WS_TABSTOP | WS_VSCROLL |
                     (c.kind == Kind::ComboEdit ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST | CBS_SORT);
            height += kDropDownRows * height;
            break;
        case Kind::CheckBox:
            cls = L"BUTTON";
            style |= WS_TABSTOP | BS_AUTOCHECKBOX;
            break;
        case Kind::Button:
        case Kind::DefaultButton:
            cls = L"BUTTON";
            style |= WS_TABSTOP | (c.kind == Kind::DefaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
        }
        HWND control = CreateWindowExW(exStyle, cls, c.caption, style, TwipsToPixels(c.left, dpi),
                                       TwipsToPixels(c.top, dpi), width, height, hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
        if (!control) return false;
        SetWindowFont(control, font_->Handle(), TRUE);
        this->*c.field = control;
    }
    // A text the user gives is measured whole, however long.
    Edit_LimitText(txtString, 0);
    // Buttons tell nobody when they take the focus (BS_NOTIFY would also
    // turn a double click into one click); the text and combo boxes do.
    for (HWND button : {chkBold, chkItalic, cmdTest, cmdExit, chkOpaque})
        if (!SetWindowSubclass(button, Button_GotFocus, 1, reinterpret_cast<DWORD_PTR>(this))) return false;
    return SetWindowSubclass(ComboEditOf(cmbTimes), NumberBox_KeyPress, 1, 0) &&
           SetWindowSubclass(ComboEditOf(cmbSize), NumberBox_KeyPress, 1, 0);
}

void frmMain::FillLists() {
    SetWindowTextW(txtString, std::wstring(std::begin(kDefaultText), std::end(kDefaultText) - 1).c_str());
    for (int i = 1; i <= 100; ++i) ComboBox_AddString(cmbTimes, std::to_wstring(i).c_str());
    SetWindowTextW(cmbTimes, L"10");

    // Only faces a run accepts; the default one is added when the list
    // knows it by another name (Wine lists "IPAGothic" as "IPAゴシック").
    for (const std::wstring& face : ScreenFontNames()) ComboBox_AddString(cmbFont, face.c_str());
    const std::wstring face = DefaultFace(*font_);
    int index = ComboBox_FindStringExact(cmbFont, -1, face.c_str());
    if (index == CB_ERR) index = ComboBox_AddString(cmbFont, face.c_str());
    ComboBox_SetCurSel(cmbFont, index);

    for (int size = 7; size <= 18; ++size) ComboBox_AddString(cmbSize, std::to_wstring(size).c_str());
    SetWindowTextW(cmbSize, std::to_wstring(static_cast<int>(kDefaultSize)).c_str());
}

void frmMain::cmdTest_Click() {
    const auto read = ReadRunSettings(CurrentSettings(), UserNumberSeparators().Thousand, IsScreenFont);
    if (const Refusal* refusal = std::get_if<Refusal>(&read)) {
        ShowMessageBox(hwnd_, refusal->Message, MB_OK | MB_ICONEXCLAMATION);
        // The dialog manager's move: the text selected, so typing replaces it.
        HWND box = refusal->Field == RunField::Count ? cmbTimes : refusal->Field == RunField::Face ? cmbFont : cmbSize;
        SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
        return;
    }
    const RunRequest& request = std::get<RunRequest>(read);
    if (const std::optional<double> elapsed = RunBenchmark(hwnd_, canvas_, request))
        report_.AppendResult(*elapsed, request.Count, font_);
    else
        ShowMessageBox(hwnd_, L"描画用のウィンドウまたはビットマップを作れませんでした。\r\n測定は行っていません。",
                       MB_OK | MB_ICONEXCLAMATION);
}

// As a dialog shows it: a push button with the focus is the default while
// it has it; otherwise Test is. The dialog manager sees to it for the moves
// it makes itself; Wine's does not when a click moves the focus.
void frmMain::ShowDefaultButton() {
    HWND focus = GetFocus();
    if (!focus || !IsChild(hwnd_, focus)) return;
    for (HWND button : {cmdTest, cmdExit}) {
        const bool isDefault = button == (focus == cmdExit ? cmdExit : cmdTest);
        const DWORD style = GetWindowStyle(button);
        const DWORD type = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if ((style & BS_TYPEMASK) != type) Button_SetStyle(button, (style & ~BS_TYPEMASK) | type, TRUE);
    }
}

void frmMain::cmdExit_Click() { SendMessageW(hwnd_, WM_CLOSE, 0, 0); }

void frmMain::Form_Unload() {
    // Closing is never refused; a window that was never opened is skipped.
    report_.Close();
    canvas_.Close();
}

LRESULT CALLBACK frmMain::NumberBox_KeyPress(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if ((message == WM_CHAR || message == WM_IME_CHAR) && !IsAcceptedNumericKey(static_cast<unsigned>(wParam))) {
        MessageBeep(MB_OK);
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, NumberBox_KeyPress, 1);
    return DefSubclassProc(edit, message, wParam, lParam);
}

LRESULT CALLBACK frmMain::Button_GotFocus(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR form) {
    const LRESULT result = DefSubclassProc(button, message, wParam, lParam);
    if (message == WM_SETFOCUS) reinterpret_cast<frmMain*>(form)->ShowDefaultButton();
    if (message == WM_NCDESTROY) RemoveWindowSubclass(button, Button_GotFocus, 1);
    return result;
}
