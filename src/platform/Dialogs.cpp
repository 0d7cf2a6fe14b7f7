#include "platform/Dialogs.h"

#include <utility>

namespace {
const wchar_t kProgramTitle[] = L"ExtTextOutBench";
MessageBoxHook g_messageBoxHook;
}  // namespace

int ShowMessageBox(HWND owner, const std::wstring& text, UINT type) {
    if (g_messageBoxHook) return g_messageBoxHook(owner, text, type);
    return MessageBoxW(owner, text.c_str(), kProgramTitle, type);
}

void SetMessageBoxHook(MessageBoxHook hook) { g_messageBoxHook = std::move(hook); }

void ProcessPendingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the main loop
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
