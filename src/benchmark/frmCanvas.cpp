#include "benchmark/frmCanvas.h"

#include <utility>

namespace {
constexpr int kClientWidthTwips = 6315;
constexpr int kClientHeightTwips = 1695;
}  // namespace

bool frmCanvas::Show(HWND owner) {
    if (!IsOpen()) {
        WindowOptions options;
        options.caption = L"レンダリング";
        options.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;
        options.clientWidthTwips = kClientWidthTwips;
        options.clientHeightTwips = kClientHeightTwips;
        options.owner = owner;
        // CS_OWNDC: the window's own DC keeps font and colours between calls.
        if (!CreateTopLevel(L"ExtTextOutBench.Canvas", options, CS_OWNDC | CS_HREDRAW | CS_VREDRAW)) return false;
    }
    ShowModeless(hwnd_);
    return true;
}

void frmCanvas::Close() {
    if (IsOpen()) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void frmCanvas::SetFont(const FontSpec& font) {
    if (font == font_->Description()) return;
    // The old font stays alive until no DC has it selected any more.
    SharedFont previous = std::exchange(font_, MakeFont(font));
    if (backing_.exists()) ApplyDrawingState(backing_.dc());
    if (IsOpen()) ApplyDrawingState(GetDC(hwnd_));
}

bool frmCanvas::SetAutoRedraw(bool on) {
    autoRedraw_ = on;
    if (!on || !IsOpen()) return true;
    RECT client{};
    GetClientRect(hwnd_, &client);
    const bool fresh = !backing_.exists();
    if (!backing_.Cover(client.right, client.bottom, kBackColor)) {
        autoRedraw_ = backing_.exists();  // without any bitmap, paint as without AutoRedraw
        return false;
    }
    if (fresh) ApplyDrawingState(backing_.dc());
    return true;
}

void frmCanvas::Cls() {
    if (autoRedraw_) backing_.Clear(kBackColor);
    if (IsOpen()) InvalidateRect(hwnd_, nullptr, TRUE);
}

void frmCanvas::SetFontTransparent(bool transparent) {
    fontTransparent_ = transparent;
    if (backing_.exists()) SetBkMode(backing_.dc(), transparent ? TRANSPARENT : OPAQUE);
    if (IsOpen()) SetBkMode(GetDC(hwnd_), transparent ? TRANSPARENT : OPAQUE);
}

HDC frmCanvas::hDC() const {
    if (autoRedraw_ && backing_.exists()) return backing_.dc();
    return IsOpen() ? GetDC(hwnd_) : nullptr;
}

void frmCanvas::Refresh() {
    if (!IsOpen()) return;
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
}

LRESULT frmCanvas::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return Form_Load() ? 0 : -1;
    case WM_ERASEBKGND:
        if (autoRedraw_) return 1;  // the bitmap covers everything
        {
            RECT client{};
            GetClientRect(hwnd_, &client);
            UniqueBrush brush(CreateSolidBrush(kBackColor));
            FillRect(reinterpret_cast<HDC>(wParam), &client, brush.get());
        }
        return 1;
    case WM_PAINT:
        Form_Paint();
        return 0;
    case WM_SIZE:
        Form_Resize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_DESTROY:
        Form_Unload();
        return 0;
    }
    return Default(message, wParam, lParam);
}

bool frmCanvas::Form_Load() {
    font_ = MakeFont(DefaultGuiFontSpec());
    autoRedraw_ = false;
    fontTransparent_ = true;
    HDC dc = GetDC(hwnd_);
    if (!dc || !font_->Handle()) return false;
    ApplyDrawingState(dc);
    return true;
}

void frmCanvas::Form_Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    if (autoRedraw_) backing_.Paint(dc, ps.rcPaint);
    EndPaint(hwnd_, &ps);
}

void frmCanvas::Form_Resize(int width, int height) {
    // A bitmap that cannot grow keeps its picture; the next run says so.
    if (autoRedraw_ && width > 0 && height > 0) backing_.Cover(width, height, kBackColor);
}

void frmCanvas::Form_Unload() {
    // The next Show starts over with the initial properties.
    SelectObject(GetDC(hwnd_), GetStockObject(SYSTEM_FONT));
    backing_.Release();
    font_ = MakeFont(DefaultGuiFontSpec());
    autoRedraw_ = false;
    fontTransparent_ = true;
}

void frmCanvas::ApplyDrawingState(HDC dc) {
    SelectObject(dc, font_->Handle());
    SetBkColor(dc, kBackColor);
    SetBkMode(dc, fontTransparent_ ? TRANSPARENT : OPAQUE);
    // Realise the font now, so its cost is not paid by the first timed call.
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
}
