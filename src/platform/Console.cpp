#include "platform/Console.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "platform/Text.h"

namespace {

std::atomic<bool> g_interrupted{false};

BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    g_interrupted = true;
    return TRUE;
}

// A real console gets UTF-16 through WriteConsoleW, which shows every face
// name whatever the console's code page; a pipe or a file gets UTF-8.
void Write(DWORD stream, const std::string& utf8) {
    HANDLE handle = GetStdHandle(stream);
    DWORD mode = 0, written = 0;
    if (!GetConsoleMode(handle, &mode)) {
        WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
        return;
    }
    const std::wstring wide = FromUtf8(utf8);
    constexpr size_t kChunk = 8192;  // older consoles refuse very long writes
    for (size_t at = 0; at < wide.size(); at += kChunk)
        WriteConsoleW(handle, wide.data() + at, static_cast<DWORD>(std::min(kChunk, wide.size() - at)), &written,
                      nullptr);
}

}  // namespace

void WriteStdout(const std::string& utf8) { Write(STD_OUTPUT_HANDLE, utf8); }
void WriteStderr(const std::string& utf8) { Write(STD_ERROR_HANDLE, utf8); }

bool StderrIsConsole() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

void CatchInterrupt() { SetConsoleCtrlHandler(OnConsoleControl, TRUE); }
bool InterruptRequested() { return g_interrupted; }
