#include "WindowTest.h"

#include "platform/Dialogs.h"

int GdiHandleHeadroom() {
    std::vector<HRGN> regions;
    for (HRGN region; regions.size() < 200000 && (region = CreateRectRgn(0, 0, 1, 1));) regions.push_back(region);
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
    return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [](DWORD p) { return p != 0xFFFFFF; }));
}

static BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
    wchar_t cls[64] = L"";
    GetClassNameW(window, cls, 64);
    return *reinterpret_cast<int*>(count) += lstrcmpiW(cls, L"ComboLBox") && lstrcmpiW(cls, L"IME"), TRUE;
}

int ThreadWindows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

void WindowTest::SetUp() {
    SetMessageBoxHook([this](HWND, const std::wstring& text, UINT) { return messages.push_back(text), IDOK; });
}

void WindowTest::TearDown() {
    main.reset();
    DispatchPending();
    SetMessageBoxHook(nullptr);
}

void WindowTest::Open() {
    main = std::make_unique<frmMain>();
    ASSERT_TRUE(main->Create());
    ShowWindow(main->Handle(), SW_SHOWNORMAL);
    HWND child = GetWindow(main->Handle(), GW_CHILD);
    for (HWND& control : controls) control = child, child = GetWindow(child, GW_HWNDNEXT);
}

void WindowTest::DispatchPending() {
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
        quit |= msg.message == WM_QUIT;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
