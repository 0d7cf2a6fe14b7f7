#include "WindowTest.h"

#include "platform/Dialogs.h"

int GdiHandleHeadroom() {
    std::vector<HRGN> regions;
    while (regions.size() < 200000)
        if (HRGN region = CreateRectRgn(0, 0, 1, 1)) regions.push_back(region);
        else break;
    for (HRGN region : regions) DeleteObject(region);
    return static_cast<int>(regions.size());
}

std::vector<DWORD> Pixels(HDC dc, int width, int height) {
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP copy = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ previous = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
    GetDIBits(memory, copy, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(copy);
    DeleteDC(memory);
    for (DWORD& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

int Inked(const std::vector<DWORD>& pixels) {
    int inked = 0;
    for (DWORD p : pixels) inked += p != 0xFFFFFF;
    return inked;
}

static BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
    wchar_t cls[64] = L"";
    GetClassNameW(window, cls, static_cast<int>(std::size(cls)));
    if (lstrcmpiW(cls, L"ComboLBox") != 0 && lstrcmpiW(cls, L"IME") != 0) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int ThreadWindows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

bool DispatchPending() {
    bool quit = false;
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
        quit |= msg.message == WM_QUIT;
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return quit;
}

void WindowTest::SetUp() {
    SetMessageBoxHook([this](HWND, const std::wstring& text, UINT) {
        messages.push_back(text);
        return IDOK;
    });
}

void WindowTest::TearDown() { SetMessageBoxHook(nullptr); }
