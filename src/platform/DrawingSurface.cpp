// Surfaces text can be drawn on besides the canvas's own bitmap: a bitmap of a kind and size in a memory DC, or a window's DC.
#include "platform/DrawingSurface.h"

#include <algorithm>

std::unique_ptr<DrawingSurface> DrawingSurface::Bitmap(int bitsPerPixel, int width, int height) {
    std::unique_ptr<DrawingSurface> surface(new DrawingSurface);
    WindowDC screen(nullptr);
    if (bitsPerPixel) {
        BITMAPINFO format{};
        format.bmiHeader = {sizeof format.bmiHeader, width, -height, 1, static_cast<WORD>(bitsPerPixel), BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        surface->bitmap_.reset(CreateDIBSection(screen.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    } else {
        surface->bitmap_.reset(CreateCompatibleBitmap(screen.get(), width, height));
    }
    surface->memory_.reset(CreateCompatibleDC(screen.get()));
    if (!surface->bitmap_ || !surface->memory_) return nullptr;
    surface->dc_ = surface->memory_.get();
    surface->previous_ = SelectObject(surface->dc_, surface->bitmap_.get());
    surface->width_ = width, surface->height_ = height;
    return surface;
}

std::unique_ptr<DrawingSurface> DrawingSurface::Window(HWND window, int width, int height) {
    RECT frame{0, 0, width, height}, client{};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    AdjustWindowRectEx(&frame, style, FALSE, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The system keeps a window within what it can track, about the screen's size.
    if (!GetClientRect(window, &client) || client.right != width || client.bottom != height) return nullptr;
    std::unique_ptr<DrawingSurface> surface(new DrawingSurface);
    surface->window_ = std::make_unique<WindowDC>(window);
    surface->shown_ = window;
    surface->dc_ = surface->window_->get();
    surface->width_ = width, surface->height_ = height;
    return surface->dc_ ? std::move(surface) : nullptr;
}

DrawingSurface::~DrawingSurface() {
    // The bitmap and font go once no DC holds them.
    if (dc_) SelectObject(dc_, GetStockObject(SYSTEM_FONT));
    if (previous_) SelectObject(dc_, previous_);
}

int DrawingSurface::ShownWidth() const {
    POINT origin{0, 0};
    if (!shown_ || !ClientToScreen(shown_, &origin)) return width_;
    return std::max(0, std::min(width_, GetSystemMetrics(SM_CXSCREEN) - static_cast<int>(origin.x)));
}

void DrawingSurface::Clear(COLORREF background) {
    RECT all{0, 0, width_, height_};
    UniqueBrush brush(CreateSolidBrush(background));
    FillRect(dc_, &all, brush.get());
}

std::vector<std::uint32_t> ReadPixels(HDC dc, int width, int height) {
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueBitmap copy(CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueDC memory(CreateCompatibleDC(dc));
    if (!copy || !memory) return {};
    SelectGuard select(memory.get(), copy.get());
    if (!BitBlt(memory.get(), 0, 0, width, height, dc, 0, 0, SRCCOPY)) return {};
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> out(pixels, pixels + static_cast<std::size_t>(width) * height);
    for (std::uint32_t& p : out) p &= 0xFFFFFF;  // the unused byte
    return out;
}
