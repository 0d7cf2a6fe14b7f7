#include "platform/Window.h"

#include "platform/Handles.h"

int ScreenDpi() {
    WindowDC screen(nullptr);
    int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}

void ShowModeless(HWND window) {
    if (!IsWindowVisible(window) || IsIconic(window)) ShowWindow(window, SW_SHOWNOACTIVATE);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

std::wstring WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = GetWindowTextW(window, text.data(), length + 1);
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}
