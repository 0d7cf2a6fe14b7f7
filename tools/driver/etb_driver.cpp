// Drives ExtTextOutBench.exe from outside for scripts: a demonstration run
// on a headless display, closing it again, and start-up timing.
#include <windows.h>

#include <cstdio>
#include <string>

#include "AppDriver.h"

using namespace e2e;

namespace {

void Print(const std::wstring& text, DWORD stream = STD_OUTPUT_HANDLE) {
    HANDLE out = GetStdHandle(stream);
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    // A pipe or a file gets UTF-8 with the report's own line ends turned into LF.
    std::wstring lf;
    for (wchar_t c : text)
        if (c != L'\r') lf += c;
    const std::string bytes = Utf8(lf);
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// Main window top left, the report to its right, the canvas below both;
// returns the area they cover, with a margin.
RECT LayOut(const RunningApp& app) {
    constexpr int kGap = 8;
    RECT m{}, r{}, c{}, all{};
    GetWindowRect(app.Main(), &m);
    SetWindowPos(app.Report(), nullptr, m.right + kGap, m.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(app.Report(), &r);
    SetWindowPos(app.Canvas(), nullptr, m.left, (m.bottom > r.bottom ? m.bottom : r.bottom) + kGap, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(app.Canvas(), &c);
    for (HWND window : {app.Main(), app.Report(), app.Canvas()})
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    app.Settle();
    UnionRect(&all, &m, &r);
    UnionRect(&all, &all, &c);
    InflateRect(&all, kGap, kGap);
    return all;
}

int Demo(const std::wstring& exe) {
    RunningApp app(exe);
    if (!app.Started()) return Print(L"etb_driver: cannot start " + exe + L"\n"), 1;
    SetWindowPos(app.Main(), nullptr, 8, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    app.Press(VK_RETURN);  // Test is the default button
    if (!WaitUntil([&] { return app.ReportEntries() == 1; })) return Print(L"etb_driver: no report after the run\n"), 1;
    SetForegroundWindow(app.Main());
    const RECT area = LayOut(app);
    Print(app.ReportText());
    // For cropping a screenshot: ImageMagick's geometry.
    wchar_t geometry[64];
    swprintf(geometry, 64, L"windows: %ldx%ld+%ld+%ld\n", area.right - area.left, area.bottom - area.top, area.left > 0 ? area.left : 0L,
             area.top > 0 ? area.top : 0L);
    Print(geometry, STD_ERROR_HANDLE);
    app.Detach();
    return 0;
}

int Close() {
    HWND main = FindWindowW(nullptr, kMainCaption);
    if (!main) {
        Print(L"etb_driver: the program is not running\n");
        return 1;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(main, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD code = 1;
    const bool ended = process && WaitForSingleObject(process, 10000) == WAIT_OBJECT_0 && GetExitCodeProcess(process, &code);
    if (process) CloseHandle(process);
    if (!ended) {
        Print(L"etb_driver: the program did not end\n");
        return 1;
    }
    return static_cast<int>(code);
}

// Any program, so that the start-up benchmark can time a bare window the
// same way: milliseconds from CreateProcess to its first visible top-level
// window answering a message, or a negative figure when there is none.
// Closes that window afterwards.
double TimeStart(const std::wstring& exe) {
    std::wstring commandLine = L"\"" + DosPath(exe) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const double start = NowMs();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    CloseHandle(info.hThread);
    // Idle first, so that polling does not compete with the start itself.
    WaitForInputIdle(info.hProcess, 15000);
    HWND found = nullptr;
    DWORD_PTR answer = 0;
    const bool answered = WaitUntil([&] {
        found = FindTopLevel(info.dwProcessId, nullptr, nullptr);
        return (found && SendMessageTimeoutW(found, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &answer)) ||
               WaitForSingleObject(info.hProcess, 0) != WAIT_TIMEOUT;
    }, 15000) && found;
    const double elapsed = NowMs() - start;

    if (answered) PostMessageW(found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    return answered ? elapsed : -1;
}

// One start of each program, back to back, so that a pair meets the same load.
int Startup(int count, wchar_t** exes) {
    std::wstring line;
    for (int i = 0; i < count; ++i) {
        const double elapsed = TimeStart(exes[i]);
        if (elapsed < 0) {
            Print(L"etb_driver: no window from " + std::wstring(exes[i]) + L"\n", STD_ERROR_HANDLE);
            return 1;
        }
        wchar_t figure[32];
        swprintf(figure, 32, L"%.1f", elapsed);
        line += (i ? L" " : L"") + std::wstring(figure);
    }
    Print(line + L"\n");
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"demo" && argc == 3) return Demo(argv[2]);
    if (command == L"close" && argc == 2) return Close();
    if (command == L"startup" && argc >= 3) return Startup(argc - 2, argv + 2);
    if (command == L"menu" && argc == 3) {
        // The system menu, as Alt+Space opens it: its symbols come from Wine's own fonts.
        HWND window = FindWindowW(nullptr, argv[2]);
        return window && PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, L' ') ? 0 : 1;
    }
    Print(L"usage: etb_driver demo <ExtTextOutBench.exe>   one run with the default settings: prints the report, lays the windows\n"
          L"                                               out side by side and leaves them open\n"
          L"       etb_driver close                        closes the running program; exits with its exit code\n"
          L"       etb_driver menu <caption>               opens that window's system menu\n"
          L"       etb_driver startup <program.exe>...      starts each in turn; prints the milliseconds from start to its\n"
          L"                                               first visible window answering a message\n");
    return 2;
}
