#include "benchmark/frmCanvas.h"

namespace {

constexpr int kClientWidthTwips = 6315, kClientHeightTwips = 1695;

}  // namespace

SIZE CanvasClientSize() {
    const int dpi = ScreenDpi();
    return {TwipsToPixels(kClientWidthTwips, dpi), TwipsToPixels(kClientHeightTwips, dpi)};
}

HDC SetUpText(HDC dc, const SharedFont& font, SharedFont& selected, bool opaque) {
    if (font != selected) {
        SelectObject(dc, font->Handle());
        selected = font;
        // Realise the font now, so its cost is not paid by the first timed call.
        TEXTMETRICW metrics;
        GetTextMetricsW(dc, &metrics);
    }
    SetBkColor(dc, frmCanvas::kBackColor);
    SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    return dc;
}

bool frmCanvas::Show(HWND owner) {
    if (!IsOpen()) {
        WindowOptions options;
        options.caption = L"レンダリング";
        options.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;
        options.clientWidthTwips = kClientWidthTwips;
        options.clientHeightTwips = kClientHeightTwips;
        options.owner = owner;
        // Nothing draws on the window's own DC but painting, so it needs no
        // DC of its own; the bitmap's DC keeps the drawing state.
        if (!CreateTopLevel(L"ExtTextOutBench.Canvas", options, CS_HREDRAW | CS_VREDRAW,
                            static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))))
            return false;
    }
    ShowModeless(hwnd_);
    return true;
}

HDC frmCanvas::Prepare(const SharedFont& font, bool opaque) {
    RECT client{};
    // A window that grew past a bitmap that could not follow: the run says so.
    if (!IsOpen() || !GetClientRect(hwnd_, &client) || !backing_.Cover(client.right, client.bottom, kBackColor))
        return nullptr;
    backing_.Clear(kBackColor);
    return SetUpText(backing_.dc(), font, font_, opaque);
}

void frmCanvas::Refresh() {
    if (!IsOpen()) return;
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
}

LRESULT frmCanvas::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_PRINTCLIENT: {
        RECT client{};
        GetClientRect(hwnd_, &client);
        backing_.Paint(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_DESTROY:
        OnDestroy();
        return 0;
    }
    return Default(message, wParam, lParam);
}

bool frmCanvas::OnCreate() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    return backing_.Cover(client.right, client.bottom, kBackColor);
}

void frmCanvas::OnSize(int width, int height) {
    // A bitmap that cannot grow keeps its picture; the next run says so.
    if (width > 0 && height > 0) backing_.Cover(width, height, kBackColor);
}

void frmCanvas::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    backing_.Paint(dc, ps.rcPaint);
    EndPaint(hwnd_, &ps);
}

void frmCanvas::OnDestroy() {
    // The next Show starts over with a fresh bitmap; the font goes once
    // the bitmap's DC no longer holds it.
    backing_.Release();
    font_.reset();
}
