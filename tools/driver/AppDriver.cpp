#include "AppDriver.h"

#include <cwctype>
#include <string>

namespace e2e {

namespace {

// Long enough for a run with a long text; the process is checked while waiting.
constexpr DWORD kReplyTimeoutMs = 60000;

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kReplyTimeoutMs, &result)) return 0;
    return static_cast<LRESULT>(result);
}

struct TopLevelQuery {
    DWORD processId;
    const wchar_t* caption;  // nullptr: any
    HWND owner;              // nullptr: any
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM context) {
    auto* query = reinterpret_cast<TopLevelQuery*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    // Top-level captions live outside the process: no message is sent here.
    wchar_t caption[128] = L"";
    GetWindowTextW(window, caption, static_cast<int>(std::size(caption)));
    if (processId != query->processId || !IsWindowVisible(window) || (query->caption && std::wstring(caption) != query->caption) ||
        (query->owner && GetWindow(window, GW_OWNER) != query->owner))
        return TRUE;
    query->found = window;
    return FALSE;
}

// Key message lParam: repeat count 1, scan code, context (Alt) and transition bits.
LPARAM KeyData(WORD vk, bool alt, bool up) {
    LPARAM data = 1 | (static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16);
    if (alt) data |= LPARAM(1) << 29;
    if (up) data |= (LPARAM(1) << 30) | (LPARAM(1) << 31);
    return data;
}

}  // namespace

double NowMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HWND FindTopLevel(DWORD processId, const wchar_t* caption, HWND owner) {
    TopLevelQuery query{processId, caption, owner, nullptr};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

bool WaitUntil(const std::function<bool()>& ready, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (ready()) return true;
        if (GetTickCount64() > deadline) return false;
        Sleep(1);
    }
}

std::string Utf8(const std::wstring& text) {
    std::string bytes(text.size() * 3, '\0');
    const int size = static_cast<int>(text.size());
    bytes.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), size, bytes.data(), size * 3, nullptr, nullptr)));
    return bytes;
}

std::wstring DosPath(const std::wstring& path) {
    using ToDos = WCHAR*(CDECL*)(const char*);
    auto toDos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    WCHAR* dos = path.empty() || path[0] != L'/' || !toDos ? nullptr : toDos(Utf8(path).c_str());
    if (!dos) return path;
    std::wstring result = dos;
    HeapFree(GetProcessHeap(), 0, dos);
    return result;
}

std::wstring TextOf(HWND window) {
    const LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

RunningApp::RunningApp(const std::wstring& exePath) {
    const std::wstring path = DosPath(exePath);
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return;
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    CloseHandle(info.hThread);

    WaitForInputIdle(process_, 15000);
    HWND main = nullptr;
    if (!WaitUntil([&] { return (main = TopLevel(kMainCaption)) != nullptr || !Alive(); }, 15000) || !main) return;
    threadId_ = GetWindowThreadProcessId(main, nullptr);

    // Tab order is the children's z-order.
    HWND child = GetWindow(main, GW_CHILD);
    for (int i = 0; i < kControlCount && child; ++i, child = GetWindow(child, GW_HWNDNEXT)) controls_[i] = child;
    if (!controls_[kControlCount - 1]) return;

    Send(main, WM_NULL, 0, 0);
    main_ = lastActive_ = main;
}

RunningApp::~RunningApp() {
    if (!process_) return;
    if (Alive()) TerminateProcess(process_, 1), WaitForSingleObject(process_, 10000);
    CloseHandle(process_);
}

void RunningApp::Detach() { process_ = process_ ? (CloseHandle(process_), nullptr) : nullptr; }

bool RunningApp::Alive() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool RunningApp::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    return WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0 && (!exitCode || GetExitCodeProcess(process_, exitCode));
}

HWND RunningApp::TopLevel(const wchar_t* caption) const { return FindTopLevel(processId_, caption, nullptr); }

std::wstring RunningApp::ReportText() const {
    HWND box = Report() ? FindWindowExW(Report(), nullptr, L"Edit", nullptr) : nullptr;
    return box ? TextOf(box) : std::wstring();
}

int RunningApp::ReportEntries() const {
    const std::wstring text = ReportText();
    int count = 0;
    for (size_t at = text.find(L"試行時間: "); at != std::wstring::npos; at = text.find(L"試行時間: ", at + 1)) ++count;
    return count;
}

HWND RunningApp::EditOf(Control combo) const { return FindWindowExW(controls_[combo], nullptr, L"Edit", nullptr); }

HWND RunningApp::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return !GetGUIThreadInfo(threadId_, &info) ? nullptr : info.hwndFocus ? info.hwndFocus : info.hwndActive;
}

Control RunningApp::FocusedControl() const {
    HWND focus = Focus();
    for (int i = 0; i < kControlCount; ++i)
        if (focus && (focus == controls_[i] || GetParent(focus) == controls_[i])) return static_cast<Control>(i);
    return kControlCount;
}

void RunningApp::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
    HWND target = Focus();
    if (target) {
        lastActive_ = GetAncestor(target, GA_ROOT);
    } else if (lastActive_ && IsWindow(lastActive_)) {
        // Without a window manager a late X focus event can leave none of
        // the program's windows active; a user would click the window again.
        SetForegroundWindow(lastActive_);
        WaitUntil([&] { return (target = Focus()) != nullptr || !Alive(); }, 5000);
    }
    if (target) PostMessageW(target, message, wParam, lParam);
}

void RunningApp::Activate() {
    SetForegroundWindow(main_), Settle();
    WaitUntil([&] { return FocusedControl() != kControlCount; }, 5000);
}

void RunningApp::ActivateAnotherWindowAndBack() {
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    WaitUntil([&] { return FocusedControl() == kControlCount; }, 5000);
    DestroyWindow(other), Activate();  // in this order: destroying an active window moves the activation
}

void RunningApp::ShiftTab() {
    INPUT keys[4] = {{INPUT_KEYBOARD, {}}, {INPUT_KEYBOARD, {}}, {INPUT_KEYBOARD, {}}, {INPUT_KEYBOARD, {}}};
    for (int i = 0; i < 4; ++i) keys[i].ki.wVk = i % 3 ? VK_TAB : VK_SHIFT, keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    SendInput(4, keys, sizeof(INPUT));
}

void RunningApp::PressBeside(Control button) {
    PostMessageW(controls_[button], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageW(controls_[button], WM_LBUTTONUP, 0, MAKELPARAM(-20, -20));
    Settle();
}

void RunningApp::Press(WORD vk) {
    Post(WM_KEYDOWN, vk, KeyData(vk, false, false)), Settle();
    // The key comes up wherever the focus went.
    Post(WM_KEYUP, vk, KeyData(vk, false, true)), Settle();
}

void RunningApp::Alt(wchar_t letter) {
    const WORD vk = static_cast<WORD>(std::towupper(letter));
    Post(WM_SYSKEYDOWN, VK_MENU, KeyData(VK_MENU, true, false));
    Post(WM_SYSKEYDOWN, vk, KeyData(vk, true, false));
    Settle();
    Post(WM_SYSKEYUP, vk, KeyData(vk, true, true));
    Post(WM_KEYUP, VK_MENU, KeyData(VK_MENU, false, true));
    Settle();
}

void RunningApp::Type(const std::wstring& text) {
    for (wchar_t c : text) {
        // An unshifted key is pressed, so that the program's TranslateMessage
        // makes the character; otherwise what a shifted key or an input method delivers.
        const SHORT key = VkKeyScanW(c);
        if (key != -1 && HIBYTE(key) == 0) Press(LOBYTE(key));
        else Post(WM_CHAR, c, 1), Settle();
    }
}

void RunningApp::Click(Control button) { PostMessageW(controls_[button], BM_CLICK, 0, 0), Settle(); }

void RunningApp::Paste(HWND edit, const std::wstring& text) {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        memcpy(GlobalLock(data), text.c_str(), bytes);
        GlobalUnlock(data);
        if (!SetClipboardData(CF_UNICODETEXT, data)) GlobalFree(data);
    }
    CloseClipboard();
    Send(edit, EM_SETSEL, 0, -1), Send(edit, WM_PASTE, 0, 0), Settle();
}

void RunningApp::Barrier() const {
    // Posted messages are handled in order: once this marker is stored, all
    // posted before it have been handled.
    const LONG_PTR marker = ++barrier_;
    PostMessageW(controls_[cmbTimes], CB_SETITEMDATA, 0, marker);
    WaitUntil([&] { return Send(controls_[cmbTimes], CB_GETITEMDATA, 0, 0) == marker || !Alive(); }, kReplyTimeoutMs);
}

void RunningApp::Settle() const {
    // Twice: characters that TranslateMessage posts while handling the keys
    // land behind the first marker.
    if (main_ && Alive()) Barrier(), Barrier();
}

// Owned by the main window: the main window's own caption is another.
HWND RunningApp::FindMessageBox() const { return FindTopLevel(processId_, kMessageBoxCaption, main_); }

std::wstring RunningApp::MessageBoxText(HWND box) const {
    // The message is the static control with id 0xFFFF (the icon has another).
    return GetDlgItem(box, 0xFFFF) ? TextOf(GetDlgItem(box, 0xFFFF)) : std::wstring();
}

bool RunningApp::Dismiss(HWND box) { return Press(VK_RETURN), WaitUntil([&] { return !IsWindow(box); }); }

}  // namespace e2e
