#include "platform/BackingBitmap.h"

#include <algorithm>

bool BackingBitmap::Cover(int width, int height, COLORREF background) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (bitmap_ && width <= width_ && height <= height_) return true;

    WindowDC screen(nullptr);
    if (!dc_) dc_.reset(CreateCompatibleDC(screen.get()));
    const int newWidth = std::max(width, width_);
    const int newHeight = std::max(height, height_);
    UniqueBitmap grown(CreateCompatibleBitmap(screen.get(), newWidth, newHeight));
    UniqueDC scratch(CreateCompatibleDC(screen.get()));
    // On failure the picture stays as it was, and the caller knows.
    if (!dc_ || !grown || !scratch) return false;

    // Fill the new picture, then carry the old one over.
    {
        SelectGuard target(scratch.get(), grown.get());
        RECT all{0, 0, newWidth, newHeight};
        UniqueBrush brush(CreateSolidBrush(background));
        FillRect(scratch.get(), &all, brush.get());
        if (bitmap_) BitBlt(scratch.get(), 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY);
    }
    // Selecting the new bitmap lets go of the old one, which goes next.
    SelectObject(dc_.get(), grown.get());
    bitmap_ = std::move(grown);
    width_ = newWidth;
    height_ = newHeight;
    return true;
}

void BackingBitmap::Clear(COLORREF background) {
    if (!bitmap_) return;
    RECT all{0, 0, width_, height_};
    UniqueBrush brush(CreateSolidBrush(background));
    FillRect(dc_.get(), &all, brush.get());
}

void BackingBitmap::Paint(HDC target, const RECT& area) const {
    if (!bitmap_) return;
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_.get(), area.left,
           area.top, SRCCOPY);
}

void BackingBitmap::Release() {
    dc_.reset();
    bitmap_.reset();
    width_ = height_ = 0;
}
