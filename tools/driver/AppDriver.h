#pragma once
#include <windows.h>

#include <functional>
#include <string>

// Drives a running ExtTextOutBench.exe from another process, the way a user
// meets it: windows found by caption, controls by tab order, keys pressed
// on whatever control has the focus.
namespace e2e {

inline constexpr wchar_t kMainCaption[] = L"ExtTextOut() benchmark in Korvan";
inline constexpr wchar_t kCanvasCaption[] = L"レンダリング";
inline constexpr wchar_t kReportCaption[] = L"レポート";
inline constexpr wchar_t kMessageBoxCaption[] = L"ExtTextOutBench";

// The main window's children in tab order.
enum Control {
    lblString, txtString, lblTimes, cmbTimes, lblFace, cmbFont, lblSize, cmbSize,
    chkBold, chkItalic, cmdTest, cmdExit, chkOpaque, kControlCount
};

// Polls until ready() holds or the time is up.
bool WaitUntil(const std::function<bool()>& ready, DWORD timeoutMs = 10000);

// A path as CreateProcess takes it: Unix paths (tests built on Linux and
// run under Wine) become DOS paths.
std::wstring DosPath(const std::wstring& path);

std::string Utf8(const std::wstring& text);

double NowMs();
// A visible top-level window of that process with that caption (nullptr:
// any) and owner (nullptr: any), or nullptr.
HWND FindTopLevel(DWORD processId, const wchar_t* caption, HWND owner);

// Text of any window, also one in another process (WM_GETTEXT is marshalled).
std::wstring TextOf(HWND window);

class RunningApp {
public:
    // Starts the program and waits until its main window takes input.
    explicit RunningApp(const std::wstring& exePath);
    ~RunningApp();  // ends a process that is still running
    RunningApp(const RunningApp&) = delete;
    RunningApp& operator=(const RunningApp&) = delete;

    bool Started() const { return main_ != nullptr; }
    // Leaves the program running when this object goes.
    void Detach();
    bool Alive() const;
    // Waits for the process to end; false if it did not in time.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);

    HWND Main() const { return main_; }
    // This process's visible top-level window with that caption, or nullptr.
    HWND TopLevel(const wchar_t* caption) const;
    HWND Canvas() const { return TopLevel(kCanvasCaption); }
    HWND Report() const { return TopLevel(kReportCaption); }
    std::wstring ReportText() const;
    int ReportEntries() const;

    HWND Get(Control control) const { return controls_[control]; }
    // The edit box inside a drop-down combo box.
    HWND EditOf(Control combo) const;
    // The focused window of the program, or its active window when nothing has the focus.
    HWND Focus() const;
    // The control that has the focus (the combo box for its edit), or kControlCount.
    Control FocusedControl() const;

    // Makes the main window the active one, as a click on its title bar would.
    void Activate();
    // Another program's window takes the activation, then the main window again.
    void ActivateAnotherWindowAndBack();

    // Keys go to the focused control, each followed by Settle().
    void Press(WORD vk);
    // Shift must be down in the program's key state, so this goes in as input.
    void ShiftTab();
    void Alt(wchar_t letter);
    void Type(const std::wstring& text);
    // Clicks a button (BM_CLICK) and waits for what it started to finish.
    void Click(Control button);
    // Pressed on the button, released beside it: the focus moves, nothing is clicked.
    void PressBeside(Control button);
    // Empties an edit box and pastes text into it through the clipboard.
    void Paste(HWND edit, const std::wstring& text);
    // Returns once the program has handled every message sent or posted so
    // far, including the characters its TranslateMessage made of them.
    void Settle() const;

    // The program's message box, if one is open.
    HWND FindMessageBox() const;
    std::wstring MessageBoxText(HWND box) const;
    // Presses Enter on the box and waits for it to go.
    bool Dismiss(HWND box);

private:
    void Post(UINT message, WPARAM wParam, LPARAM lParam) const;
    void Barrier() const;

    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    HWND main_ = nullptr;
    HWND controls_[kControlCount] = {};
    mutable LONG_PTR barrier_ = 0;
    mutable HWND lastActive_ = nullptr;  // the top-level window that last had the focus
};

}  // namespace e2e
